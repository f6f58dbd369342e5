#pragma once

// A small set of named per-user settings, kept in memory as two name=value lists
// (text settings and integer settings, each line's value its default) and
// mirrored to the user's settings store. The key path KeyName, such as
// "software\orv srl\TZR582", names a settings file in the user's configuration
// folder: a leading "software" is dropped and the rest becomes the file's path,
// here "orv srl/TZR582.conf". Integer settings are stored as integers, text
// settings as strings; a stored value of the wrong type counts as missing.
//
// Values change in memory only; LoadData and SaveData move them between the
// lists and the store, and destruction saves them.

#include <QObject>
#include <QStringList>
#include <functional>

class TOrvRegistryData : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString KeyName READ KeyName WRITE SetKeyName)
    Q_PROPERTY(QStringList StringDataList READ StringDataList WRITE SetStringDataList)
    Q_PROPERTY(QStringList IntegerDataList READ IntegerDataList WRITE SetIntegerDataList)

public:
    // The kinds of GetCount and SetStringList.
    enum { StringKind = 1, IntegerKind = 2 };

    explicit TOrvRegistryData(QObject* parent = nullptr);
    // Saves every setting (SaveData), ignoring the result.
    ~TOrvRegistryData() override;

    // Asked for the value of a setting the store lacks; defaultValue starts as
    // the list's value.
    std::function<void(QObject* Sender, const QString& ValueName, int& defaultValue)> OnMissingIntegerValue;
    std::function<void(QObject* Sender, const QString& ValueName, QString& defaultValue)>
        OnMissingStringValue;

    QString KeyName() const { return m_keyName; }
    void SetKeyName(const QString& keyName) { m_keyName = keyName; }
    QStringList StringDataList() const { return m_stringData; }
    void SetStringDataList(QStringList lines) { SetStringList(StringKind, lines); }
    QStringList IntegerDataList() const { return m_integerData; }
    void SetIntegerDataList(QStringList lines) { SetStringList(IntegerKind, lines); }

    // The settings file KeyName names; empty when KeyName names none.
    QString SettingsFileName() const;

    // Reads every listed setting from the store. A setting the store lacks, or
    // holds with the wrong type, takes the missing-value path and makes the result
    // false. False, with the lists unchanged, when there is no key name or the
    // store cannot be read.
    bool LoadData();
    // Writes every listed setting. An integer setting whose text is not a number
    // is skipped and makes the result false; so does a store that cannot be written.
    bool SaveData();

    // Empty when not listed.
    QString GetStringData(const QString& name) const;
    // 0 when not listed or not a number.
    int GetIntData(const QString& name) const;
    // Replaces the value, or appends name=value when the name is not listed.
    // An empty value removes a listed name's line.
    void SetStringData(const QString& name, const QString& value);
    void SetIntData(const QString& name, int value);
    // The number of text (StringKind) or integer (IntegerKind) settings; 0 for any other kind.
    int GetCount(int kind) const;
    // Removes the setting's line and, when fromRegistry is set, its stored value
    // (without creating the settings file when there is none).
    void DeleteStringValue(const QString& name, bool fromRegistry);
    void DeleteIntegerValue(const QString& name, bool fromRegistry);
    // Cleans lines in place (drops lines without "=", trims the others) and makes
    // them the text (StringKind) or integer (IntegerKind) settings; in the integer
    // settings a value that is not a number becomes "0".
    void SetStringList(int kind, QStringList& lines);

    int DoMissingIntegerValue(const QString& name);
    QString DoMissingStringValue(const QString& name);

private:
    void DeleteValue(QStringList& list, const QString& name, bool fromRegistry);

    QString m_keyName;
    QStringList m_stringData;
    QStringList m_integerData;
};
