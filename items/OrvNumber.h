#pragma once

// TOrvNumber is the data item for one value of the unit: one element (one or two
// bytes, possibly only some bits of it) at a byte address or reached by the
// unit's identifier, optionally one element of a vector or matrix datum.

#include "items/OrvSerialData.h"

class TOrvNumber : public TOrvSerialData {
    Q_OBJECT
    Q_PROPERTY(TNumberType Type READ Type WRITE SetType)
    Q_PROPERTY(int RowIndex READ RowIndex WRITE SetRowIndex)
    Q_PROPERTY(int ColIndex READ ColIndex WRITE SetColIndex)
    Q_PROPERTY(bool ByAddress READ ByAddress WRITE SetByAddress)
    Q_PROPERTY(int Address READ Address WRITE SetAddress)
    Q_PROPERTY(double DefaultValue READ DefaultValue WRITE SetDefaultValue)
    Q_PROPERTY(QString FileSection READ FileSection WRITE SetFileSection)
    Q_PROPERTY(QString FileKeyName READ FileKeyName WRITE SetFileKeyName)
    Q_PROPERTY(bool StoreUserValue READ StoreUserValue WRITE SetStoreUserValue)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    enum TNumberType { ntSingle, ntVectorElement, ntMatrixElement };
    Q_ENUM(TNumberType)

    explicit TOrvNumber(QObject* owner = nullptr);
    // An element of a vector (row ≥ 0) or matrix (row and column ≥ 0) datum.
    TOrvNumber(QObject* owner, int serialCode, int row, int col);

    TNumberType Type() const;
    void SetType(TNumberType type);
    int RowIndex() const { return m_rowIndex; }
    void SetRowIndex(int index);
    int ColIndex() const { return m_colIndex; }
    void SetColIndex(int index);
    bool ByAddress() const { return m_byAddress; }
    void SetByAddress(bool on) { m_byAddress = on; }
    int Address() const { return m_address; }
    void SetAddress(int address) { m_address = address; }
    double DefaultValue() const { return m_defaultValue; }
    void SetDefaultValue(double value) { m_defaultValue = value; }

    // The raw value as the unit holds it (all bits of the element).
    int RawValue() const { return m_raw; }

    int GetInt();
    double GetDouble();
    bool GetData(double* out);
    bool SetInt(int value) { return SetData(value); }
    bool SetDouble(double value) { return SetData(value); }
    bool SetData(double value);
    bool SetEcuData(int raw);
    bool SetDataInEcu(int raw);
    void InitData(const int* raw);

    bool Reload() override;
    bool Download() override;
    bool ResetDefault(bool write) override;
    void BackupData() override { m_backup = m_raw; }
    void DiscardBackup() override {}
    void RestoreBackup() override { m_raw = m_backup; }
    void AllocateMemory() override;
    void UpdateData(const void* buffer) override;
    double CurrentUserValue() override { return GetDouble(); }

    bool WriteToFile(TCustomIniFile* ini) override;
    bool ReadFromFile(TCustomIniFile* ini) override;
    bool WriteToHCFFile(TCustomIniFile* ini) override;
    bool ReadFromHCFFile(TCustomIniFile* ini) override;
    // The key of the item's entry: the file key, then the row and column of an element.
    QString FileKey() const;

private:
    bool WriteRaw(LinkInstance* link, int raw);
    bool ReadRaw(LinkInstance* link);
    bool StoreReadValue(const std::function<bool()>& write);
    bool FileValueFits(double value);

    int m_rowIndex = -1;
    int m_colIndex = -1;
    bool m_byAddress = false;
    int m_address = 0;
    double m_defaultValue = 0;
    int m_raw = 0;
    int m_backup = 0;
};
