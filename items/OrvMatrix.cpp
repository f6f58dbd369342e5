#include "items/OrvMatrix.h"

#include "items/Rounding.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"

namespace {

constexpr int VectorColumns = 5;
constexpr int MatrixColumns = 5;
constexpr int MatrixRows = 4;

// A dimension as stored: its low 8 bits, or 0 when refused.
int AcceptedCount(int count)
{
    return count > 0 ? count & 0xFF : 0;
}

} // namespace

TOrvMatrix::TOrvMatrix(QObject* owner) : TOrvArrayData(KindMatrix, owner) {}

// --- shape ------------------------------------------------------------------

void TOrvMatrix::SetDimensions(int rows, int cols)
{
    if (rows == RowCount() && cols == ColCount())
        return;
    Resize(rows, cols);
    NotifyData(WindowMessage::WMChangeDataDim, uintptr_t(cols), rows);
}

void TOrvMatrix::SetColCount(int count)
{
    if (const int cols = AcceptedCount(count))
        SetDimensions(RowCount(), cols);
}

void TOrvMatrix::SetRowCount(int count)
{
    if (const int rows = AcceptedCount(count))
        SetDimensions(rows, ColCount());
}

TOrvMatrix::TMatrixType TOrvMatrix::Type() const
{
    if (RowCount() > 1 && ColCount() > 1)
        return mtMatrix;
    return RowCount() == 1 && ColCount() == 1 ? mtSingle : mtVector;
}

void TOrvMatrix::SetType(TMatrixType type)
{
    switch (type) {
    case mtSingle:
        SetDimensions(1, 1);
        break;
    case mtVector:
        if (Type() != mtVector)
            SetDimensions(1, VectorColumns);
        break;
    case mtMatrix:
        SetDimensions(RowCount() > 1 ? RowCount() : MatrixRows, ColCount() > 1 ? ColCount() : MatrixColumns);
        break;
    }
}

TOrvMatrix::Shape TOrvMatrix::GetShape() const
{
    if (RowCount() > 1)
        return ColCount() > 1 ? Shape::Grid : Shape::Column;
    return ColCount() > 1 ? Shape::Row : Shape::Single;
}

double TOrvMatrix::DefaultValue(int row, int col) const
{
    return Contains(row, col) ? DefaultAt(row * ColCount() + col) : 0.0;
}

void TOrvMatrix::SetDefaultValue(int row, int col, double value)
{
    if (Contains(row, col))
        SetDefaultAt(row * ColCount() + col, value);
}

QList<double> TOrvMatrix::DefaultValueList() const
{
    QList<double> list{double(RowCount()), double(ColCount())};
    for (int k = 0; k < ElementCount(); ++k)
        list << DefaultAt(k);
    return list;
}

void TOrvMatrix::SetDefaultValueList(const QList<double>& list)
{
    if (list.size() < 2)
        return;
    // The list keeps its own layout; values outside the matrix are skipped.
    const int rows = TruncToInt(list.at(0));
    const int cols = TruncToInt(list.at(1));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int at = 2 + r * cols + c;
            if (at >= list.size())
                return;
            SetDefaultValue(r, c, list.at(at));
        }
    }
}

// --- reading ----------------------------------------------------------------

bool TOrvMatrix::ReadAll(LinkInstance* link)
{
    const uint32_t d = Descriptor();
    int* raw = RawData();
    switch (GetShape()) {
    case Shape::Single:
        return link->ReadValue(DescriptorWithoutArrayFlag(), raw);
    case Shape::Row:
        return link->ReadValue(d, raw);
    case Shape::Column:
        return ReadEach(link, RowCount(),
                        [&](int r) { return link->ReadIndexed(DescriptorWithoutArrayFlag(), &raw[r], r); });
    case Shape::Grid:
        break;
    }
    return ReadEach(link, RowCount(), [&](int r) { return link->ReadIndexed(d, &raw[r * ColCount()], r); });
}

bool TOrvMatrix::GetData(double** values)
{
    const bool ok = ReloadKeepingOnFailure();
    for (int r = 0; r < RowCount(); ++r)
        UserValues(r * ColCount(), ColCount(), values[r]);
    return ok;
}

bool TOrvMatrix::GetData(double* values, int row)
{
    if (row < 0 || row >= RowCount())
        return false;
    return GetUserValues(row * ColCount(), ColCount(), values);
}

bool TOrvMatrix::GetData(double* value, int row, int col)
{
    if (!Contains(row, col)) {
        *value = 0;
        return false;
    }
    return GetUserValues(row * ColCount() + col, 1, value);
}

double TOrvMatrix::GetDouble(int row, int col)
{
    double value = 0;
    GetData(&value, row, col);
    return value;
}

int TOrvMatrix::GetInt(int row, int col)
{
    return TruncToInt(GetDouble(row, col) + 0.5);
}

// --- writing ----------------------------------------------------------------

bool TOrvMatrix::WriteAll(LinkInstance* link, const std::vector<int>& raw)
{
    const uint32_t d = Descriptor();
    const int cols = ColCount();
    switch (GetShape()) {
    case Shape::Single:
        return link->WriteValue(d, raw.front());
    case Shape::Row:
        if (SingleElementAccess())
            return ForEach(cols, [&](int c) { return link->WriteIndexed(d, c, raw[size_t(c)]); });
        return link->WriteArray(d, raw.data());
    case Shape::Column:
        return ForEach(RowCount(), [&](int r) { return link->WriteIndexed(d, r, raw[size_t(r)]); });
    case Shape::Grid:
        break;
    }
    if (SingleElementAccess()) {
        return ForEach(ElementCount(), [&](int k) {
            return link->WriteMatrixElement(d, k / cols, k % cols, raw[size_t(k)]);
        });
    }
    return ForEach(RowCount(), [&](int r) { return link->WriteRow(d, &raw[size_t(r) * size_t(cols)], r); });
}

std::vector<int> TOrvMatrix::Flatten(const int* const* raw) const
{
    std::vector<int> flat;
    flat.reserve(size_t(ElementCount()));
    for (int r = 0; r < RowCount(); ++r)
        flat.insert(flat.end(), raw[r], raw[r] + ColCount());
    return flat;
}

bool TOrvMatrix::SetData(const double* const* values)
{
    std::vector<double> flat;
    flat.reserve(size_t(ElementCount()));
    for (int r = 0; r < RowCount(); ++r)
        flat.insert(flat.end(), values[r], values[r] + ColCount());
    return SetUserValues(flat.data());
}

bool TOrvMatrix::SetEcuData(const int* const* raw)
{
    return SetEcuElements(Flatten(raw));
}

bool TOrvMatrix::SetDataInEcu(const int* const* raw)
{
    return WriteWhole(Flatten(raw));
}

bool TOrvMatrix::WritePartOrStore(int first, const std::vector<int>& raw, bool askFirst, const LinkOps& ops)
{
    if (!Connection()) {
        StoreElements(first, raw);
        return true;
    }
    if (!LinkAvailable()) {
        DoError(true);
        return false;
    }
    double unused = 0;
    if (askFirst && !DoBeforeSetData(unused, 0, -1, -1))
        return false;
    return WritePart(first, raw, ops);
}

bool TOrvMatrix::SetData(const double* values, int row)
{
    if (ReadOnly() || row < 0 || row >= RowCount())
        return false;
    const int first = row * ColCount();
    std::vector<int> raw;
    if (const int error = ConvertUserValues(values, first, ColCount(), raw))
        return RefuseWrite(error);
    const uint32_t d = Descriptor();
    return WritePartOrStore(first, raw, true, [&](LinkInstance* link) {
        if (ByAddress())
            return WriteAtAddresses(link, first, raw);
        switch (GetShape()) {
        case Shape::Single:
            return link->WriteValue(d, raw.front());
        case Shape::Row:
            return link->WriteArray(d, raw.data());
        case Shape::Column:
            return link->WriteIndexed(d, row, raw.front());
        case Shape::Grid:
            break;
        }
        return link->WriteRow(d, raw.data(), row);
    });
}

bool TOrvMatrix::SetData(double value, int row, int col)
{
    if (ReadOnly() || !Contains(row, col))
        return false;
    double previous = 0;
    GetData(&previous, row, col);
    if (!DoBeforeSetData(value, previous, row, col))
        return false;
    const int k = row * ColCount() + col;
    std::vector<int> raw;
    if (const int error = ConvertUserValues(&value, k, 1, raw))
        return RefuseWrite(error);
    const uint32_t d = Descriptor();
    const int e = raw.front();
    return WritePartOrStore(k, raw, false, [&](LinkInstance* link) {
        if (ByAddress())
            return WriteAtAddresses(link, k, raw);
        switch (GetShape()) {
        case Shape::Single:
            return link->WriteValue(d, e);
        case Shape::Row:
            return link->WriteIndexed(d, col, e);
        case Shape::Column:
            return link->WriteIndexed(d, row, e);
        case Shape::Grid:
            break;
        }
        return link->WriteMatrixElement(d, row, col, e);
    });
}

// --- file entries -------------------------------------------------------------

QString TOrvMatrix::ElementKey(int k) const
{
    const int row = k / ColCount();
    const int col = k % ColCount();
    switch (Type()) {
    case mtSingle:
        return FileKeyName();
    case mtVector:
        return FileKeyName() + QString::number(ColCount() == 1 ? row : col);
    case mtMatrix:
        break;
    }
    return FileKeyName() + QString::number(row) + QLatin1Char('_') + QString::number(col);
}
