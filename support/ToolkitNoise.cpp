#include "support/ToolkitNoise.h"

#include <QString>
#include <QtGlobal>

namespace ToolkitNoise {

namespace {

// The handler messages went to before; qInstallMessageHandler gives the default
// handler when none was installed.
QtMessageHandler& Previous()
{
    static QtMessageHandler previous = nullptr;
    return previous;
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    Previous()(type, context, message);
}

} // namespace

void SilenceOffscreenSizeHints()
{
    if (!Previous())
        Previous() = qInstallMessageHandler(Handle);
}

} // namespace ToolkitNoise
