#pragma once

// TOrvPacketData picks one live value out of a packet the unit sends, at a byte
// offset. The refresher delivers each packet it reads to every item registered
// for that packet.

#include "items/DataRefresher.h"
#include "items/OrvSerialData.h"

class TOrvPacketData : public TOrvSerialData {
    Q_OBJECT
    Q_PROPERTY(int TimeInterval READ TimeInterval WRITE SetTimeInterval)
    Q_PROPERTY(int Offset READ Offset WRITE SetOffset)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)

public:
    explicit TOrvPacketData(QObject* owner = nullptr);
    ~TOrvPacketData() override;

    int TimeInterval() const { return m_timeInterval; }
    void SetTimeInterval(int milliseconds);
    int Offset() const { return m_offset; }
    void SetOffset(int offset) { m_offset = offset; }
    bool Active() const { return m_active; }
    void SetActive(bool active);
    TDataRefresher* DataRefresher() const { return m_refresher; }
    void SetDataRefresher(TDataRefresher* refresher);
    bool Registered() const { return m_registered; }

    int RawValue() const { return m_raw; }
    int GetInt();
    double GetDouble();
    void InitData(double user);
    // Whether a value arrived (or was set) since the item was last cleared; a
    // cleared item holds raw 0, which its controls do not show as a reading.
    bool HasValue() const { return m_hasValue; }
    void ClearValue();

    bool Reload() override;
    // A packet shorter than the item's offset leaves the item as it is.
    void UpdateData(const void* buffer) override;
    double CurrentUserValue() override { return GetDouble(); }

    // Live values have no default, backup, download or file entry.
    bool Download() override { return false; }
    bool ResetDefault(bool) override { return false; }
    void BackupData() override {}
    void DiscardBackup() override {}
    void RestoreBackup() override {}
    void AllocateMemory() override { m_raw = 0; }
    bool WriteToFile(TCustomIniFile*) override { return false; }
    bool ReadFromFile(TCustomIniFile*) override { return false; }
    bool WriteToHCFFile(TCustomIniFile*) override { return false; }
    bool ReadFromHCFFile(TCustomIniFile*) override { return false; }

protected:
    // The refresher knows the item by its descriptor: the registration moves
    // with every change of it (code, width, sign).
    void DescriptorChanged(uint32_t previous) override;

private:
    void Register();
    void Unregister();
    void RefresherDestroyed();

    int m_timeInterval = 1000;
    int m_offset = 0;
    bool m_active = false;
    bool m_registered = false;
    uint32_t m_registeredDescriptor = 0;
    QPointer<TDataRefresher> m_refresher;
    QMetaObject::Connection m_refresherDestroyed;
    int m_raw = 0;
    bool m_hasValue = false;
};
