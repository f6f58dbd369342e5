#pragma once

// TOrvSerialData is the common base of every data item: a component that knows
// where its datum lives in the unit, how to turn the unit's raw integer into the
// value the user sees and back, and which controls to tell when it changes.
// The kinds are TOrvNumber, TOrvVector, TOrvMatrix and TOrvPacketData.

#include "items/BaseTransformation.h"
#include "items/OrvEvents.h"
#include "link/OrvConnection.h"
#include "support/CustomIniFile.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

// Results of a conversion that failed; they travel in-band.
namespace ConversionError {
constexpr int NoTableMatch = -10000001;   // no valid table, or a tabled value not found
constexpr int DivisionByZero = -10000002; // division by zero in the formula
// The fresh read of a shared element, needed to keep the other items' bits,
// failed: the value cannot be written without wiping those bits.
constexpr int MergeReadFailed = -10000003;
inline bool IsError(double value)
{
    return value == NoTableMatch || value == DivisionByZero || value == MergeReadFailed;
}
} // namespace ConversionError

class TOrvSerialData : public QObject {
    Q_OBJECT
    Q_PROPERTY(int DataLength READ DataLength WRITE SetDataLength)
    Q_PROPERTY(int DataMask READ DataMask WRITE SetDataMask)
    Q_PROPERTY(int SerialCode READ SerialCode WRITE SetSerialCode)
    Q_PROPERTY(bool Signed READ Signed WRITE SetDataSigned)
    Q_PROPERTY(TransformationType Transformation READ Transformation WRITE SetTransformationType)
    Q_PROPERTY(QString MeasureUnit READ MeasureUnit WRITE SetMeasureUnit)
    Q_PROPERTY(double CoeffA READ CoeffA WRITE SetCoeffA)
    Q_PROPERTY(double CoeffB READ CoeffB WRITE SetCoeffB)
    Q_PROPERTY(double CoeffC READ CoeffC WRITE SetCoeffC)
    Q_PROPERTY(double CoeffD READ CoeffD WRITE SetCoeffD)
    Q_PROPERTY(double Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double ValueMin READ ValueMin WRITE SetMinValue)
    Q_PROPERTY(double ValueMax READ ValueMax WRITE SetMaxValue)
    Q_PROPERTY(bool DisableLimits READ DisableLimits WRITE SetDisableLimits)
    Q_PROPERTY(int DataGroup READ DataGroup WRITE SetDataGroup)
    Q_PROPERTY(bool OldReadFileMode READ OldReadFileMode WRITE SetOldReadFileMode)
    Q_PROPERTY(QList<double> Coeffs READ Coeffs WRITE SetCoeffs)
    Q_PROPERTY(QList<double> ConversionTable READ ConversionTable WRITE SetConversionTableList)

public:
    enum TransformationType { ttNone, ttFormula, ttTabled, ttNonLinearTabled, ttCustom };
    Q_ENUM(TransformationType)

    // The item kinds, as SerialDataType reports them.
    enum Kind { KindNumber = 0, KindVector = 1, KindMatrix = 2, KindPacket = 3 };

    ~TOrvSerialData() override;

    int SerialDataType() const { return m_kind; }
    uint32_t Descriptor() const { return m_descriptor; }

    // Settings with rules; a refused value leaves the old one without a message.
    int DataLength() const { return m_dataLength; }
    void SetDataLength(int length);
    int DataMask() const { return m_dataMask; }
    void SetDataMask(int mask);
    int SerialCode() const { return m_serialCode; }
    void SetSerialCode(int code);
    bool Signed() const { return m_signed; }
    void SetDataSigned(bool isSigned);
    TransformationType Transformation() const { return m_transformation; }
    void SetTransformationType(TransformationType type) { m_transformation = type; }
    QString MeasureUnit() const { return m_measureUnit; }
    void SetMeasureUnit(const QString& unit) { m_measureUnit = unit; }
    double CoeffA() const { return m_coeff[0]; }
    double CoeffB() const { return m_coeff[1]; }
    double CoeffC() const { return m_coeff[2]; }
    double CoeffD() const { return m_coeff[3]; }
    void SetCoeffA(double value) { m_coeff[0] = value; }
    void SetCoeffB(double value) { m_coeff[1] = value; }
    void SetCoeffC(double value) { m_coeff[2] = value; }
    void SetCoeffD(double value) { m_coeff[3] = value; }
    double Precision() const { return m_precision; }
    void SetPrecision(double precision);
    double ValueMin() const { return m_valueMin; }
    void SetMinValue(double value);
    double ValueMax() const { return m_valueMax; }
    void SetMaxValue(double value);
    bool DisableLimits() const { return m_disableLimits; }
    void SetDisableLimits(bool disable) { m_disableLimits = disable; }
    int DataGroup() const { return m_dataGroup; }
    void SetDataGroup(int group) { m_dataGroup = group; }
    bool OldReadFileMode() const { return m_oldReadFileMode; }
    void SetOldReadFileMode(bool on) { m_oldReadFileMode = on; }

    // The stored forms: "Coeffs" (A, B, C, D) and "ConversionTable" (N, then N
    // unit-side values, then N user-side values; 0 alone when there is no table).
    QList<double> Coeffs() const;
    void SetCoeffs(const QList<double>& coeffs);
    QList<double> ConversionTable() const;
    void SetConversionTableList(const QList<double>& list);

    TOrvConnection* Connection() const { return m_connection; }
    void SetConnection(TOrvConnection* connection) { m_connection = connection; }
    // index 1..4 stands for A..D.
    TOrvSerialData* ExtCoeff(int index) const;
    void SetExtCoeff(int index, TOrvSerialData* item);
    TBaseTransformation* TransformationOf(int index) const;
    void SetTransformation(int index, TBaseTransformation* transformation);

    // Conversion table.
    void SetConversionTable(const double* unitSide, const double* userSide, int n);
    void DeleteConversionTable();
    bool HasConversionTable() const { return m_tableValid; }
    int ConversionTableLength() const { return m_tableValid ? int(m_tableUnit.size()) : 0; }
    double GetEcuTableValue(int i) const;
    double GetUserTableValue(int i) const;
    void SetEcuTableValue(int i, double value);
    void SetUserTableValue(int i, double value);

    // Conversions. current points at the raw value held in memory (merged with
    // for a partial mask), or is null when there is nothing to merge with. A
    // partial mask merges into a fresh read of the element; when that read
    // fails the result is ConversionError::MergeReadFailed.
    double ConvertValueToUser(int raw);
    int ConvertValueToEcu(double user, int* current);
    void GetFormulaCoefficients(double* a, double* b, double* c, double* d);
    double GetUserValueFromPacket(const uint8_t* p);
    // Whether the item's bits can hold raw: inside its mask, and for a signed
    // item inside the element's two's complement range.
    bool HoldsRaw(int raw) const;
    // The raw element at p: one byte or a little-endian word, sign-extended when Signed.
    int RawFromBytes(const uint8_t* p) const;

    // Notification of bound controls and of items that use this one.
    void AddNotificationList(QObject* component);
    void RemoveNotificationList(QObject* component);
    bool IsInNotificationList(const QObject* component) const;
    void NotifyData(int message, uintptr_t wParam, intptr_t lParam);

    // State flags.
    bool IsDataLoaded() const { return m_loaded; }
    bool IsDataDefined() const { return m_defined; }

    // Stored-form life cycle: properties set between BeginLoading and Loaded are
    // taken without the limit-order rule; Loaded gives the item its default value.
    void BeginLoading() { m_streaming = true; }
    virtual void Loaded();

    // The kind's operations.
    virtual void AllocateMemory() = 0;
    virtual bool Reload() = 0;
    bool Load();
    virtual bool Download() = 0;
    virtual bool ResetDefault(bool write) = 0;
    virtual void BackupData() = 0;
    virtual void DiscardBackup() = 0;
    virtual void RestoreBackup() = 0;
    virtual void UpdateData(const void* buffer) = 0;

    // Configuration-file entries: the item's entry in an INI store, and the
    // compact one-line form with hexadecimal raw values.
    virtual bool WriteToFile(TCustomIniFile* ini) = 0;
    virtual bool ReadFromFile(TCustomIniFile* ini) = 0;
    virtual bool WriteToHCFFile(TCustomIniFile* ini) = 0;
    virtual bool ReadFromHCFFile(TCustomIniFile* ini) = 0;
    // The user value as the item reads it for callers; used when this item is
    // another item's external coefficient.
    virtual double CurrentUserValue() { return 0; }

    // Events (published by the kinds that use them).
    TConvertToUserEvent OnConvertToUser;
    TConvertToEcuEvent OnConvertToEcu;
    TNotifyEvent BeforeGetData;
    TNotifyEvent OnGetData;
    TBeforeSetDataEvent BeforeSetData;
    TNotifyEvent OnSetData;
    TErrorEvent OnError;

    // Settings the kinds publish.
    QString FileSection() const { return m_fileSection; }
    void SetFileSection(const QString& section) { m_fileSection = section; }
    QString FileKeyName() const { return m_fileKeyName; }
    void SetFileKeyName(const QString& key) { m_fileKeyName = key; }
    bool StoreUserValue() const { return m_storeUserValue; }
    void SetStoreUserValue(bool on) { m_storeUserValue = on; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool on) { m_readOnly = on; }

protected:
    TOrvSerialData(Kind kind, QObject* owner);

    // Event dispatchers.
    virtual void DoError(bool writing);
    virtual void DoGetData();
    virtual void DoSetData();
    virtual void DoBeforeGetData();
    virtual bool DoBeforeSetData(double& newValue, double prevValue, int rowIndex, int colIndex);
    virtual void DoComError(int flags);
    virtual int DoConvertValueToEcu(double user);
    virtual double DoConvertValueToUser(int raw);

    // The read cycle common to every kind: readOps issues the kind's link reads
    // (under the connection lock, only while a unit is connected) and answers
    // whether all succeeded. The caller has made sure the library is loaded.
    bool ReadCycle(const std::function<bool(LinkInstance*)>& readOps);
    // Runs writeOps under the connection lock; false when there is no instance.
    bool WriteUnderLock(const std::function<bool(LinkInstance*)>& writeOps);
    // Whether the connection is set and its library can be loaded.
    bool LinkAvailable();

    // Re-reads the item from the unit with notifications off (before a masked merge).
    bool ReloadQuietly();
    bool IsFullMask() const;
    // An item has a file entry when both section and key are set. Without one,
    // file operations succeed when both are empty (nothing to do) and fail when
    // only one of them is set: if (!HasFileEntry()) return IsUnnamedInFiles();
    bool HasFileEntry() const { return !m_fileSection.isEmpty() && !m_fileKeyName.isEmpty(); }
    bool IsUnnamedInFiles() const { return m_fileSection.isEmpty() && m_fileKeyName.isEmpty(); }
    // Reads a raw-form integer entry; false when the text is not an integer.
    static bool ReadRawEntry(const TCustomIniFile* ini, const QString& section, const QString& key,
                             int& value);
    // The fields of an HCF line, in upper-case hexadecimal without prefix.
    static QString HcfNumber(int value);
    static bool ParseHcfNumber(const QString& field, int& value);
    // The item's HCF line: written from its fields, or read as fields (false
    // when the store has no line for the item).
    void WriteHcfLine(TCustomIniFile* ini, const QStringList& fields) const;
    bool ReadHcfLine(const TCustomIniFile* ini, const QString& defaultLine, QStringList& fields) const;
    int FullMask() const { return m_dataLength == 2 ? 0xFFFF : 0xFF; }
    void SetLoadedFlag(bool loaded) { m_loaded = loaded; }
    void SetDescriptorBits(uint32_t mask, bool set);
    // Called after every change of the descriptor, with the one it replaced.
    virtual void DescriptorChanged(uint32_t /*previous*/) {}
    void SetElementCount(int count);

    // The kind's own storage is rebuilt when the element's width or mask changes.
    const int m_kind;

private:
    void SetDescriptor(uint32_t descriptor);
    void ApplyLimits(double& user) const;
    double RoundToPrecision(double user) const;
    double InterpolateUser(double x) const;
    bool InterpolateUnit(double user, double& x) const;
    int FormulaInverse(double user, double a, double b, double c, double d) const;

    uint32_t m_descriptor = 0;
    int m_dataLength = 1;
    int m_dataMask = 0xFF;
    int m_serialCode = 0;
    bool m_signed = false;
    TransformationType m_transformation = ttNone;
    QString m_measureUnit;
    double m_coeff[4] = {1, 0, 0, 1};
    double m_precision = 0;
    double m_valueMin = 0;
    double m_valueMax = 0;
    bool m_disableLimits = false;
    int m_dataGroup = 0;
    bool m_oldReadFileMode = false;
    QString m_fileSection;
    QString m_fileKeyName;
    bool m_storeUserValue = true;
    bool m_readOnly = false;

    bool m_loaded = false;
    bool m_defined = true;
    bool m_notifyEnabled = true;
    bool m_notifying = false;
    bool m_streaming = false;

    QList<QPointer<QObject>> m_notificationList;
    bool m_tableValid = false;
    QVector<double> m_tableUnit;
    QVector<double> m_tableUser;

    QPointer<TOrvConnection> m_connection;
    std::array<QPointer<TOrvSerialData>, 4> m_extCoeff;
    std::array<QPointer<TBaseTransformation>, 4> m_transformations;
};

bool IsOrvSerialData(const QObject* component);
bool IsOrvPacketData(const QObject* component);

// Reads a decimal number written with a point or a comma, whatever the locale's
// separator: the first "." and the first "," are taken as the locale's separator.
bool IsFloatValue(const QString& text, double& value);
