#pragma once

// TConfigurationFiles holds what the data module does with configuration files
// apart from loading them into the unit: saving the unit's configuration,
// reading and checking a file, telling why a file cannot be used, and comparing
// the unit with a file or two files. It also names the item sets the files are
// about: the commands no file ever writes, and what an ordinary load leaves alone.

#include "backup/ConfigCompare.h"
#include "support/ConfigurationFile.h"

#include <QList>
#include <QString>
#include <QStringList>

class TCustomIniFile;
class TOrvNumber;
class TPlainBuffer;
class TSerialDataModule;

class TConfigurationFiles {
public:
    explicit TConfigurationFiles(TSerialDataModule& module);

    // The commands: written, CHECKUP erases the unit's configuration and
    // RIPROGRAMMAZIONE puts the unit into reprogramming.
    static const QStringList& CommandItems();
    // The commands, and the yellow-wire speeds, which stay as the unit holds
    // them (a restore writes them back).
    static const QStringList& ItemsNotLoaded();
    static TConfigFileStatus ReadFile(const QString& fileName, TPlainBuffer& buffer);

    // Saves with a wait window; false, after telling the user, when the file
    // cannot be replaced or written or an item was left out.
    bool Save(const QString& fileName);
    // Writes the encrypted configuration file; unsaved lists the items left out.
    bool WriteFile(const QString& fileName, QString& unsaved);
    QString FileStatusText(TConfigFileStatus status, const QString& fileName) const;
    QString Problem(const QString& fileName) const;

    QList<TOrvNumber*> LoadableItems() const;
    QList<TOrvNumber*> ConfigurationItems() const;
    QStringList UnreadUnitItems();
    bool CompareUnitWithFile(const QString& fileName, QList<TConfigDifference>& differences,
                             QStringList* unread);
    bool CompareFiles(const QString& left, const QString& right, QList<TConfigDifference>& differences);

private:
    void FileError(int textIndex);
    // Every item's entry; names lists the items left out, one a line.
    void SaveEntries(TCustomIniFile& ini, QString& names);
    // Every compared item's entry but those named in leftOut, as the module
    // holds it, into ini.
    void UnitEntries(TCustomIniFile& ini, const QStringList& leftOut);
    // The configuration items that are not in leftOut.
    QList<TOrvNumber*> ItemsBut(const QStringList& leftOut) const;

    TSerialDataModule& m_module;
};
