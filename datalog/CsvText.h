#pragma once

// Comma-separated values as RFC 4180 has them: records end with CR LF; a field
// that holds a comma, a double quote, CR or LF is enclosed in double quotes,
// with its double quotes doubled.

#include <QByteArray>
#include <QStringList>

namespace CsvText {

// One record, with its CR LF.
QByteArray Record(const QStringList& fields);

// Reads records one at a time from UTF-8 text; a quoted field may span lines.
// Lines may also end with a bare LF.
class TReader {
public:
    explicit TReader(const QByteArray& text);
    bool AtEnd() const;
    // The next record; false with an error when its quotes are unbalanced.
    bool Next(QStringList& fields, QString& error);
    // The line the last record began on, from 1.
    int Line() const { return m_recordLine; }

private:
    QString m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    int m_recordLine = 0;
};

} // namespace CsvText
