#include "items/OrvSerialData.h"

#include "items/BaseTransformation.h"
#include "items/Rounding.h"
#include "link/LinkInstance.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"

#include <QCoreApplication>
#include <cmath>

namespace {

bool IsUnbrokenRun(int mask)
{
    if (mask == 0)
        return true;
    while ((mask & 1) == 0)
        mask >>= 1;
    return (mask & (mask + 1)) == 0;
}

bool ValidIndex(int index)
{
    return index >= 1 && index <= 4;
}

} // namespace

TOrvSerialData::TOrvSerialData(Kind kind, QObject* owner) : QObject(owner), m_kind(kind) {}

TOrvSerialData::~TOrvSerialData()
{
    for (const auto& coefficient : m_extCoeff) {
        if (coefficient)
            coefficient->RemoveNotificationList(this);
    }
}

// --- settings -------------------------------------------------------------

void TOrvSerialData::SetDescriptor(uint32_t descriptor)
{
    if (descriptor == m_descriptor)
        return;
    const uint32_t previous = m_descriptor;
    m_descriptor = descriptor;
    DescriptorChanged(previous);
}

void TOrvSerialData::SetDescriptorBits(uint32_t mask, bool set)
{
    SetDescriptor(set ? (m_descriptor | mask) : (m_descriptor & ~mask));
}

void TOrvSerialData::SetElementCount(int count)
{
    SetDescriptor((m_descriptor & ~LinkDescriptor::CountMask) |
                  ((uint32_t(count) << LinkDescriptor::CountShift) & LinkDescriptor::CountMask));
}

void TOrvSerialData::SetDataLength(int length)
{
    if ((length != 1 && length != 2) || length == m_dataLength)
        return;
    m_dataLength = length;
    m_dataMask = FullMask();
    SetDescriptorBits(LinkDescriptor::TwoByteFlag, length == 2);
    AllocateMemory();
    m_loaded = false;
}

void TOrvSerialData::SetDataMask(int mask)
{
    mask &= FullMask();
    if (mask == m_dataMask || !IsUnbrokenRun(mask))
        return;
    m_dataMask = mask;
    AllocateMemory();
    m_loaded = false;
}

void TOrvSerialData::SetSerialCode(int code)
{
    if (code < 0)
        return;
    m_serialCode = code & 0xFF;
    SetDescriptor((m_descriptor & ~LinkDescriptor::CodeMask) | uint32_t(m_serialCode));
}

void TOrvSerialData::SetDataSigned(bool isSigned)
{
    m_signed = isSigned;
    SetDescriptorBits(LinkDescriptor::SignedFlag, isSigned);
}

void TOrvSerialData::SetPrecision(double precision)
{
    if (precision >= 0)
        m_precision = precision;
}

void TOrvSerialData::SetMinValue(double value)
{
    if (m_streaming || value <= m_valueMax)
        m_valueMin = value;
}

void TOrvSerialData::SetMaxValue(double value)
{
    if (m_streaming || value >= m_valueMin)
        m_valueMax = value;
}

QList<double> TOrvSerialData::Coeffs() const
{
    return {m_coeff[0], m_coeff[1], m_coeff[2], m_coeff[3]};
}

void TOrvSerialData::SetCoeffs(const QList<double>& coeffs)
{
    if (coeffs.size() != 4)
        return;
    for (int i = 0; i < 4; ++i)
        m_coeff[i] = coeffs[i];
}

QList<double> TOrvSerialData::ConversionTable() const
{
    if (!m_tableValid)
        return {0.0};
    QList<double> list{double(m_tableUnit.size())};
    list += QList<double>(m_tableUnit.cbegin(), m_tableUnit.cend());
    list += QList<double>(m_tableUser.cbegin(), m_tableUser.cend());
    return list;
}

void TOrvSerialData::SetConversionTableList(const QList<double>& list)
{
    const int n = list.isEmpty() ? 0 : TruncToInt(list.first());
    if (n <= 0 || list.size() < 1 + 2 * n) {
        DeleteConversionTable();
        return;
    }
    SetConversionTable(list.constData() + 1, list.constData() + 1 + n, n);
}

TOrvSerialData* TOrvSerialData::ExtCoeff(int index) const
{
    return ValidIndex(index) ? m_extCoeff[index - 1].data() : nullptr;
}

void TOrvSerialData::SetExtCoeff(int index, TOrvSerialData* item)
{
    if (!ValidIndex(index))
        return;
    if (item && (item == this || item->SerialDataType() != KindNumber))
        return;
    QPointer<TOrvSerialData>& slot = m_extCoeff[index - 1];
    if (slot == item)
        return;
    if (slot)
        slot->RemoveNotificationList(this);
    slot = item;
    if (item)
        item->AddNotificationList(this);
}

TBaseTransformation* TOrvSerialData::TransformationOf(int index) const
{
    return ValidIndex(index) ? m_transformations[index - 1].data() : nullptr;
}

void TOrvSerialData::SetTransformation(int index, TBaseTransformation* transformation)
{
    if (!ValidIndex(index) || m_transformations[index - 1] == transformation)
        return;
    m_transformations[index - 1] = transformation;
    if (transformation && !m_streaming)
        Load();
}

// --- conversion table -----------------------------------------------------

void TOrvSerialData::SetConversionTable(const double* unitSide, const double* userSide, int n)
{
    if (!unitSide || !userSide || n <= 0) {
        DeleteConversionTable();
        return;
    }
    m_tableUnit = QVector<double>(unitSide, unitSide + n);
    m_tableUser = QVector<double>(userSide, userSide + n);
    m_tableValid = true;
}

void TOrvSerialData::DeleteConversionTable()
{
    m_tableUnit.clear();
    m_tableUser.clear();
    m_tableValid = false;
}

double TOrvSerialData::GetEcuTableValue(int i) const
{
    return m_tableValid && i >= 0 && i < m_tableUnit.size() ? m_tableUnit[i] : 0.0;
}

double TOrvSerialData::GetUserTableValue(int i) const
{
    return m_tableValid && i >= 0 && i < m_tableUser.size() ? m_tableUser[i] : 0.0;
}

void TOrvSerialData::SetEcuTableValue(int i, double value)
{
    if (m_tableValid && i >= 0 && i < m_tableUnit.size())
        m_tableUnit[i] = value;
}

void TOrvSerialData::SetUserTableValue(int i, double value)
{
    if (m_tableValid && i >= 0 && i < m_tableUser.size())
        m_tableUser[i] = value;
}

// --- conversions ----------------------------------------------------------

void TOrvSerialData::GetFormulaCoefficients(double* a, double* b, double* c, double* d)
{
    double* out[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        double value = m_coeff[i];
        if (TOrvSerialData* item = m_extCoeff[i]) {
            value = item->CurrentUserValue();
            if (TBaseTransformation* transformation = m_transformations[i]) {
                double transformed = 0;
                if (transformation->Transform(value, &transformed) == TBaseTransformation::Done)
                    value = transformed;
            }
        }
        if (out[i])
            *out[i] = value;
    }
}

int TOrvSerialData::RawFromBytes(const uint8_t* p) const
{
    if (m_dataLength == 2) {
        const int word = p[0] | (p[1] << 8);
        return m_signed ? int(int16_t(word)) : word;
    }
    return m_signed ? int(int8_t(p[0])) : int(p[0]);
}

double TOrvSerialData::GetUserValueFromPacket(const uint8_t* p)
{
    return ConvertValueToUser(RawFromBytes(p));
}

double TOrvSerialData::ConvertValueToUser(int raw)
{
    double a = 0, b = 0, c = 0, d = 0;
    if (m_transformation == ttFormula || m_transformation == ttNonLinearTabled)
        GetFormulaCoefficients(&a, &b, &c, &d);

    int v = raw & m_dataMask;
    if (m_signed)
        v = m_dataLength == 2 ? int(int16_t(v)) : int(int8_t(v));

    double user = v;
    switch (m_transformation) {
    case ttNone:
        break;
    case ttFormula: {
        const double divisor = v * c + d;
        if (divisor == 0)
            return ConversionError::DivisionByZero;
        user = (v * a + b) / divisor;
        break;
    }
    case ttTabled: {
        if (!m_tableValid)
            return ConversionError::NoTableMatch;
        bool found = false;
        for (int i = 0; i < m_tableUnit.size(); ++i) {
            if (m_tableUnit[i] == v) {
                user = m_tableUser[i];
                found = true;
            }
        }
        if (!found)
            return ConversionError::NoTableMatch;
        break;
    }
    case ttNonLinearTabled: {
        if (!m_tableValid || m_tableUnit.size() < 2)
            return ConversionError::NoTableMatch;
        const double divisor = v * c + d;
        if (divisor == 0)
            return ConversionError::DivisionByZero;
        user = InterpolateUser((v * a + b) / divisor);
        if (!std::isfinite(user))
            return ConversionError::DivisionByZero;
        break;
    }
    case ttCustom:
        user = DoConvertValueToUser(v);
        break;
    }
    return RoundToPrecision(user);
}

// Interpolates x along the unit-side column; beyond the ends it extrapolates
// along the first or the last segment.
double TOrvSerialData::InterpolateUser(double x) const
{
    const int n = m_tableUnit.size();
    const bool ascending = m_tableUnit[n - 1] > m_tableUnit[0];
    int i = 1;
    while (i < n && !(ascending ? m_tableUnit[i] >= x : m_tableUnit[i] <= x))
        ++i;
    if (i == n)
        i = n - 1;
    return m_tableUser[i] - (m_tableUser[i] - m_tableUser[i - 1]) * (m_tableUnit[i] - x) /
                                (m_tableUnit[i] - m_tableUnit[i - 1]);
}

// The same search in the opposite direction: from a user value to the
// unit-side value, false when the segment found has no width.
bool TOrvSerialData::InterpolateUnit(double user, double& x) const
{
    const int n = m_tableUser.size();
    const bool ascending = m_tableUser[n - 1] > m_tableUser[0];
    int i = 1;
    while (i < n && !(ascending ? m_tableUser[i] >= user : m_tableUser[i] <= user))
        ++i;
    if (i == n)
        i = n - 1;
    const double width = m_tableUser[i] - m_tableUser[i - 1];
    if (width == 0)
        return false;
    x = m_tableUnit[i] - (m_tableUnit[i] - m_tableUnit[i - 1]) * (m_tableUser[i] - user) / width;
    return true;
}

double TOrvSerialData::RoundToPrecision(double user) const
{
    if (m_precision == 0 || ConversionError::IsError(user))
        return user;
    const double low = std::floor(user / m_precision) * m_precision;
    const double high = std::ceil(user / m_precision) * m_precision;
    return user - low < high - user ? low : high;
}

void TOrvSerialData::ApplyLimits(double& user) const
{
    if (m_disableLimits || (m_valueMin == 0 && m_valueMax == 0))
        return;
    if (user > m_valueMax)
        user = m_valueMax;
    else if (user < m_valueMin)
        user = m_valueMin;
}

int TOrvSerialData::FormulaInverse(double user, double a, double b, double c, double d) const
{
    const double t = user * c - a;
    if (t == 0)
        return ConversionError::DivisionByZero;
    return RoundHalfAway((b - user * d) / t);
}

int TOrvSerialData::ConvertValueToEcu(double user, int* current)
{
    double a = 0, b = 0, c = 0, d = 0;
    if (m_transformation == ttFormula || m_transformation == ttNonLinearTabled)
        GetFormulaCoefficients(&a, &b, &c, &d);
    ApplyLimits(user);

    int e = 0;
    switch (m_transformation) {
    case ttNone:
        e = TruncToInt(user);
        break;
    case ttFormula:
        e = FormulaInverse(user, a, b, c, d);
        break;
    case ttTabled: {
        if (!m_tableValid)
            return ConversionError::NoTableMatch;
        const int i = m_tableUser.indexOf(user);
        if (i < 0)
            return ConversionError::NoTableMatch;
        e = RoundHalfAway(m_tableUnit[i]);
        break;
    }
    case ttNonLinearTabled: {
        if (!m_tableValid || m_tableUser.size() < 2)
            return ConversionError::NoTableMatch;
        double x = 0;
        if (!InterpolateUnit(user, x))
            return ConversionError::DivisionByZero;
        e = FormulaInverse(x, a, b, c, d);
        break;
    }
    case ttCustom:
        e = DoConvertValueToEcu(user);
        break;
    }
    if (ConversionError::IsError(e) || !current || IsFullMask())
        return e;

    // The element is shared with other items: merge into a fresh copy of it.
    if (!ReloadQuietly())
        return ConversionError::MergeReadFailed;
    return (*current & ~m_dataMask) | (e & m_dataMask);
}

bool TOrvSerialData::HoldsRaw(int raw) const
{
    const int full = FullMask();
    if (m_signed) {
        // Two's complement: 212 in a signed byte would reach the unit as -44.
        if (raw < -(full + 1) / 2 || raw > full / 2)
            return false;
        raw &= full;
    }
    return raw >= 0 && (raw & ~m_dataMask) == 0;
}

bool TOrvSerialData::IsFullMask() const
{
    return m_dataMask == FullMask();
}

bool TOrvSerialData::ReloadQuietly()
{
    m_notifyEnabled = false;
    const bool ok = Load();
    m_notifyEnabled = true;
    return ok;
}

// --- file entries ---------------------------------------------------------

bool TOrvSerialData::ReadRawEntry(const TCustomIniFile* ini, const QString& section, const QString& key,
                                  int& value)
{
    // Two different defaults tell a stored integer from text that is none.
    value = ini->ReadInteger(section, key, 0);
    return value == ini->ReadInteger(section, key, 1);
}

QString TOrvSerialData::HcfNumber(int value)
{
    return QString::number(uint32_t(value), 16).toUpper();
}

bool TOrvSerialData::ParseHcfNumber(const QString& field, int& value)
{
    bool ok = false;
    const uint32_t parsed = field.toUInt(&ok, 16);
    if (ok)
        value = int(parsed);
    return ok;
}

void TOrvSerialData::WriteHcfLine(TCustomIniFile* ini, const QStringList& fields) const
{
    ini->WriteString(m_fileSection, m_fileKeyName, fields.join(QLatin1Char(' ')));
}

bool TOrvSerialData::ReadHcfLine(const TCustomIniFile* ini, const QString& defaultLine,
                                 QStringList& fields) const
{
    if (!ini->ValueExists(m_fileSection, m_fileKeyName))
        return false;
    const QString line = ini->ReadString(m_fileSection, m_fileKeyName, defaultLine);
    fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return true;
}

// --- notification ---------------------------------------------------------

void TOrvSerialData::AddNotificationList(QObject* component)
{
    if (component && !IsInNotificationList(component))
        m_notificationList.append(component);
}

void TOrvSerialData::RemoveNotificationList(QObject* component)
{
    m_notificationList.removeAll(component);
}

bool TOrvSerialData::IsInNotificationList(const QObject* component) const
{
    for (const auto& entry : m_notificationList) {
        if (entry == component)
            return true;
    }
    return false;
}

void TOrvSerialData::NotifyData(int message, uintptr_t wParam, intptr_t lParam)
{
    // The guard ends a cycle of items that use each other as coefficients.
    if (!m_notifyEnabled || m_notifying)
        return;
    m_notifying = true;
    m_notificationList.removeAll(QPointer<QObject>());
    const QList<QPointer<QObject>> receivers = m_notificationList;
    for (const QPointer<QObject>& receiver : receivers) {
        if (!receiver)
            continue;
        if (auto* item = qobject_cast<TOrvSerialData*>(receiver.data())) {
            item->NotifyData(message, wParam, lParam);
        } else {
            TWindowMessage event(message, wParam, lParam);
            QCoreApplication::sendEvent(receiver.data(), &event);
        }
    }
    m_notifying = false;
}

// --- life cycle -----------------------------------------------------------

void TOrvSerialData::Loaded()
{
    m_streaming = false;
    ResetDefault(false);
}

bool TOrvSerialData::Load()
{
    m_loaded = false;
    return Reload();
}

// --- event dispatchers ----------------------------------------------------

void TOrvSerialData::DoError(bool writing)
{
    if (!OnError)
        return;
    int code = -1;
    if (LinkAvailable()) {
        TConnectionLocker locker(m_connection);
        code = m_connection->Instance()->GetLastError();
    }
    OnError(this, code, writing);
}

void TOrvSerialData::DoGetData()
{
    if (OnGetData)
        OnGetData(this);
    NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
}

void TOrvSerialData::DoSetData()
{
    if (OnSetData)
        OnSetData(this);
    NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
}

void TOrvSerialData::DoBeforeGetData()
{
    if (BeforeGetData)
        BeforeGetData(this);
}

bool TOrvSerialData::DoBeforeSetData(double& newValue, double prevValue, int rowIndex, int colIndex)
{
    if (!BeforeSetData)
        return true;
    bool abort = false;
    BeforeSetData(this, &newValue, prevValue, rowIndex, colIndex, abort);
    return !abort;
}

void TOrvSerialData::DoComError(int flags)
{
    NotifyData(WindowMessage::WMComError, reinterpret_cast<uintptr_t>(this), flags);
}

int TOrvSerialData::DoConvertValueToEcu(double user)
{
    int converted = 0;
    if (OnConvertToEcu)
        OnConvertToEcu(this, user, converted);
    return converted;
}

double TOrvSerialData::DoConvertValueToUser(int raw)
{
    double converted = 0.0;
    if (OnConvertToUser)
        OnConvertToUser(this, raw, converted);
    return converted;
}

// --- read and write cycles ------------------------------------------------

bool TOrvSerialData::LinkAvailable()
{
    return m_connection && m_connection->LoadDll();
}

bool TOrvSerialData::ReadCycle(const std::function<bool(LinkInstance*)>& readOps)
{
    DoBeforeGetData();
    int flags = 0;
    {
        TConnectionLocker locker(m_connection);
        LinkInstance* link = m_connection ? m_connection->Instance() : nullptr;
        if (link && link->IsConnected()) {
            m_loaded = readOps(link);
            flags = link->GetLastError();
        } else {
            m_loaded = true;
        }
    }
    if (m_loaded)
        DoGetData();
    else
        DoError(false);

    m_defined = true;
    if (flags != 0) {
        DoComError(flags);
        if (flags & 4) {
            m_loaded = true;
            m_defined = false;
        }
    }
    return m_loaded;
}

bool TOrvSerialData::WriteUnderLock(const std::function<bool(LinkInstance*)>& writeOps)
{
    TConnectionLocker locker(m_connection);
    LinkInstance* link = m_connection ? m_connection->Instance() : nullptr;
    return link && writeOps(link);
}

// --- free functions -------------------------------------------------------

bool IsOrvSerialData(const QObject* component)
{
    return qobject_cast<const TOrvSerialData*>(component) != nullptr;
}

bool IsOrvPacketData(const QObject* component)
{
    const auto* item = qobject_cast<const TOrvSerialData*>(component);
    return item && item->SerialDataType() == TOrvSerialData::KindPacket;
}

bool IsFloatValue(const QString& text, double& value)
{
    const QChar separator = DecimalSeparator();
    QString normalised = text;
    for (const QChar written : {QLatin1Char('.'), QLatin1Char(',')}) {
        const int at = normalised.indexOf(written);
        if (at >= 0 && separator != written)
            normalised[at] = separator;
    }
    return ParseNumberText(normalised, value);
}
