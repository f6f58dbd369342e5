#pragma once

// TOrvMatrix holds a two-dimensional datum of the unit (or a degenerate 1×N,
// N×1 or 1×1 one). The map grid shows one and edits it cell by cell; it hears
// of new dimensions through WMChangeDataDim.

#include "items/OrvArrayData.h"

class TOrvMatrix : public TOrvArrayData {
    Q_OBJECT
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(TMatrixType Type READ Type WRITE SetType)
    // The stored form of the defaults: row count, column count, then the user
    // values row by row.
    Q_PROPERTY(QList<double> DefaultValue READ DefaultValueList WRITE SetDefaultValueList)

public:
    enum TMatrixType { mtSingle, mtVector, mtMatrix };
    Q_ENUM(TMatrixType)

    explicit TOrvMatrix(QObject* owner = nullptr);

    // Dimensions: accepted when above 0, kept as their low 8 bits (a value
    // whose low 8 bits are 0 is refused). A change rebuilds the storage and
    // sends WMChangeDataDim (wParam columns, lParam rows).
    int ColCount() const { return Cols(); }
    void SetColCount(int count);
    int RowCount() const { return Rows(); }
    void SetRowCount(int count);
    // mtMatrix when both counts are above 1, mtSingle when both are 1.
    TMatrixType Type() const;
    // mtSingle makes the matrix 1×1; mtVector 1 row × 5 columns unless exactly
    // one dimension is 1 already; mtMatrix raises 1 column to 5 and 1 row to 4.
    void SetType(TMatrixType type);

    // The default user value of an element (0 outside the matrix; writes there are ignored).
    double DefaultValue(int row, int col) const;
    void SetDefaultValue(int row, int col, double value);
    QList<double> DefaultValueList() const;
    void SetDefaultValueList(const QList<double>& list);
    // The element being converted, read or written in an element loop; -1 otherwise.
    int CurrentRow() const { return Cursor() < 0 ? -1 : Cursor() / ColCount(); }
    int CurrentCol() const { return Cursor() < 0 ? -1 : Cursor() % ColCount(); }

    // All elements as user values, values[row][col]: read from the unit when
    // not loaded (a failed read keeps the values held, and gives false).
    bool GetData(double** values);
    bool SetData(const double* const* values);
    // One row of ColCount values; false for a row outside the matrix.
    bool GetData(double* values, int row);
    bool SetData(const double* values, int row);
    // One element; false (and 0) for an element outside the matrix.
    bool GetData(double* value, int row, int col);
    bool SetData(double value, int row, int col);
    int GetInt(int row, int col);
    bool SetInt(int row, int col, int value) { return SetData(double(value), row, col); }
    double GetDouble(int row, int col);
    bool SetDouble(int row, int col, double value) { return SetData(value, row, col); }
    // Raw writes of all elements, raw[row][col]: merged with the bits of other
    // items for a partial mask, or written as given.
    bool SetEcuData(const int* const* raw);
    bool SetDataInEcu(const int* const* raw);

protected:
    bool ReadAll(LinkInstance* link) override;
    bool WriteAll(LinkInstance* link, const std::vector<int>& raw) override;
    QString ElementKey(int k) const override;
    int HcfTag() const override { return 0xF6 + int(Type()); }
    bool HcfShapeFits(int cols, int rows) const override { return cols == ColCount() && rows == RowCount(); }

private:
    // The link operations differ for a one-row (1 × C) and a one-column (R × 1)
    // matrix, both of type mtVector.
    enum class Shape { Single, Row, Column, Grid };
    Shape GetShape() const;
    void SetDimensions(int rows, int cols);
    bool Contains(int row, int col) const
    {
        return row >= 0 && row < RowCount() && col >= 0 && col < ColCount();
    }
    std::vector<int> Flatten(const int* const* raw) const;
    // The end of a row or element write: without a connection the elements are
    // stored; a library that cannot be loaded refuses the write. askFirst runs
    // BeforeSetData (0, 0, -1, -1) once the link is there.
    bool WritePartOrStore(int first, const std::vector<int>& raw, bool askFirst, const LinkOps& ops);
};
