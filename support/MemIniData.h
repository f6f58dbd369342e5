#pragma once

// An INI store held entirely in memory, loaded from and written back to a plain
// buffer (support/PlainBuffer.h) instead of a file, so a deciphered configuration
// file is read without a plain copy on disk.
//
// The text is 8-bit (Latin-1, so every byte survives a round trip). Sections and
// lines keep their order; a section or a name that occurs more than once is kept
// as often as it occurs, and lookups and writes reach the last occurrence. Names
// and sections compare without regard to letter case unless CaseSensitive is set.

#include "support/CustomIniFile.h"
#include "support/PlainBuffer.h"

#include <QList>
#include <QPair>
#include <vector>

class TMemIniData : public TCustomIniFile {
public:
    // Loads the store from buffer at once. The store keeps a reference to buffer
    // (it must outlive the store) and replaces it only in UpdateFile.
    explicit TMemIniData(TPlainBuffer& buffer);

    // Reloads the store from the buffer; a null buffer gives an empty store.
    void LoadValues();

    QString ReadString(const QString& section, const QString& ident,
                       const QString& defaultValue) const override;
    // Sets the line ident=value (neither trimmed), adding the section at the end
    // of the store and the line at the end of the section when absent.
    void WriteString(const QString& section, const QString& ident, const QString& value) override;
    // A line without "=" gives an empty name.
    void ReadSection(const QString& section, QStringList& names) const override;
    void ReadSections(QStringList& sections) const override;
    void ReadSectionValues(const QString& section, QStringList& lines) const override;
    // Every line of every section as stored, in order, each with its section's
    // name: the lines of a section that occurs more than once are all there.
    QList<QPair<QString, QString>> AllLines() const;
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& ident) override;
    // Replaces the buffer with the text of GetStrings, each line ended by CR LF,
    // followed by one zero byte that the length word does not count.
    void UpdateFile() override;

    void Clear();
    // Appends the store as INI text lines: per section its "[name]" header, its
    // lines as stored and one empty line. lines is not cleared first.
    void GetStrings(QStringList& lines) const;
    // Replaces the store with the one parsed from lines.
    void SetStrings(const QStringList& lines);
    // Writes the text of UpdateFile (without the zero byte) to a file, replacing
    // it only once it is complete. False when the file cannot be written.
    bool SaveToFile(const QString& fileName) const;

    bool CaseSensitive() const { return m_case == Qt::CaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);

private:
    struct TSection {
        QString name;
        QStringList lines;
    };

    TSection& AddSection(const QString& name);
    int FindSection(const QString& name) const;
    int FindLine(const TSection& section, const QString& ident) const;
    QByteArray Text() const;

    TPlainBuffer& m_buffer;
    std::vector<TSection> m_sections;
    Qt::CaseSensitivity m_case = Qt::CaseInsensitive;
};
