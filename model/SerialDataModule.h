#pragma once

// TSerialDataModule is the configurator's face towards the control unit: it
// owns the parameter catalogue (77 data items), the connection component, the
// refresher and the translator, and runs the operations a fitter runs on a unit
// (connect, files, backups, firmware). The rules that tie items together are
// TParameterRules. Its operations are carried out by parts it composes, one per
// concern: TUnitConnector (connect, identity), TConfigurationFiles (save, check,
// compare), TConfigurationLoad (a file into the unit), TSafetyNet (backups
// around risky operations) and TFirmwareUpdate. It knows no window: what the
// configuration window must show it announces through signals, and it reaches
// the user through TUserPrompts.

#include "backup/BackupStore.h"
#include "backup/ConfigCompare.h"
#include "model/LoadReport.h"
#include "support/TextIndex.h"
#include "support/UserPrompts.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class TConfigurationFiles;
class TConfigurationLoad;
class TDataRefresher;
class TFirmwareUpdate;
class TOrvConnection;
class TOrvNumber;
class TOrvPacketData;
class TOrvSerialData;
class TParameterRules;
class TPlainBuffer;
class TSafetyNet;
class TTranslator;
class TUnitConnector;

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
    TBackupStore& Backups();
    // The vehicle note recorded with the backups made from now on.
    QString VehicleNote() const;
    void SetVehicleNote(const QString& note);
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
    bool OldFirmware() const;

    // The identity record read from the unit by the last connect or reprogramming.
    const std::array<uint8_t, 8>& Identity() const;

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
    // The parts the module is made of reach its items, prompts, texts and
    // shared flags directly.
    friend class TParameterRules;
    friend class TUnitConnector;
    friend class TConfigurationFiles;
    friend class TConfigurationLoad;
    friend class TSafetyNet;
    friend class TFirmwareUpdate;

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
    void WatchEdits();
    void OnLinkMessage(int message, uintptr_t wParam, intptr_t lParam);

    TOrvConnection* m_connection = nullptr;
    TDataRefresher* m_refresher = nullptr;
    TTranslator* m_translator = nullptr;
    QHash<QString, TOrvSerialData*> m_items;
    QList<TOrvSerialData*> m_itemOrder;
    std::unique_ptr<TUserPrompts> m_quietPrompts;
    std::unique_ptr<TParameterRules> m_rules;
    TUserPrompts* m_prompts = nullptr;
    QStringList m_failedFollowOns;
    // An operation (a load, an erase, the connect's correction) is writing: its
    // writes are no edits, and the load keeps them for its read-back.
    bool m_loading = false;
    int m_writeDepth = 0;
    bool m_rulesSuspended = false;
    QHash<int, QString> m_texts;
    // The parts, by concern; plain objects, so that the module's children stay
    // its items and link components.
    std::unique_ptr<TUnitConnector> m_connector;
    std::unique_ptr<TConfigurationFiles> m_files;
    std::unique_ptr<TConfigurationLoad> m_load;
    std::unique_ptr<TSafetyNet> m_safetyNet;
    std::unique_ptr<TFirmwareUpdate> m_firmware;
};
