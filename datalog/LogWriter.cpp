#include "datalog/LogWriter.h"

#include "datalog/CsvText.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// Values as the unit's items give them: up to 15 significant digits, a point
// as decimal separator.
QString NumberText(double value)
{
    return QString::number(value, 'g', 15);
}

QString TimeStamp(const QDateTime& time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

} // namespace

QString LogColumns::ChannelHeader(const TLogChannel& channel)
{
    return channel.unit.isEmpty() ? channel.name : QStringLiteral("%1 [%2]").arg(channel.name, channel.unit);
}

QString TLogWriter::DefaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("TZR582 logs"));
}

QString TLogWriter::FileNameFor(const QDateTime& start)
{
    return start.toString(QStringLiteral("'TZR582 'yyyy-MM-dd HH-mm-ss'.csv'"));
}

bool TLogWriter::Open(const QString& fileName, const QList<TLogChannel>& channels, QString& error)
{
    Close();
    m_file.setFileName(fileName);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        error = m_file.errorString();
        return false;
    }
    QStringList header = {LogColumns::Elapsed, LogColumns::Time};
    for (const TLogChannel& channel : channels)
        header << LogColumns::ChannelHeader(channel);
    header << LogColumns::Mark << LogColumns::Note;
    m_channels = int(channels.size());
    m_rows = 0;
    const QByteArray record = CsvText::Record(header);
    if (m_file.write(record) != record.size()) {
        error = m_file.errorString();
        Close();
        return false;
    }
    return true;
}

bool TLogWriter::Write(const TLogSample& sample, bool marked, const QString& note)
{
    if (!IsOpen())
        return false;
    if (m_rows == 0)
        m_originMs = sample.monotonicMs;
    QStringList fields = {QString::number((sample.monotonicMs - m_originMs) / 1000.0, 'f', 3),
                          TimeStamp(sample.time)};
    for (int channel = 0; channel < m_channels; ++channel)
        fields << (channel < sample.values.size() ? NumberText(sample.values.at(channel)) : QString());
    fields << (marked ? QStringLiteral("1") : QString()) << note;
    const QByteArray record = CsvText::Record(fields);
    if (m_file.write(record) != record.size()) {
        Close();
        return false;
    }
    ++m_rows;
    return true;
}

void TLogWriter::Close()
{
    if (m_file.isOpen())
        m_file.close();
}
