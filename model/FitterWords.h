#pragma once

// TFitterWords names an item and its values the way the configuration window
// shows them, in the translator's current language: the caption of its
// setting, a list's entry, Yes or No for a check box over some bits of a flag
// byte, a number in engineering units with its unit. An item no page shows
// keeps its configuration-file name. The compare window, the change history and
// the backups window speak through it.

#include <QList>
#include <QLocale>
#include <QString>

class TOrvNumber;
class TTranslator;
struct TPageSetting;

// One line of what differs between two values of an item, in the fitter's words.
struct TValueWords {
    QString caption;
    QString before;
    QString after;
};

class TFitterWords {
public:
    explicit TFitterWords(TTranslator& translator);

    // The caption the window gives the item's value (or the program gives an
    // engine speed no page shows); its file-key name for the others (a flag
    // byte, an item of no page).
    QString Caption(const TOrvNumber& item) const;
    // A value as the window shows it: a list's entry, the switch kind or the
    // number with its unit; a flag byte as its named options, Yes or No each.
    QString Value(const TOrvNumber& item, double value) const;
    // The number in engineering units with the item's decimals and its unit,
    // in the language's own way of writing numbers.
    QString Number(const TOrvNumber& item, double value) const;
    // What differs between two values: the value's own line when its text
    // differs, and a line for each check box over it (a flag's bit, a
    // threshold) whose state differs. A change no page shows (an unnamed bit of
    // a flag byte) gets the item's own line, with numbers.
    QList<TValueWords> Difference(const TOrvNumber& item, double before, double after) const;
    // The reason of a backup ("connect", "before-load" ...) in words; a reason
    // the program does not know as it stands.
    QString BackupReason(const QString& reason) const;
    // A text of the language store in the current language.
    QString Text(int index, const QString& fallback) const;

private:
    QString SettingText(const TPageSetting& setting, const TOrvNumber& item, double value) const;
    // The setting showing the item's value itself (a number, a list), or null.
    static const TPageSetting* ValueSetting(const TOrvNumber& item);
    static QList<const TPageSetting*> CheckBoxes(const TOrvNumber& item);

    TTranslator& m_translator;
    QLocale m_locale;
};
