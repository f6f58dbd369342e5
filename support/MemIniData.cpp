#include "support/MemIniData.h"

#include "support/AtomicFile.h"
#include "support/TextValues.h"

namespace {

// Splits 8-bit text into lines ending at CR LF, CR or LF; a zero byte ends the
// text. A UTF-8 byte-order mark (which some editors put first) is not text.
QStringList SplitLines(const QByteArray& bytes)
{
    qsizetype end = bytes.indexOf('\0');
    if (end < 0)
        end = bytes.size();
    QStringList lines;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(QString::fromLatin1(bytes.constData() + start, i - start));
        if (c == '\r' && i + 1 < end && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        lines.append(QString::fromLatin1(bytes.constData() + start, end - start));
    return lines;
}

// The name of a line: the text before its first "="; a line without "=" has none.
bool LineNameIs(const QString& line, const QString& name, Qt::CaseSensitivity cs)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals >= 0 && QStringView(line).left(equals).compare(name, cs) == 0;
}

} // namespace

TMemIniData::TMemIniData(TPlainBuffer& buffer) : m_buffer(buffer)
{
    LoadValues();
}

void TMemIniData::LoadValues()
{
    if (m_buffer.IsNull())
        Clear();
    else
        SetStrings(SplitLines(m_buffer.Content()));
}

QString TMemIniData::ReadString(const QString& section, const QString& ident,
                                const QString& defaultValue) const
{
    const int s = FindSection(section);
    const int l = s < 0 ? -1 : FindLine(m_sections[s], ident);
    if (l < 0)
        return defaultValue;
    const QString& line = m_sections[s].lines.at(l);
    return line.mid(line.indexOf(u'=') + 1);
}

void TMemIniData::WriteString(const QString& section, const QString& ident, const QString& value)
{
    const int s = FindSection(section);
    TSection& target = s < 0 ? AddSection(section) : m_sections[s];
    const QString line = ident + u'=' + value;
    const int l = FindLine(target, ident);
    if (l < 0)
        target.lines.append(line);
    else
        target.lines[l] = line;
}

void TMemIniData::ReadSection(const QString& section, QStringList& names) const
{
    names.clear();
    const int s = FindSection(section);
    if (s < 0)
        return;
    for (const QString& line : m_sections[s].lines) {
        const qsizetype equals = line.indexOf(u'=');
        names.append(equals < 0 ? QString() : line.left(equals));
    }
}

void TMemIniData::ReadSections(QStringList& sections) const
{
    sections.clear();
    for (const TSection& section : m_sections)
        sections.append(section.name);
}

void TMemIniData::ReadSectionValues(const QString& section, QStringList& lines) const
{
    const int s = FindSection(section);
    lines = s < 0 ? QStringList() : m_sections[s].lines;
}

QList<QPair<QString, QString>> TMemIniData::AllLines() const
{
    QList<QPair<QString, QString>> lines;
    for (const TSection& section : m_sections) {
        for (const QString& line : section.lines)
            lines.append({section.name, line});
    }
    return lines;
}

void TMemIniData::EraseSection(const QString& section)
{
    const int s = FindSection(section);
    if (s >= 0)
        m_sections.erase(m_sections.begin() + s);
}

void TMemIniData::DeleteKey(const QString& section, const QString& ident)
{
    const int s = FindSection(section);
    const int l = s < 0 ? -1 : FindLine(m_sections[s], ident);
    if (l >= 0)
        m_sections[s].lines.removeAt(l);
}

void TMemIniData::UpdateFile()
{
    m_buffer = TPlainBuffer(Text(), true);
}

void TMemIniData::Clear()
{
    m_sections.clear();
}

void TMemIniData::GetStrings(QStringList& lines) const
{
    for (const TSection& section : m_sections) {
        lines.append(u'[' + section.name + u']');
        lines.append(section.lines);
        lines.append(QString());
    }
}

void TMemIniData::SetStrings(const QStringList& lines)
{
    Clear();
    TSection* current = nullptr;
    for (const QString& rawLine : lines) {
        const QString line = TrimBlanks(rawLine);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            current = &AddSection(TrimBlanks(line.mid(1, line.size() - 2)));
            continue;
        }
        if (!current)
            continue;
        // Blanks before the first "=" go, those after it stay part of the value.
        const qsizetype equals = line.indexOf(u'=');
        current->lines.append(equals < 0 ? line : TrimBlanks(line.left(equals)) + line.mid(equals));
    }
}

bool TMemIniData::SaveToFile(const QString& fileName) const
{
    return AtomicFile::Write(fileName, Text());
}

void TMemIniData::SetCaseSensitive(bool caseSensitive)
{
    m_case = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

TMemIniData::TSection& TMemIniData::AddSection(const QString& name)
{
    m_sections.push_back(TSection{name, {}});
    return m_sections.back();
}

int TMemIniData::FindSection(const QString& name) const
{
    for (int s = static_cast<int>(m_sections.size()) - 1; s >= 0; --s) {
        if (m_sections[s].name.compare(name, m_case) == 0)
            return s;
    }
    return -1;
}

int TMemIniData::FindLine(const TSection& section, const QString& ident) const
{
    for (int l = static_cast<int>(section.lines.size()) - 1; l >= 0; --l) {
        if (LineNameIs(section.lines.at(l), ident, m_case))
            return l;
    }
    return -1;
}

QByteArray TMemIniData::Text() const
{
    QStringList lines;
    GetStrings(lines);
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    return text.toLatin1();
}
