#pragma once

// TOrvArrayData is what vector and matrix items share: their elements held in
// row order (a vector is one row), the element defaults, the backup, access by
// address, the whole read and write cycles, the masked raw write and the file
// entries. TOrvVector and TOrvMatrix add their own shape and link operations.

#include "items/OrvSerialData.h"

#include <vector>

class TOrvArrayData : public TOrvSerialData {
    Q_OBJECT
    Q_PROPERTY(bool ByAddress READ ByAddress WRITE SetByAddress)
    Q_PROPERTY(int Address READ Address WRITE SetAddress)
    Q_PROPERTY(bool SingleElementAccess READ SingleElementAccess WRITE SetSingleElementAccess)
    Q_PROPERTY(QString FileSection READ FileSection WRITE SetFileSection)
    Q_PROPERTY(QString FileKeyName READ FileKeyName WRITE SetFileKeyName)
    Q_PROPERTY(bool StoreUserValue READ StoreUserValue WRITE SetStoreUserValue)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    bool ByAddress() const { return m_byAddress; }
    void SetByAddress(bool on) { m_byAddress = on; }
    int Address() const { return m_address; }
    void SetAddress(int address) { m_address = address; }
    // Whether whole writes move one element per link operation instead of a
    // whole vector or row.
    bool SingleElementAccess() const { return m_singleElementAccess; }
    void SetSingleElementAccess(bool on) { m_singleElementAccess = on; }

    int ElementCount() const { return int(m_raw.size()); }
    // The raw elements as the unit holds them, in row order.
    const std::vector<int>& RawValues() const { return m_raw; }

    bool Reload() override;
    // Writes the elements held, unmerged.
    bool Download() override;
    bool ResetDefault(bool write) override;
    void BackupData() override { m_backup = m_raw; }
    void DiscardBackup() override { m_backup.clear(); }
    void RestoreBackup() override;
    void AllocateMemory() override;
    void UpdateData(const void*) override {}

    bool WriteToFile(TCustomIniFile* ini) override;
    bool ReadFromFile(TCustomIniFile* ini) override;
    bool WriteToHCFFile(TCustomIniFile* ini) override;
    bool ReadFromHCFFile(TCustomIniFile* ini) override;

protected:
    using LinkOps = std::function<bool(LinkInstance*)>;

    TOrvArrayData(Kind kind, QObject* owner);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    // Rebuilds the storage for rows × cols elements, zero-filled with zero
    // defaults; the column count is the descriptor's element count.
    void Resize(int rows, int cols);
    // The element being converted, read or written in an element loop (flat
    // index), -1 outside such loops.
    int Cursor() const { return m_cursor; }
    int* RawData() { return m_raw.data(); }
    double DefaultAt(int k) const;
    void SetDefaultAt(int k, double value);
    uint32_t DescriptorWithoutArrayFlag() const { return Descriptor() & ~LinkDescriptor::ArrayFlag; }
    int ElementAddress(int k) const { return m_address + k * DataLength(); }

    // The kind's link operations for a whole read or write (not by address).
    virtual bool ReadAll(LinkInstance* link) = 0;
    virtual bool WriteAll(LinkInstance* link, const std::vector<int>& raw) = 0;
    // The file key of element k, the HCF tag, and whether an HCF line of that
    // shape fits the item.
    virtual QString ElementKey(int k) const = 0;
    virtual int HcfTag() const = 0;
    virtual bool HcfShapeFits(int cols, int rows) const = 0;

    // A read after which a failure leaves the elements as they were held.
    bool ReloadKeepingOnFailure();
    // The user value of element k as held in memory.
    double UserAt(int k);
    void UserValues(int first, int count, double* out);
    // The user values of elements first … first + count - 1 after a read.
    bool GetUserValues(int first, int count, double* out);
    // All elements from user values: the conversion, then the whole write.
    bool SetUserValues(const double* values);
    // The raw form of user values for the elements from first on, each merged
    // with that element's other bits: 0, or the conversion error of the first
    // value that cannot be expressed (ConversionError).
    int ConvertUserValues(const double* values, int first, int count, std::vector<int>& raw);
    // Refuses a write whose values could not be converted: the controls are told
    // to show the values held, unless a failed read was reported already.
    bool RefuseWrite(int conversionError);

    // The whole write (the write cycle, after BeforeSetData) and the raw write
    // that keeps the bits of other items sharing the elements.
    bool WriteWhole(const std::vector<int>& raw);
    bool SetEcuElements(std::vector<int> raw);
    // A write of the elements from first on with the given link operations;
    // stores them and notifies on success.
    bool WritePart(int first, const std::vector<int>& raw, const LinkOps& ops);
    // Stores the elements from first on as written; the unit is to be asked again.
    void StoreElements(int first, const std::vector<int>& raw);
    bool WriteAtAddresses(LinkInstance* link, int first, const std::vector<int>& raw) const;

    // Runs op(0) … op(count - 1), stopping at the first that fails.
    static bool ForEach(int count, const std::function<bool(int)>& op);
    // The same for reads, which also stop when the link reports error flags
    // before the last one; true only when every read was made and succeeded.
    static bool ReadEach(LinkInstance* link, int count, const std::function<bool(int)>& read);

private:
    bool ReadAtAddresses(LinkInstance* link);
    void NotifyDataChanged();
    bool ReadFileElement(TCustomIniFile* ini, const QString& key, int& element);

    bool m_byAddress = false;
    int m_address = 0;
    bool m_singleElementAccess = false;
    int m_rows = 1;
    int m_cols = 1;
    int m_cursor = -1;
    std::vector<int> m_raw;
    std::vector<int> m_backup;
    std::vector<double> m_defaults;
};
