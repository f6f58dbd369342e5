#include "app/cli/PlotRequest.h"

#include "datalog/LiveChannels.h"
#include "items/OrvSerialData.h"

#include <algorithm>

namespace {

// The sides of a picture of a log, in pixels.
constexpr int MinPictureSide = 200;
constexpr int MaxPictureSide = 8000;

} // namespace

TPlotRequest::TPlotRequest(const TParsedCommand& command) : m_command(command) {}

bool TPlotRequest::Read(QString& error)
{
    m_pngFile = m_command.options.value(QStringLiteral("png"));
    if (m_pngFile.isEmpty()) {
        error = QStringLiteral("missing --png OUT");
        return false;
    }
    return ReadChannels(error) && ReadSpan(error) && ReadSize(error);
}

bool TPlotRequest::ReadChannels(QString& error)
{
    if (!m_command.Has(QStringLiteral("channels")))
        return true;
    const QStringList names = m_command.options.value(QStringLiteral("channels")).split(u',');
    for (const QString& name : names) {
        const auto matches = [&name](const TLogChannel& channel) {
            return channel.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
        };
        const auto found = std::find_if(LiveChannels().cbegin(), LiveChannels().cend(), matches);
        if (found == LiveChannels().cend()) {
            error = QStringLiteral("no channel is called '%1'").arg(name);
            return false;
        }
        m_options.channels << int(found - LiveChannels().cbegin());
    }
    return true;
}

bool TPlotRequest::ReadSpan(QString& error)
{
    for (const auto& [name, value] : {std::pair{QStringLiteral("from"), &m_options.from},
                                      std::pair{QStringLiteral("to"), &m_options.to}}) {
        if (m_command.Has(name) && (!IsFloatValue(m_command.options.value(name), *value) || *value < 0)) {
            error = QStringLiteral("--%1 needs a number of seconds from 0 up").arg(name);
            return false;
        }
    }
    if (m_command.Has(QStringLiteral("to")) && m_options.to <= m_options.from) {
        error = QStringLiteral("--to must come after --from");
        return false;
    }
    return true;
}

bool TPlotRequest::ReadSize(QString& error)
{
    if (!m_command.Has(QStringLiteral("size")))
        return true;
    const QStringList sides = m_command.options.value(QStringLiteral("size")).split(u'x');
    const int width = sides.value(0).toInt();
    const int height = sides.value(1).toInt();
    if (sides.size() != 2 || width < MinPictureSide || height < MinPictureSide || width > MaxPictureSide ||
        height > MaxPictureSide) {
        error = QStringLiteral("--size needs WIDTHxHEIGHT in pixels, from %1 to %2 each")
                    .arg(MinPictureSide)
                    .arg(MaxPictureSide);
        return false;
    }
    m_options.size = QSize(width, height);
    return true;
}
