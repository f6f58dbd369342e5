// Where the program finds its files: beside the executable in a build tree,
// in PREFIX/lib/tzr582 and PREFIX/share/tzr582 in an installed tree.

#include "support/ProgramFolders.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFolders : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void foldersOfTheTree_data();
    void foldersOfTheTree();
};

void TestProgramFolders::foldersOfTheTree_data()
{
    QTest::addColumn<QStringList>("folders"); // made in the tree
    QTest::addColumn<QString>("executable");  // the executable's folder, in the tree
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("data");

    QTest::newRow("build tree") << QStringList{"build/bin"} << "build/bin" << false << "build/bin/"
                                << "build/bin/";
    QTest::newRow("build tree, folder named with a separator")
        << QStringList{"build/bin"} << "build/bin/" << false << "build/bin/"
        << "build/bin/";
    QTest::newRow("installed tree") << QStringList{"usr/bin", "usr/lib/tzr582", "usr/share/tzr582"}
                                    << "usr/bin" << true << "usr/lib/tzr582/"
                                    << "usr/share/tzr582/";
    QTest::newRow("installed tree, found through the executable's own folder name")
        << QStringList{"opt/bin", "opt/lib/tzr582", "opt/share/tzr582"} << "opt/bin/../bin" << true
        << "opt/lib/tzr582/"
        << "opt/share/tzr582/";
    // Another program's data in share/ does not make a build tree an installed one.
    QTest::newRow("foreign share folder")
        << QStringList{"p/bin", "p/share/other"} << "p/bin" << false << "p/bin/"
        << "p/bin/";
}

void TestProgramFolders::foldersOfTheTree()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, executable);
    QFETCH(bool, installed);
    QFETCH(QString, library);
    QFETCH(QString, data);

    QTemporaryDir tree;
    for (const QString& folder : folders)
        QVERIFY(QDir(tree.path()).mkpath(folder));
    const QString root = tree.path() + '/';
    const TProgramFolders found(root + executable);

    QCOMPARE(found.IsInstalled(), installed);
    QCOMPARE(QDir::cleanPath(found.Library()) + '/', root + library);
    QCOMPARE(QDir::cleanPath(found.Data()) + '/', root + data);
    QVERIFY(found.Library().endsWith('/'));
    QVERIFY(found.Data().endsWith('/'));
    // Configuration files go where the user may write: beside a build tree's
    // executable, in the user's documents for an installed program.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(found.Configurations(), installed ? documents + "/TZR582/Configurazioni"
                                               : QDir::cleanPath(root + executable) + "/Configurazioni");
}

QTEST_GUILESS_MAIN(TestProgramFolders)
#include "tst_programfolders.moc"
