#include "items/OrvNumber.h"

#include "items/Rounding.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

TOrvNumber::TOrvNumber(QObject* owner) : TOrvSerialData(KindNumber, owner) {}

TOrvNumber::TOrvNumber(QObject* owner, int serialCode, int row, int col) : TOrvNumber(owner)
{
    SetSerialCode(serialCode);
    if (row >= 0) {
        m_rowIndex = row;
        if (col >= 0)
            m_colIndex = col;
    }
}

// --- indexes --------------------------------------------------------------

TOrvNumber::TNumberType TOrvNumber::Type() const
{
    if (m_rowIndex < 0)
        return ntSingle;
    return m_colIndex < 0 ? ntVectorElement : ntMatrixElement;
}

void TOrvNumber::SetType(TNumberType type)
{
    switch (type) {
    case ntSingle:
        m_rowIndex = m_colIndex = -1;
        break;
    case ntVectorElement:
        m_colIndex = -1;
        if (m_rowIndex < 0)
            m_rowIndex = 0;
        break;
    case ntMatrixElement:
        if (m_rowIndex < 0)
            m_rowIndex = 0;
        if (m_colIndex < 0)
            m_colIndex = 0;
        break;
    }
}

void TOrvNumber::SetRowIndex(int index)
{
    if (index < 0)
        m_rowIndex = m_colIndex = -1;
    else
        m_rowIndex = index;
}

void TOrvNumber::SetColIndex(int index)
{
    if (m_rowIndex >= 0)
        m_colIndex = index < 0 ? -1 : index;
}

// --- reading --------------------------------------------------------------

bool TOrvNumber::ReadRaw(LinkInstance* link)
{
    const uint32_t d = Descriptor();
    if (m_byAddress)
        return link->ReadAtAddress(d, m_address, &m_raw);
    if (m_rowIndex < 0)
        return link->ReadValue(d, &m_raw);
    if (m_colIndex < 0)
        return link->ReadIndexed(d, &m_raw, m_rowIndex);
    return link->ReadMatrixElement(d, &m_raw, m_rowIndex, m_colIndex);
}

bool TOrvNumber::Reload()
{
    if (IsDataLoaded() || !Connection() || !LinkAvailable())
        return true;
    return ReadCycle([this](LinkInstance* link) { return ReadRaw(link); });
}

bool TOrvNumber::GetData(double* out)
{
    BackupData();
    if (Reload()) {
        *out = ConvertValueToUser(m_raw);
        return true;
    }
    RestoreBackup();
    *out = ConvertValueToUser(m_raw);
    return false;
}

double TOrvNumber::GetDouble()
{
    double value = 0;
    GetData(&value);
    return value;
}

int TOrvNumber::GetInt()
{
    return TruncToInt(GetDouble() + 0.5);
}

void TOrvNumber::InitData(const int* raw)
{
    m_raw = *raw;
    SetLoadedFlag(true);
}

void TOrvNumber::UpdateData(const void* buffer)
{
    DoBeforeGetData();
    m_raw = RawFromBytes(static_cast<const uint8_t*>(buffer));
    DoGetData();
}

// --- writing --------------------------------------------------------------

bool TOrvNumber::WriteRaw(LinkInstance* link, int raw)
{
    const uint32_t d = Descriptor();
    if (m_byAddress)
        return link->WriteAtAddress(d, m_address, raw);
    if (m_rowIndex < 0)
        return link->WriteValue(d, raw);
    if (m_colIndex < 0)
        return link->WriteIndexed(d, m_rowIndex, raw);
    return link->WriteMatrixElement(d, m_rowIndex, m_colIndex, raw);
}

bool TOrvNumber::SetDataInEcu(int raw)
{
    SetLoadedFlag(false);
    if (!Connection() || !LinkAvailable()) {
        m_raw = raw;
        DoError(true);
        return true;
    }
    if (!WriteUnderLock([this, raw](LinkInstance* link) { return WriteRaw(link, raw); })) {
        DoError(true);
        return false;
    }
    m_raw = raw;
    DoSetData();
    return true;
}

bool TOrvNumber::SetData(double value)
{
    if (ReadOnly()) {
        NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
        return false;
    }
    if (!DoBeforeSetData(value, GetDouble(), -1, -1))
        return false;
    const int raw = ConvertValueToEcu(value, &m_raw);
    // A value the conversion cannot express is never sent to the unit: the
    // controls are told to show the value the item still holds. When the shared
    // byte could not be read, the failed read has already been reported.
    if (raw == ConversionError::MergeReadFailed)
        return false;
    if (ConversionError::IsError(raw)) {
        NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
        return false;
    }
    return SetDataInEcu(raw);
}

bool TOrvNumber::SetEcuData(int raw)
{
    if (ReadOnly())
        return false;
    double unused = 0;
    if (!DoBeforeSetData(unused, 0, -1, -1))
        return false;
    if (!IsFullMask()) {
        if (!ReloadQuietly())
            return false;
        raw = (m_raw & ~DataMask()) | (raw & DataMask());
    }
    return SetDataInEcu(raw);
}

bool TOrvNumber::Download()
{
    double unused = 0;
    if (!DoBeforeSetData(unused, 0, -1, -1))
        return false;
    return SetDataInEcu(m_raw);
}

bool TOrvNumber::ResetDefault(bool write)
{
    const int raw = ConvertValueToEcu(m_defaultValue, &m_raw);
    // A default the conversion cannot express leaves the held value alone.
    if (ConversionError::IsError(raw))
        return false;
    m_raw = raw;
    const bool ok = write ? SetDataInEcu(raw) : true;
    if (ok)
        NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
    return ok;
}

void TOrvNumber::AllocateMemory()
{
    m_raw = 0;
    m_defaultValue = 0;
}

// --- file entries -----------------------------------------------------------

QString TOrvNumber::FileKey() const
{
    QString key = FileKeyName();
    if (m_rowIndex >= 0)
        key += QString::number(m_rowIndex);
    if (m_colIndex >= 0)
        key += QLatin1Char('_') + QString::number(m_colIndex);
    return key;
}

bool TOrvNumber::WriteToFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    if (StoreUserValue())
        ini->WriteString(FileSection(), FileKey(), GeneralNumberText(ConvertValueToUser(m_raw)));
    else
        ini->WriteInteger(FileSection(), FileKey(), m_raw);
    return true;
}

bool TOrvNumber::ReadFromFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    const QString key = FileKey();
    if (!ini->ValueExists(FileSection(), key))
        return false;

    if (StoreUserValue()) {
        double value = 0;
        if (!IsFloatValue(ini->ReadString(FileSection(), key, QString()), value) || !FileValueFits(value))
            return false;
        if (OldReadFileMode()) {
            const int raw = ConvertValueToEcu(value, &m_raw);
            if (ConversionError::IsError(raw))
                return false;
            m_raw = raw;
            NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
            return true;
        }
        return StoreReadValue([this, value] { return SetData(value); });
    }

    int raw = 0;
    if (!ReadRawEntry(ini, FileSection(), key, raw) || (IsFullMask() && !HoldsRaw(raw)))
        return false;
    if (OldReadFileMode()) {
        m_raw = raw;
        NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
        return true;
    }
    return StoreReadValue([this, raw] { return SetEcuData(raw); });
}

// Values from a file that the item's bytes cannot hold are refused rather than
// kept whole and sent to the unit cut to its bytes. A masked item's value is
// merged into the unit's byte, which cuts it to the item's bits as always.
bool TOrvNumber::FileValueFits(double value)
{
    if (!IsFullMask())
        return true;
    const int raw = ConvertValueToEcu(value, &m_raw);
    return ConversionError::IsError(raw) || HoldsRaw(raw); // errors are refused where the value is stored
}

// Writes a value read from a file; on failure the controls show the value the
// item still holds.
bool TOrvNumber::StoreReadValue(const std::function<bool()>& write)
{
    const bool ok = write();
    if (!ok)
        NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
    return ok;
}

bool TOrvNumber::WriteToHCFFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    const QString tag = QStringLiteral("F%1").arg(int(Type()));
    const QStringList fields = {tag, HcfNumber(int(Descriptor())), HcfNumber(m_colIndex > 1 ? m_colIndex : 1),
                                HcfNumber(m_rowIndex > 1 ? m_rowIndex : 1), HcfNumber(m_raw)};
    WriteHcfLine(ini, fields);
    return true;
}

bool TOrvNumber::ReadFromHCFFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    QStringList fields;
    int raw = 0;
    if (!ReadHcfLine(ini, QStringLiteral("F0 0 0 0 0"), fields) || fields.size() < 5 ||
        !ParseHcfNumber(fields.at(4), raw) || (IsFullMask() && !HoldsRaw(raw)))
        return false;
    return StoreReadValue([this, raw] { return SetEcuData(raw); });
}
