#pragma once

// TSerialDataModule is the configurator's face towards the control unit: it
// owns the parameter catalogue (77 data items), the connection component, the
// refresher and the translator, and runs the operations a fitter runs on a unit
// (connect, files, backups, firmware). The rules that tie items together are
// TParameterRules. It knows no window: what the configuration window must show it
// announces through signals, and it reaches the user through TUserPrompts.

#include "model/LoadReport.h"
#include "backup/BackupStore.h"
#include "backup/ConfigCompare.h"
#include "support/TextIndex.h"
#include "support/UserPrompts.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QString>
#include <array>
#include <functional>
#include <cstdint>
#include <memory>

class TDataRefresher;
class TOrvConnection;
class TOrvNumber;
class TOrvPacketData;
class TOrvSerialData;
class TParameterRules;
class TCustomIniFile;
class TMemIniData;
class TPlainBuffer;
class TTranslator;

class TSerialDataModule : public QObject {
    Q_OBJECT

public:
    // The band lamps of the configuration window.
    enum class Band { Lambda, Tps };
    Q_ENUM(Band)

    explicit TSerialDataModule(QObject* owner = nullptr);
    ~TSerialDataModule() override;

    TOrvConnection* OrvConnection() const { return m_connection; }
    TDataRefresher* DataRefresher() const { return m_refresher; }
    TTranslator* Translator() const { return m_translator; }

    // Items by component name; null when there is no such item (for names
    // that come from outside: a file, the command line, a window).
    TOrvSerialData* Item(const QString& name) const;
    TOrvNumber* Number(const QString& name) const;
    TOrvPacketData* Packet(const QString& name) const;
    // Items the program itself names: the program stops on a name the
    // catalogue lacks (a fault the tests meet at once, never a fitter).
    TOrvSerialData& ItemNamed(const QString& name) const;
    TOrvNumber& NumberNamed(const QString& name) const;
    TOrvPacketData& PacketNamed(const QString& name) const;
    // Every data item, in component order.
    QList<TOrvSerialData*> Items() const;

    // The user seam; the module keeps a quiet default (no messages, "no" to
    // every question) until the program sets its own. Not owned.
    TUserPrompts* Prompts() const { return m_prompts; }
    void SetPrompts(TUserPrompts* prompts);

    // Runs action with the item's limits switched off, then puts them back.
    static void WithLimitsSuspended(TOrvSerialData* item, const std::function<void()>& action);

    // Rules over all items.
    void ApplyIgnitionScale(int ignitionType);
    void ApplyDefaults();
    void ClearLiveValues();
    void NotifyAllItems();

    // Connection. ConnectToUnit answers 0 when connected, 1 when a unit was
    // connected already, or a ConnectFailure.
    enum ConnectFailure {
        NoAnswer = -1,        // the unit does not answer
        OtherUnit = -2,       // a unit of another kind
        NoLinkLibrary = -3,   // the link library cannot be loaded
        LinkLostReading = -4, // connected, then lost while its configuration was read
        InUse = -5            // another program is connected to the unit or holds its port
    };
    int ConnectToUnit(int port, int flags);
    void ReleaseLink(bool refresherOn);
    void ReloadAllItems();
    void ActivatePacketItems();
    bool StopRefresher();
    bool IsUnitConnected() const;

    // Configuration files. SaveConfiguration answers whether every item wrote
    // its entry and the file was written; LoadConfiguration whether the file was
    // read and every entry it holds reached the unit.
    bool SaveConfiguration(const QString& fileName);
    // A load reads and checks the whole file first (support/ConfigurationFile.h)
    // and refuses, before the backup, a file that cannot be used or holds no
    // entry it could write. It backs the unit up, writes the entries, and reads
    // every value back from the unit: an entry the unit does not hold as written
    // counts as not loaded. onlyItems (component names) limits the load to those
    // items, and then writes them even when an ordinary load leaves them alone.
    // What needs the fitter's attention (refused entries, values the unit holds
    // otherwise than the file) is shown; report, when given, receives it all.
    bool LoadConfiguration(const QString& fileName, const QStringList& onlyItems = {},
                           TLoadReport* report = nullptr);

    // --- the safety net -------------------------------------------------------
    // Backups are made before every load, erase and firmware update, and at the
    // first connect of the module's life.
    TBackupStore& Backups() { return m_backups; }
    // The vehicle note recorded with the backups made from now on.
    QString VehicleNote() const { return m_vehicleNote; }
    void SetVehicleNote(const QString& note) { m_vehicleNote = note; }
    // Saves the connected unit's configuration as a backup; the file, or empty
    // when it could not be made.
    QString MakeBackup(const QString& reason);
    // Every backup, each with the number of values that differ from the
    // connected unit: the closest first, then the newest. When the unit did not
    // give every value (unread receives those items), nothing is counted: the
    // backups come newest first, each with differences -1.
    QList<TBackupEntry> BackupsByCloseness(QStringList* unread = nullptr);
    // Writes a backup into the unit as a load does, with every value it holds:
    // also those an ordinary load leaves alone (the commands excepted).
    bool RestoreBackup(const QString& fileName, TLoadReport* report = nullptr);
    // Erases the unit's configuration (after a backup) and reads it again.
    bool EraseConfiguration();
    // The items an ordinary file load writes, in catalogue order.
    QList<TOrvNumber*> LoadableItems() const;
    // The items a restore writes and a comparison compares, in catalogue order:
    // every parameter but the commands (erase, reprogram).
    QList<TOrvNumber*> ConfigurationItems() const;
    // The compared items the connected unit has not given (each is asked once
    // more first); empty without a connection.
    QStringList UnreadUnitItems();
    // The entries that differ, over ConfigurationItems: the connected unit
    // (left) against a file, or two files. False when a file is no configuration
    // that can be read (ConfigurationFileProblem tells why). An item the unit
    // did not give stands as "not read" (text TextIndex::NotRead) on the unit's
    // side, never as the value the module holds; unread receives those items.
    bool CompareUnitWithFile(const QString& fileName, QList<TConfigDifference>& differences,
                             QStringList* unread = nullptr);
    bool CompareFiles(const QString& left, const QString& right, QList<TConfigDifference>& differences);
    // Why a configuration file cannot be used, naming the file; empty when it can.
    QString ConfigurationFileProblem(const QString& fileName) const;
    // The text of a refused file's reason followed by the file's name.
    QString FileStatusText(TConfigFileStatus status, const QString& fileName) const;
    // The notes of a load that need the fitter's attention, grouped, one a line.
    QString LoadReportText(const TLoadReport& report) const;
    // Writes raw values back as they were, without the rules' follow-on writes
    // (the values carry them already); the items are read again afterwards so
    // that scales and limits follow. Used to undo a change.
    bool WriteRawValues(const QList<QPair<TOrvNumber*, int>>& values);

    // Firmware reprogramming from the program's images.
    void ReprogramFirmware();
    // Programs one image (1 boot-loader update, 2 and 3 the two passes of the
    // application), asking before each retry.
    bool ProgramImage(int kind);
    // The deciphered image of that resource identifier.
    bool LoadFirmwareImage(int id, TPlainBuffer& out);
    // Whether the application image for the identified unit (and the boot-loader
    // update when asked) can be read and deciphered.
    bool FirmwareImagesAvailable(bool withBootLoader);
    // Whether the unit identified for reprogramming runs firmware below 140.
    bool OldFirmware() const { return m_oldFirmware; }

    // The identity record read from the unit by the last connect or reprogramming.
    const std::array<uint8_t, 8>& Identity() const { return m_identity; }

    // Writes that a rule made after a successful write and that failed (item
    // names), since the last call; the operation that caused them reports them.
    QStringList TakeFailedFollowOnWrites();

    // Texts shown by the windows and the operations, taken from the translator
    // by RefreshMessageTexts, which lists them.
    void RefreshMessageTexts();
    QString ConnectedText() const { return m_texts.value(TextIndex::UnitConnected); }
    QString NotConnectedText() const { return m_texts.value(TextIndex::UnitNotConnected); }
    QString MessageText(int index) const { return m_texts.value(index); }

signals:
    // The configuration window shows or hides the edits that depend on the
    // option flags.
    void DependentEditsUpdateRequested();
    // The configuration window selects its switch-type entry from TIPO_COMMUTATORE.
    void SwitchComboSyncRequested();
    // Lamp `lit` of the band goes to 100 %, the band's other lamps to 0 %.
    void BandLampChanged(TSerialDataModule::Band band, int lit);
    // Every live value was cleared (no unit connected): every lamp goes off.
    void LiveValuesCleared();
    // A parameter was written by a single edit (not by a load, an erase or an
    // undo), and the rules it started have finished their follow-on writes.
    void ValueEdited(TOrvNumber* item);
    // A single edit was not written because no unit is connected (the item
    // keeps the value in memory when there is no link library, else its own).
    void EditNotWritten(TOrvNumber* item);
    // The parameters were read afresh from the unit or written by a load: what
    // the module holds may differ from before in many items at once.
    void ConfigurationReread();

private:
    friend class TParameterRules;

    void BuildCatalogue();
    void LoadedAll();
    void UseBuiltInTexts();
    int IntOf(const QString& name) const;
    // A rule's write; a failure is kept for TakeFailedFollowOnWrites.
    void WriteInt(const QString& name, int value);
    // Tells the user which writes failed (items by name).
    void ReportFailedWrites(const QStringList& names);
    // A wait window made CurrentWaitWindow, shown at 0 % with the busy cursor.
    std::unique_ptr<TWaitWindow> BeginWait(const QString& caption, const QString& message);
    // Translator string index of the current language.
    QString Text(int index) const;
    void EndWait(std::unique_ptr<TWaitWindow>& wait);
    void FileError(int textIndex);
    // Reads and checks a configuration file (support/ConfigurationFile.h).
    static TConfigFileStatus ReadConfigurationFile(const QString& fileName, TPlainBuffer& buffer);
    // A load or a restore (which writes what an ordinary load leaves alone);
    // shows the report's notes.
    bool Load(const QString& fileName, const QStringList& onlyItems, bool restore, TLoadReport& report);
    bool RunLoad(const QString& fileName, const QStringList& onlyItems, bool restore, TLoadReport& report);
    // The number item that holds the entry key of section; null when none does.
    TOrvNumber* FileItem(const QString& section, const QString& key) const;
    // Takes the file's entries for the items this load writes (and, for their
    // notes, for the ones it leaves alone) into accepted, once each; entries that
    // name no parameter, hold no number or occur more than once are refused.
    // Answers how many entries the load could write.
    int AcceptEntries(const TMemIniData& file, const QStringList& leftAlone, const QStringList& onlyItems,
                      TCustomIniFile& accepted, TLoadReport& report) const;
    // A note on item, with its entry as accepted from the file (or its key).
    TLoadNote Note(TOrvNumber* item, TLoadNote::Reason reason, TCustomIniFile& accepted) const;
    // Adds a refusal for each named item not refused already.
    void Refuse(const QStringList& names, TLoadNote::Reason reason, TCustomIniFile& accepted,
                TLoadReport& report);
    // After the writes: the values the unit holds otherwise than the file, and
    // the values an ordinary load left alone that differ from the unit.
    void NoteDifferences(const QList<TOrvNumber*>& loaded, const QStringList& leftAlone,
                         TCustomIniFile& accepted, TLoadReport& report);
    void ShowLoadReport(const QString& fileName, const TLoadReport& report);
    // The backup before a risky operation: true when it was made, or when the
    // user chose to go on without it.
    bool BackUpBefore(const QString& reason, QString* fileName = nullptr);
    void BackUpAtFirstConnect();
    QString BackupFailureText() const;
    // After a firmware update: offers to write back the backup made before it
    // when the unit differs from it.
    void OfferBackupAfterFirmware(const QString& backupFileName);
    // Every compared item's entry but those named in leftOut, as the module
    // holds it, into ini.
    void UnitEntries(TCustomIniFile& ini, const QStringList& leftOut);
    // Writes the encrypted configuration file; unsaved lists the items left out.
    bool WriteConfigurationFile(const QString& fileName, QString& unsaved);
    // Reads back the items a load wrote; the ones the unit does not hold as
    // written are added to notLoaded.
    void VerifyLoad(QStringList& notLoaded);
    // The reads that follow come from the unit, not from what the link holds of it.
    void AskForFreshReads();
    void WatchEdits();
    // What became of one entry of a load.
    enum class EntryResult { Kept, Written, OutOfRange, NotWritten };
    // One pass over the items of a data group; the items whose entries were
    // kept or written are added to loaded, the written ones to written too.
    void ReadConfigurationPass(TCustomIniFile& store, int group, const QStringList& leftAlone,
                               const QStringList& onlyItems, QList<TOrvNumber*>& loaded,
                               QList<TOrvNumber*>& written, TLoadReport& report);
    // Loads one entry: an absent entry, and a value the unit already holds, are
    // kept; a value the item does not allow is refused.
    EntryResult LoadEntry(TOrvNumber& item, TCustomIniFile& store);
    // Whether a file value is one the item allows: inside the catalogue's range
    // (or an over-speed "off" value) and one the item's bits can hold.
    bool FileValueAllowed(TOrvNumber& item, double value);
    void CorrectOverSpeed();
    // After a load: MIN <= MAX and the actuator positions inside them; the items
    // that had to change are added to adjusted.
    void KeepActuatorPositionsInLimits(QStringList& adjusted);
    // Every item's entry; names lists the items left out, one a line.
    void SaveEntries(TCustomIniFile& ini, QString& names);
    void FirmwareError(int captionIndex, int textIndex);
    void OnLinkMessage(int message, uintptr_t wParam, intptr_t lParam);

    TOrvConnection* m_connection = nullptr;
    TDataRefresher* m_refresher = nullptr;
    TTranslator* m_translator = nullptr;
    QHash<QString, TOrvSerialData*> m_items;
    QList<TOrvSerialData*> m_itemOrder;
    std::unique_ptr<TUserPrompts> m_quietPrompts;
    std::unique_ptr<TParameterRules> m_rules;
    TUserPrompts* m_prompts = nullptr;
    std::array<uint8_t, 8> m_identity{};
    bool m_oldFirmware = false;
    QStringList m_failedFollowOns;
    bool m_loading = false;
    int m_writeDepth = 0;
    QList<TOrvNumber*> m_loadWrites; // the items a load wrote, in order
    bool m_rulesSuspended = false;
    TBackupStore m_backups;
    QString m_vehicleNote;
    bool m_connectBackupDone = false;
    int m_port = 4;
    QHash<int, QString> m_texts;
};
