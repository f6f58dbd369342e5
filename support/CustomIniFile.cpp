#include "support/CustomIniFile.h"

#include "support/NumberText.h"
#include "support/TextValues.h"

int TCustomIniFile::ReadInteger(const QString& section, const QString& ident, int defaultValue) const
{
    return IntegerTextOr(ReadString(section, ident, QString()), defaultValue);
}

void TCustomIniFile::WriteInteger(const QString& section, const QString& ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString& section, const QString& ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& section, const QString& ident, bool value)
{
    WriteInteger(section, ident, value ? 1 : 0);
}

double TCustomIniFile::ReadFloat(const QString& section, const QString& ident, double defaultValue) const
{
    double value = defaultValue;
    return ParseNumberText(ReadString(section, ident, QString()), value) ? value : defaultValue;
}

void TCustomIniFile::WriteFloat(const QString& section, const QString& ident, double value)
{
    WriteString(section, ident, GeneralNumberText(value));
}

bool TCustomIniFile::SectionExists(const QString& section) const
{
    QStringList sections;
    ReadSections(sections);
    return sections.contains(section, Qt::CaseInsensitive);
}

bool TCustomIniFile::ValueExists(const QString& section, const QString& ident) const
{
    QStringList names;
    ReadSection(section, names);
    return names.contains(ident, Qt::CaseInsensitive);
}
