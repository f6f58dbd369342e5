#include "datalog/LogReader.h"

#include "datalog/CsvText.h"
#include "datalog/LogWriter.h"

#include <QFile>
#include <cmath>

namespace LogReader {

namespace {

// The column of each live channel, of the mark and of the note (-1 when absent).
struct Columns {
    QList<int> channels;
    int mark = -1;
    int note = -1;
};

QString ChannelName(const QString& header)
{
    const qsizetype bracket = header.indexOf(QLatin1String(" ["));
    return (bracket < 0 ? header : header.left(bracket)).trimmed();
}

bool ReadHeader(const QStringList& header, Columns& columns, QString& error)
{
    if (header.size() < 2 || header.at(0) != LogColumns::Elapsed || header.at(1) != LogColumns::Time) {
        error = QStringLiteral("the first line is not the header of a data log");
        return false;
    }
    QStringList names;
    for (const QString& field : header)
        names << ChannelName(field);
    QStringList missing;
    for (const TLogChannel& channel : LiveChannels()) {
        const int column = int(names.indexOf(channel.name));
        if (column < 0)
            missing << channel.name;
        columns.channels << column;
    }
    if (!missing.isEmpty()) {
        error = QStringLiteral("the header lacks the columns %1").arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    columns.mark = int(header.indexOf(LogColumns::Mark));
    columns.note = int(header.indexOf(LogColumns::Note));
    return true;
}

// The first row's time stamp is read in full; the others, which only the
// reader of the file looks at, are checked for the shape "yyyy-MM-ddTHH:mm:ss".
bool LooksLikeTimeStamp(const QString& text)
{
    static const QString shape = QStringLiteral("dddd-dd-ddTdd:dd:dd");
    if (text.size() < shape.size())
        return false;
    for (qsizetype i = 0; i < shape.size(); ++i) {
        const bool digit = text.at(i).isDigit();
        if (shape.at(i) == u'd' ? !digit : text.at(i) != shape.at(i))
            return false;
    }
    return true;
}

bool Number(const QString& text, double& value)
{
    bool ok = false;
    value = text.toDouble(&ok);
    return ok && std::isfinite(value);
}

} // namespace

bool Read(const QString& fileName, TLogData& data, QString& error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    CsvText::TReader reader(file.readAll());
    QStringList fields;
    Columns columns;
    if (reader.AtEnd()) {
        error = QStringLiteral("the file is empty");
        return false;
    }
    if (!reader.Next(fields, error) || !ReadHeader(fields, columns, error))
        return false;

    const qsizetype width = fields.size();
    data.samples.Clear();
    data.start = QDateTime();
    std::vector<double> values(static_cast<size_t>(LiveChannel::Count));
    while (!reader.AtEnd()) {
        if (!reader.Next(fields, error)) {
            error = QStringLiteral("line %1: %2").arg(reader.Line()).arg(error);
            return false;
        }
        if (fields.size() == 1 && fields.first().isEmpty())
            continue; // a blank line, as at the end of a file
        const auto fail = [&](const QString& problem) {
            error = QStringLiteral("line %1: %2").arg(reader.Line()).arg(problem);
            return false;
        };
        if (fields.size() != width)
            return fail(QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(width));
        double elapsed = 0;
        if (!Number(fields.at(0), elapsed))
            return fail(QStringLiteral("the elapsed time '%1' is not a number").arg(fields.at(0)));
        if (!data.samples.IsEmpty() && elapsed < data.samples.LastTime())
            return fail(QStringLiteral("the elapsed time goes back"));
        if (!LooksLikeTimeStamp(fields.at(1)))
            return fail(QStringLiteral("the time stamp '%1' is not an ISO 8601 time").arg(fields.at(1)));
        for (int channel = 0; channel < LiveChannel::Count; ++channel) {
            const QString& text = fields.at(columns.channels.at(channel));
            if (!Number(text, values[size_t(channel)]))
                return fail(QStringLiteral("the value '%1' of %2 is not a number")
                                .arg(text, LiveChannels().at(channel).name));
        }
        if (data.samples.IsEmpty()) {
            data.start = QDateTime::fromString(fields.at(1), Qt::ISODateWithMs);
            if (!data.start.isValid())
                return fail(QStringLiteral("the time stamp '%1' is not an ISO 8601 time").arg(fields.at(1)));
        }
        data.samples.Append(elapsed, values.data());
        if (columns.mark >= 0 && !fields.at(columns.mark).isEmpty())
            data.samples.AddMarker(elapsed, columns.note >= 0 ? fields.at(columns.note) : QString());
    }
    return true;
}

} // namespace LogReader
