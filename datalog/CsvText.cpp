#include "datalog/CsvText.h"

namespace CsvText {

namespace {

QString Quoted(const QString& field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\r') && !field.contains(u'\n'))
        return field;
    QString quoted = field;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray Record(const QStringList& fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString& field : fields)
        quoted << Quoted(field);
    return quoted.join(u',').toUtf8() + "\r\n";
}

TReader::TReader(const QByteArray& text) : m_text(QString::fromUtf8(text))
{
    if (m_text.startsWith(QChar(0xFEFF))) // a byte-order mark some editors add
        m_at = 1;
}

bool TReader::AtEnd() const
{
    return m_at >= m_text.size();
}

bool TReader::Next(QStringList& fields, QString& error)
{
    fields.clear();
    m_recordLine = m_line;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    while (m_at < m_text.size()) {
        const QChar c = m_text.at(m_at++);
        if (quoted) {
            if (c == u'"') {
                if (m_at < m_text.size() && m_text.at(m_at) == u'"') {
                    field += u'"';
                    ++m_at;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++m_line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && m_at < m_text.size() && m_text.at(m_at) == u'\n')
                ++m_at;
            ++m_line;
            fields << field;
            return true;
        } else if (wasQuoted) {
            error = QStringLiteral("text after the closing quote of a field");
            return false;
        } else {
            field += c;
        }
    }
    if (quoted) {
        error = QStringLiteral("a quoted field is not closed");
        return false;
    }
    fields << field;
    return true;
}

} // namespace CsvText
