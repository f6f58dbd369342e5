#pragma once

// The toolkit's own texts (the standard buttons of message boxes and dialogs,
// Yes, No, OK, Cancel, and the file dialogs) in the program's language: Qt's
// translation of the language's locale, from Qt's translations folder, is
// installed while the language is chosen and replaced on every switch.

#include <QString>
#include <memory>

class QTranslator;

class TToolkitTranslation {
public:
    explicit TToolkitTranslation(QString folder = DefaultFolder());
    ~TToolkitTranslation();
    TToolkitTranslation(const TToolkitTranslation&) = delete;
    TToolkitTranslation& operator=(const TToolkitTranslation&) = delete;

    // Qt's translations folder.
    static QString DefaultFolder();

    // Installs Qt's translation for the locale ("de", "ru_RU") in place of the
    // one installed before. An empty name, or a locale without a translation
    // (English among them), leaves the toolkit's English texts; answers whether
    // a translation is installed.
    bool Switch(const QString& localeName);

private:
    void Remove();

    QString m_folder;
    std::unique_ptr<QTranslator> m_translator;
};
