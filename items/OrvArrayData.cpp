#include "items/OrvArrayData.h"

#include "link/LinkInstance.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

#include <algorithm>

TOrvArrayData::TOrvArrayData(Kind kind, QObject* owner) : TOrvSerialData(kind, owner)
{
    SetDescriptorBits(LinkDescriptor::ArrayFlag, true);
    Resize(1, 1);
}

// --- storage ----------------------------------------------------------------

void TOrvArrayData::Resize(int rows, int cols)
{
    m_rows = rows;
    m_cols = cols;
    SetElementCount(cols);
    m_raw.assign(size_t(rows) * size_t(cols), 0);
    m_defaults.assign(m_raw.size(), 0.0);
    m_backup.clear();
    SetLoadedFlag(false);
}

void TOrvArrayData::AllocateMemory()
{
    std::fill(m_raw.begin(), m_raw.end(), 0);
    std::fill(m_defaults.begin(), m_defaults.end(), 0.0);
    m_backup.clear();
}

void TOrvArrayData::RestoreBackup()
{
    if (m_backup.size() == m_raw.size())
        m_raw = m_backup;
}

double TOrvArrayData::DefaultAt(int k) const
{
    return k >= 0 && k < int(m_defaults.size()) ? m_defaults[size_t(k)] : 0.0;
}

void TOrvArrayData::SetDefaultAt(int k, double value)
{
    if (k >= 0 && k < int(m_defaults.size()))
        m_defaults[size_t(k)] = value;
}

void TOrvArrayData::NotifyDataChanged()
{
    NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
}

// --- reading ----------------------------------------------------------------

bool TOrvArrayData::ReadEach(LinkInstance* link, int count, const std::function<bool(int)>& read)
{
    for (int i = 0; i < count; ++i) {
        if (!read(i))
            return false;
        if (i + 1 < count && link->GetLastError() != 0)
            return false;
    }
    return true;
}

bool TOrvArrayData::ForEach(int count, const std::function<bool(int)>& op)
{
    for (int i = 0; i < count; ++i) {
        if (!op(i))
            return false;
    }
    return true;
}

bool TOrvArrayData::ReadAtAddresses(LinkInstance* link)
{
    const uint32_t d = Descriptor();
    return ReadEach(link, ElementCount(),
                    [&](int k) { return link->ReadAtAddress(d, ElementAddress(k), &m_raw[size_t(k)]); });
}

bool TOrvArrayData::Reload()
{
    if (IsDataLoaded())
        return true;
    if (!Connection())
        return false;
    if (!LinkAvailable()) {
        DoError(false);
        return false;
    }
    return ReadCycle(
        [this](LinkInstance* link) { return m_byAddress ? ReadAtAddresses(link) : ReadAll(link); });
}

bool TOrvArrayData::ReloadKeepingOnFailure()
{
    const std::vector<int> held = m_raw;
    if (Reload())
        return true;
    m_raw = held;
    return false;
}

double TOrvArrayData::UserAt(int k)
{
    m_cursor = k;
    const double user = ConvertValueToUser(m_raw[size_t(k)]);
    m_cursor = -1;
    return user;
}

void TOrvArrayData::UserValues(int first, int count, double* out)
{
    for (int i = 0; i < count; ++i)
        out[i] = UserAt(first + i);
}

bool TOrvArrayData::GetUserValues(int first, int count, double* out)
{
    const bool ok = ReloadKeepingOnFailure();
    UserValues(first, count, out);
    return ok;
}

// --- writing ----------------------------------------------------------------

int TOrvArrayData::ConvertUserValues(const double* values, int first, int count, std::vector<int>& raw)
{
    raw.assign(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        m_cursor = first + i;
        raw[size_t(i)] = ConvertValueToEcu(values[i], &m_raw[size_t(first) + size_t(i)]);
        m_cursor = -1;
        if (ConversionError::IsError(raw[size_t(i)]))
            return raw[size_t(i)];
    }
    return 0;
}

bool TOrvArrayData::RefuseWrite(int conversionError)
{
    if (conversionError != ConversionError::MergeReadFailed)
        NotifyDataChanged();
    return false;
}

void TOrvArrayData::StoreElements(int first, const std::vector<int>& raw)
{
    SetLoadedFlag(false);
    std::copy(raw.begin(), raw.end(), m_raw.begin() + first);
}

bool TOrvArrayData::WriteAtAddresses(LinkInstance* link, int first, const std::vector<int>& raw) const
{
    const uint32_t d = Descriptor();
    return ForEach(int(raw.size()),
                   [&](int i) { return link->WriteAtAddress(d, ElementAddress(first + i), raw[size_t(i)]); });
}

bool TOrvArrayData::WritePart(int first, const std::vector<int>& raw, const LinkOps& ops)
{
    SetLoadedFlag(false);
    if (!WriteUnderLock(ops)) {
        DoError(true);
        return false;
    }
    StoreElements(first, raw);
    DoSetData();
    return true;
}

bool TOrvArrayData::WriteWhole(const std::vector<int>& raw)
{
    double unused = 0;
    if (!DoBeforeSetData(unused, 0, -1, -1))
        return false;
    if (!Connection() || !LinkAvailable()) {
        StoreElements(0, raw);
        DoError(true);
        return true;
    }
    return WritePart(0, raw, [this, &raw](LinkInstance* link) {
        return m_byAddress ? WriteAtAddresses(link, 0, raw) : WriteAll(link, raw);
    });
}

bool TOrvArrayData::SetEcuElements(std::vector<int> raw)
{
    if (ReadOnly())
        return false;
    if (!IsFullMask()) {
        if (!ReloadQuietly())
            return false;
        const int mask = DataMask();
        for (size_t k = 0; k < raw.size(); ++k)
            raw[k] = (m_raw[k] & ~mask) | (raw[k] & mask);
    }
    return WriteWhole(raw);
}

bool TOrvArrayData::SetUserValues(const double* values)
{
    if (ReadOnly())
        return false;
    std::vector<int> raw;
    if (const int error = ConvertUserValues(values, 0, ElementCount(), raw))
        return RefuseWrite(error);
    return WriteWhole(raw);
}

bool TOrvArrayData::Download()
{
    const std::vector<int> held = m_raw;
    return WriteWhole(held);
}

bool TOrvArrayData::ResetDefault(bool write)
{
    std::vector<int> raw;
    // Defaults the conversion cannot express leave the held values alone.
    if (ConvertUserValues(m_defaults.data(), 0, ElementCount(), raw) != 0)
        return false;
    m_raw = raw;
    const bool ok = write ? WriteWhole(raw) : true;
    if (ok)
        NotifyDataChanged();
    return ok;
}

// --- file entries -------------------------------------------------------------

bool TOrvArrayData::WriteToFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    for (int k = 0; k < ElementCount(); ++k) {
        if (StoreUserValue())
            ini->WriteString(FileSection(), ElementKey(k), GeneralNumberText(UserAt(k)));
        else
            ini->WriteInteger(FileSection(), ElementKey(k), m_raw[size_t(k)]);
    }
    return true;
}

// Replaces element with the value of key when the key exists, its text is
// readable and the element can hold it (a value that does not fit would reach
// the unit cut to the element's bits); false (element unchanged) otherwise.
bool TOrvArrayData::ReadFileElement(TCustomIniFile* ini, const QString& key, int& element)
{
    if (!ini->ValueExists(FileSection(), key))
        return false;
    if (StoreUserValue()) {
        double value = 0;
        if (!IsFloatValue(ini->ReadString(FileSection(), key, QString()), value))
            return false;
        const int raw = ConvertValueToEcu(value, &element);
        if (ConversionError::IsError(raw) || (IsFullMask() && !HoldsRaw(raw)))
            return false;
        element = raw;
        return true;
    }
    int value = 0;
    if (!ReadRawEntry(ini, FileSection(), key, value) || (IsFullMask() && !HoldsRaw(value)))
        return false;
    element = IsFullMask() ? value : (element & ~DataMask()) | (value & DataMask());
    return true;
}

bool TOrvArrayData::ReadFromFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    // Raw entries replace only the item's bits: the others come from the unit.
    if (!StoreUserValue() && !IsFullMask())
        Reload();
    std::vector<int> raw = m_raw;
    for (int k = 0; k < ElementCount(); ++k) {
        m_cursor = k;
        ReadFileElement(ini, ElementKey(k), raw[size_t(k)]);
        m_cursor = -1;
    }
    if (OldReadFileMode()) {
        m_raw = raw;
        NotifyDataChanged();
        return true;
    }
    const bool ok = SetEcuElements(raw);
    if (!ok)
        NotifyDataChanged();
    return ok;
}

bool TOrvArrayData::WriteToHCFFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    QStringList fields = {HcfNumber(HcfTag()), HcfNumber(int(Descriptor())), HcfNumber(m_cols),
                          HcfNumber(m_rows)};
    for (int c = 0; c < m_cols; ++c) {
        for (int r = 0; r < m_rows; ++r)
            fields << HcfNumber(m_raw[size_t(r) * size_t(m_cols) + size_t(c)]);
    }
    WriteHcfLine(ini, fields);
    return true;
}

bool TOrvArrayData::ReadFromHCFFile(TCustomIniFile* ini)
{
    if (!HasFileEntry())
        return IsUnnamedInFiles();
    const QString defaultLine =
        SerialDataType() == KindVector ? QStringLiteral("F3 0 1 0 0") : QStringLiteral("F3 0 1 1 0");
    QStringList fields;
    if (!ReadHcfLine(ini, defaultLine, fields))
        return false;

    // A line for another shape, or one too short for its values, is refused
    // rather than read past its end.
    int cols = 0;
    int rows = 0;
    if (fields.size() < 4 || !ParseHcfNumber(fields.at(2), cols) || !ParseHcfNumber(fields.at(3), rows) ||
        !HcfShapeFits(cols, rows) || fields.size() < 4 + ElementCount())
        return false;

    std::vector<int> raw(m_raw.size(), 0);
    int field = 4;
    for (int c = 0; c < m_cols; ++c) {
        for (int r = 0; r < m_rows; ++r) {
            if (!ParseHcfNumber(fields.at(field++), raw[size_t(r) * size_t(m_cols) + size_t(c)]))
                return false;
        }
    }
    const bool ok = SetEcuElements(raw);
    if (!ok)
        NotifyDataChanged();
    return ok;
}
