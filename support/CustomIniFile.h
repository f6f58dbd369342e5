#pragma once

// The abstract INI store the data items read their entries from and write them
// to. A store supplies the string-level and section-level operations; the typed
// reads and writes and the existence tests are built on them here.

#include <QString>
#include <QStringList>

class TCustomIniFile {
public:
    virtual ~TCustomIniFile() = default;

    // The value of ident in section, or defaultValue when either is absent.
    virtual QString ReadString(const QString& section, const QString& ident,
                               const QString& defaultValue) const = 0;
    virtual void WriteString(const QString& section, const QString& ident, const QString& value) = 0;
    // Replaces names with the names of the section's lines, in order.
    virtual void ReadSection(const QString& section, QStringList& names) const = 0;
    // Replaces sections with the section names, in order.
    virtual void ReadSections(QStringList& sections) const = 0;
    // Replaces lines with the section's lines as stored (name=value).
    virtual void ReadSectionValues(const QString& section, QStringList& lines) const = 0;
    virtual void EraseSection(const QString& section) = 0;
    virtual void DeleteKey(const QString& section, const QString& ident) = 0;
    // Writes the store back to where it came from.
    virtual void UpdateFile() = 0;

    // Integer text: decimal with an optional sign, or hexadecimal with a "$" or
    // "0x" prefix; anything else gives defaultValue. Written in decimal.
    int ReadInteger(const QString& section, const QString& ident, int defaultValue) const;
    void WriteInteger(const QString& section, const QString& ident, int value);
    // Stored as the integer 1 or 0; any non-zero integer reads as true.
    bool ReadBool(const QString& section, const QString& ident, bool defaultValue) const;
    void WriteBool(const QString& section, const QString& ident, bool value);
    // General number text with the locale's decimal separator (support/NumberText.h).
    double ReadFloat(const QString& section, const QString& ident, double defaultValue) const;
    void WriteFloat(const QString& section, const QString& ident, double value);

    // Whether a section of that name exists, compared without regard to case.
    bool SectionExists(const QString& section) const;
    // Whether ident is among the names of the section's lines, compared without
    // regard to case.
    bool ValueExists(const QString& section, const QString& ident) const;
};
