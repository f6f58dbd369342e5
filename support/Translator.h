#pragma once

// Supplies the user-visible texts in the current language. Texts are asked for
// by index, the same in every language; string i of language k is the string
// with identifier k × MaxStrings + i of the language store
// (support/LanguageStore.h). A missing (absent or empty) string is reported
// through OnMissingString, which may supply a replacement.
//
// DllName names the language library as the program always has, for example
// "<program folder>/Dizionario\Languages.dll"; the texts are read from the
// language store beside it, "<program folder>/Dizionario/Languages.lng".
//
// Lookups return at most MaxStringLength characters, the most a string of the
// language library ever held. The 8-bit forms (names ending in CP) convert to the
// language's code page and hand its character set to whatever shows the text.

#include "support/LanguageStore.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <optional>

class TTranslator : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool IsUnicode READ IsUnicode WRITE SetUnicodeMode)
    Q_PROPERTY(QString DllName READ DllName WRITE SetDllName)

public:
    static constexpr int MaxStringLength = 254;
    // Receives the language's character set, as a font of the 8-bit forms would.
    using TCharsetTarget = std::function<void(int charset)>;

    explicit TTranslator(QObject* parent = nullptr);

    std::function<void(QObject* Sender, int StringId, QString& defaultString)> OnMissingString;

    // Kept for the stored form only: strings are always read as wide text here.
    bool IsUnicode() const { return m_unicode; }
    void SetUnicodeMode(bool on) { m_unicode = on; }
    QString DllName() const { return m_dllName; }
    // Reloads from the new name when a store is loaded and the name changes.
    void SetDllName(const QString& name);
    // The language store file that DllName stands for.
    QString StoreFileName() const { return TLanguageStore::FileNameFor(m_dllName); }

    int LinguaCorrente() const { return m_linguaCorrente; }
    int CodePage() const { return m_codePage; }
    int Charset() const { return m_charset; }
    int MaxLanguages() const { return m_store ? m_store->Languages() : 1; }
    int MaxStrings() const { return m_store ? m_store->StringsPerLanguage() : 1; }
    bool IsLibraryLoaded() const { return m_store.has_value(); }

    // Frees any loaded store and loads the one DllName stands for; the current
    // language is clamped to the languages there are. True when a store was read.
    bool LoadLanguageLibrary();
    // Frees the store; one language of one string remains.
    void FreeLanguageLibrary();

    // Switches to the language (ignored outside 0 .. MaxLanguages - 1) and takes
    // its strings 1 and 2 as character set and code page when they are accepted
    // decimal numbers.
    void SetLinguaCorrente(int language);
    // Kept only when the converter knows the code page.
    void SetCodePage(int codePage);
    // Kept only when it is one of the known font character sets.
    void SetCharset(int charset);

    // String index of the current language, or DoMissingString(index) when
    // missing; cut to its first maxLength characters when maxLength > 0.
    QString GetString(int index, int maxLength = 0);
    // The same, but a missing string gives defaultText and fires no event.
    QString GetString(int index, const QString& defaultText, int maxLength = 0);
    // The 8-bit forms of GetString in the current code page; font, when given,
    // first receives the character set.
    QByteArray GetStringCP(int index, const TCharsetTarget& font = {});
    QByteArray GetStringCP(int index, const QByteArray& defaultText, const TCharsetTarget& font = {});
    // String 0 (the display name) of a language, without switching to it; a
    // language out of range or a missing name gives DoMissingString(0).
    QString GetFirstString(int language);
    // Its 8-bit form; font receives the character set only for a language in range.
    QByteArray GetFirstStringCP(int language, const TCharsetTarget& font = {});
    // GetString with its first "%s" replaced by parameter.
    QString GetComposedString(int index, const QString& parameter, int maxLength = 0);
    QString GetComposedString(int index, const QString& defaultText, const QString& parameter,
                              int maxLength = 0);

    // Writes string index of a language (the current one when negative, which the
    // call then switches to) into the store file, together with the other 15
    // strings of its block of 16 identifiers as they read now, and reloads the
    // store when it was loaded. False when the store cannot be loaded, the index or
    // language is out of range, the store was not intact (writing it back would
    // lose lines) or the file cannot be written; the file is then unchanged.
    bool SetString(int index, const QString& text, int language);

    // Asks OnMissingString for a replacement of a missing string; empty without a handler.
    QString DoMissingString(int index);

private:
    qint64 Identifier(int language, int index) const;
    // The string with that identifier, cut to MaxStringLength; empty when missing.
    QString Lookup(qint64 identifier) const;
    QByteArray ToCodePage(const QString& text) const;

    std::optional<TLanguageStore> m_store;
    bool m_unicode = true;
    QString m_dllName;
    int m_linguaCorrente = 0;
    int m_codePage = 1252;
    int m_charset = 1;
};
