#include "items/OrvVector.h"

#include "items/Rounding.h"
#include "link/LinkInstance.h"

TOrvVector::TOrvVector(QObject* owner) : TOrvArrayData(KindVector, owner) {}

// --- shape ------------------------------------------------------------------

void TOrvVector::SetArrayDimension(int dimension)
{
    if (dimension <= 0 || (dimension & 0xFF) == 0)
        return;
    dimension &= 0xFF;
    if (dimension != ArrayDimension())
        Resize(1, dimension);
}

TOrvVector::TVectorType TOrvVector::Type() const
{
    if (m_colIndex >= 0)
        return vtMatrixCol;
    return m_rowIndex >= 0 ? vtMatrixRow : vtSingle;
}

void TOrvVector::SetType(TVectorType type)
{
    switch (type) {
    case vtSingle:
        m_rowIndex = m_colIndex = -1;
        break;
    case vtMatrixRow:
        m_colIndex = -1;
        if (m_rowIndex < 0)
            m_rowIndex = 0;
        break;
    case vtMatrixCol:
        m_rowIndex = -1;
        if (m_colIndex < 0)
            m_colIndex = 0;
        break;
    }
}

void TOrvVector::SetRowIndex(int index)
{
    if (index >= 0 && m_rowIndex >= 0)
        m_rowIndex = index;
}

void TOrvVector::SetColIndex(int index)
{
    if (index >= 0 && m_colIndex >= 0)
        m_colIndex = index;
}

QList<double> TOrvVector::DefaultValueList() const
{
    QList<double> list{double(ArrayDimension())};
    for (int i = 0; i < ArrayDimension(); ++i)
        list << DefaultAt(i);
    return list;
}

void TOrvVector::SetDefaultValueList(const QList<double>& list)
{
    if (list.isEmpty())
        return;
    const int count = qMin(TruncToInt(list.first()), int(list.size()) - 1);
    for (int i = 0; i < count; ++i)
        SetDefaultAt(i, list.at(i + 1));
}

// --- reading ----------------------------------------------------------------

bool TOrvVector::ReadAll(LinkInstance* link)
{
    const uint32_t d = Descriptor();
    switch (Type()) {
    case vtSingle:
        return link->ReadValue(d, RawData());
    case vtMatrixRow:
        // The unit answers a whole row to an indexed read of several elements.
        return link->ReadIndexed(DescriptorWithoutArrayFlag(), RawData(), m_rowIndex);
    case vtMatrixCol:
        break;
    }
    int* raw = RawData();
    return ReadEach(link, ArrayDimension(),
                    [&](int i) { return link->ReadMatrixElement(d, &raw[i], i, m_colIndex); });
}

bool TOrvVector::GetData(double* values)
{
    return GetUserValues(0, ArrayDimension(), values);
}

bool TOrvVector::GetData(double* value, unsigned i)
{
    if (i >= unsigned(ArrayDimension())) {
        *value = 0;
        return false;
    }
    return GetUserValues(int(i), 1, value);
}

// --- writing ----------------------------------------------------------------

bool TOrvVector::WriteElement(LinkInstance* link, int i, int raw) const
{
    const uint32_t d = Descriptor();
    switch (Type()) {
    case vtSingle:
        return link->WriteIndexed(d, i, raw);
    case vtMatrixRow:
        return link->WriteMatrixElement(d, m_rowIndex, i, raw);
    case vtMatrixCol:
        break;
    }
    return link->WriteMatrixElement(d, i, m_colIndex, raw);
}

bool TOrvVector::WriteAll(LinkInstance* link, const std::vector<int>& raw)
{
    if (SingleElementAccess() || Type() == vtMatrixCol)
        return ForEach(ArrayDimension(), [&](int i) { return WriteElement(link, i, raw[size_t(i)]); });
    if (Type() == vtSingle)
        return link->WriteArray(Descriptor(), raw.data());
    return link->WriteRow(Descriptor(), raw.data(), m_rowIndex);
}

bool TOrvVector::SetData(const double* values)
{
    return SetUserValues(values);
}

bool TOrvVector::SetData(double value, unsigned i)
{
    if (ReadOnly() || i >= unsigned(ArrayDimension()))
        return false;
    const int index = int(i);
    double previous = 0;
    GetData(&previous, i);
    if (!DoBeforeSetData(value, previous, index, -1))
        return false;
    std::vector<int> raw;
    if (const int error = ConvertUserValues(&value, index, 1, raw))
        return RefuseWrite(error);
    if (!Connection() || !LinkAvailable()) {
        StoreElements(index, raw);
        DoError(true);
        return true;
    }
    return WritePart(index, raw, [&](LinkInstance* link) {
        return ByAddress() ? WriteAtAddresses(link, index, raw) : WriteElement(link, index, raw.front());
    });
}

bool TOrvVector::SetEcuData(const int* raw)
{
    return SetEcuElements(std::vector<int>(raw, raw + ArrayDimension()));
}

bool TOrvVector::SetDataInEcu(const int* raw)
{
    return WriteWhole(std::vector<int>(raw, raw + ArrayDimension()));
}

// --- file entries -------------------------------------------------------------

QString TOrvVector::ElementKey(int k) const
{
    const QString index = QString::number(k);
    switch (Type()) {
    case vtSingle:
        break;
    case vtMatrixRow:
        return FileKeyName() + QString::number(m_rowIndex) + QLatin1Char('_') + index;
    case vtMatrixCol:
        return FileKeyName() + index + QLatin1Char('_') + QString::number(m_colIndex);
    }
    return FileKeyName() + index;
}
