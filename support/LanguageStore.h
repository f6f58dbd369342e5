#pragma once

// The language store: every user-visible text of the program in every language,
// in a UTF-8 text file that a translator can edit by hand. The program looks for
// it in the program's data folder (beside the executable in a build tree) as
// "Dizionario/Languages.lng".
//
//     languages=2
//     strings=200
//     [0]
//     0=&Italiano
//     1=0
//     2=1252
//     3=Connessione in corso...
//     [1]
//     0=&English
//     3=Connecting...\nPlease wait
//
// The first two lines give the number of languages (1 to 127) and the number of
// strings each language reserves (1 to 65536). Then each language k, from 0 to
// languages - 1, has a "[k]" line followed by its strings, one line each: the
// string's index i (0 to strings - 1), "=", and the text exactly as it follows the
// "=" up to the end of the line, blanks included. In the text "\n" stands for a
// line break, "\r" for a carriage return and "\\" for one backslash; any other
// backslash is kept as it is. Strings may come in any order and may be left out;
// an absent or empty string is a missing one. Blank lines are ignored. Lines end
// with LF or CR LF.
//
// Index i of language k is the string with identifier k × strings + i, the way the
// translator asks for it. Index 0 is the language's display name, index 1 its
// character set number, index 2 its code page number.
//
// A store whose first two lines are missing, malformed or out of range has one
// language of one string and no texts; a string line that cannot be understood
// (no "=", an index that is not a number or out of range, a "[k]" line naming no
// language) is left out. Either way the store is no longer intact, and the
// translator then refuses to write it back, so nothing a translator wrote is lost.
// Written back, a store takes the form above: languages in order, strings by index.

#include <QMap>
#include <QString>

class TLanguageStore {
public:
    static constexpr int MaxLanguageCount = 127;
    static constexpr int MaxStringCount = 65536;

    // The store file that stands for a language library: the same folder and base
    // name with the extension ".lng" (a backslash counts as a folder separator).
    static QString FileNameFor(const QString& libraryName);

    // Reads the store from a file. False, with an empty store, when the file cannot
    // be read; a file that is read gives true even when malformed (see above).
    bool Load(const QString& fileName);
    // Writes the store, replacing the file only once it is complete.
    bool Save(const QString& fileName) const;

    int Languages() const { return m_languages; }
    int StringsPerLanguage() const { return m_strings; }
    // Whether every line of the file was understood.
    bool IsIntact() const { return m_intact; }

    // The string with that identifier; empty when missing.
    QString String(qint64 identifier) const;
    // Sets the string with that identifier; the empty text removes it. Identifiers
    // outside the store's languages are ignored.
    void SetString(qint64 identifier, const QString& text);

private:
    void Parse(const QString& text);
    void SetText(int identifier, const QString& text);

    int m_languages = 1;
    int m_strings = 1;
    bool m_intact = true;
    QMap<int, QString> m_texts;
};
