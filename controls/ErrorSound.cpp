#include "controls/ErrorSound.h"

#include <QApplication>
#include <utility>

namespace {

TErrorSound::Handler& CurrentHandler()
{
    static TErrorSound::Handler handler;
    return handler;
}

} // namespace

void TErrorSound::Play()
{
    if (CurrentHandler())
        CurrentHandler()();
    else
        QApplication::beep();
}

TErrorSound::Handler TErrorSound::SetHandler(Handler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}
