#pragma once

// TSerialDataModule is the single home of everything the configurator knows
// about the control unit: the parameter catalogue (77 data items), the
// connection component, the refresher and the translator, the rules that tie
// items together, and the operations a fitter runs on a unit (connect, files,
// firmware). It knows no window: what the configuration window must show it
// announces through signals, and it reaches the user through TUserPrompts.

#include "support/UserPrompts.h"

#include <QHash>
#include <QObject>
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
class TCustomIniFile;
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

    // Items by component name; null when there is no such item.
    TOrvSerialData* Item(const QString& name) const;
    TOrvNumber* Number(const QString& name) const;
    TOrvPacketData* Packet(const QString& name) const;
    // Every data item, in component order.
    QList<TOrvSerialData*> Items() const;

    // The user seam; the module keeps a quiet default (no messages, "no" to
    // every question) until the program sets its own. Not owned.
    TUserPrompts* Prompts() const { return m_prompts; }
    void SetPrompts(TUserPrompts* prompts);

    // Rules over all items.
    void ApplyIgnitionScale(int ignitionType);
    void ApplyDefaults();
    void ClearLiveValues();
    void NotifyAllItems();

    // Connection. ConnectToUnit answers 0 when done (or refused), -1 when the
    // unit does not answer, -2 for a unit of another kind, -3 when another
    // program is connected to the unit or holds its port (text InUseTextIndex).
    static constexpr int InUseTextIndex = 370;
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
    bool LoadConfiguration(const QString& fileName);

    // Firmware reprogramming from the program's images.
    void ReprogramFirmware();
    // Programs one image (1 boot-loader update, 2 and 3 the two passes of the
    // application), asking before each retry.
    bool ProgramImage(int kind);
    // The deciphered image of that resource identifier.
    bool LoadFirmwareImage(int id, TPlainBuffer& out);
    // Whether the unit identified for reprogramming runs firmware below 140.
    bool OldFirmware() const { return m_oldFirmware; }

    // The identity record read from the unit by the last connect or reprogramming.
    const std::array<uint8_t, 8>& Identity() const { return m_identity; }

    // Texts shown by the windows and the operations (strings 10, 11, 17-22, 102
    // and 370), taken from the translator by RefreshMessageTexts.
    void RefreshMessageTexts();
    QString ConnectedText() const { return m_texts.value(10); }
    QString NotConnectedText() const { return m_texts.value(11); }
    QString MessageText(int index) const { return m_texts.value(index); }

signals:
    // The configuration window shows or hides the edits that depend on the
    // option flags.
    void DependentEditsUpdateRequested();
    // The configuration window selects its switch-type entry from TIPO_COMMUTATORE.
    void SwitchComboSyncRequested();
    // Lamp `lit` of the band goes to 100 %, the band's other lamps to 0 %.
    void BandLampChanged(TSerialDataModule::Band band, int lit);

private:
    void BuildCatalogue();
    void WireRules();
    void LoadedAll();
    int IntOf(const QString& name) const;
    void WriteInt(const QString& name, int value);
    // A wait window made CurrentWaitWindow, shown at 0 % with the busy cursor.
    std::unique_ptr<TWaitWindow> BeginWait(const QString& caption, const QString& message);
    // Translator string index of the current language.
    QString Text(int index) const;
    void EndWait(std::unique_ptr<TWaitWindow>& wait);
    void FileError(int textIndex);
    bool ReadConfigurationPass(TCustomIniFile& store, int group, QStringList& notWritten);
    void CorrectOverSpeed();
    void FirmwareError(int captionIndex, int textIndex);
    void OnLinkMessage(int message, uintptr_t wParam, intptr_t lParam);
    void WithLimitsSuspended(TOrvSerialData* item, const std::function<void()>& action);

    // Rules, run by the item events they are connected to.
    void TIPO_ACCENSIONEGetData();
    void TIPO_ACCENSIONESetData();
    void TIPO_TPSSetData();
    void TIPO_SONDA_LAMBDASetData();
    void MASSIMA_APERTURA_ATTUATORESetData();
    void FLAG_GONFIGURAZIONESetData();
    void TIPO_COMMUTATOREGetData();
    void GiriCutOffFiliGialliSetData();
    void FASCIA_TPSGetData();
    void FASCIA_LAMBDAGetData();
    void VAL_GIRIGetData();

    TOrvConnection* m_connection = nullptr;
    TDataRefresher* m_refresher = nullptr;
    TTranslator* m_translator = nullptr;
    QHash<QString, TOrvSerialData*> m_items;
    QList<TOrvSerialData*> m_itemOrder;
    std::unique_ptr<TUserPrompts> m_quietPrompts;
    TUserPrompts* m_prompts = nullptr;
    std::array<uint8_t, 8> m_identity{};
    bool m_oldFirmware = false;
    QHash<int, QString> m_texts;
};
