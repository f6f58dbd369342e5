#include "fuzz/FuzzSupport.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

void EnsureFuzzApplication()
{
    static int argc = 1;
    static char name[] = "tzr582-fuzz";
    static char* argv[] = {name, nullptr};
    static const bool testPaths = [] {
        QStandardPaths::setTestModeEnabled(true);
        return true;
    }();
    static QCoreApplication application(argc, argv);
    Q_UNUSED(testPaths);
}

void FuzzCheck(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
