#pragma once

// TOrvVector holds a one-dimensional datum of the unit: a whole vector, or one
// row or one column of a matrix datum. Labels show its elements as text and the
// map grid uses vectors for the breakpoints of its axes.

#include "items/OrvArrayData.h"

class TOrvVector : public TOrvArrayData {
    Q_OBJECT
    Q_PROPERTY(int ArrayDimension READ ArrayDimension WRITE SetArrayDimension)
    Q_PROPERTY(TVectorType Type READ Type WRITE SetType)
    Q_PROPERTY(int RowIndex READ RowIndex WRITE SetRowIndex)
    Q_PROPERTY(int ColIndex READ ColIndex WRITE SetColIndex)
    // The stored form of the defaults: the count, then that many user values.
    Q_PROPERTY(QList<double> DefaultValue READ DefaultValueList WRITE SetDefaultValueList)

public:
    enum TVectorType { vtSingle, vtMatrixRow, vtMatrixCol };
    Q_ENUM(TVectorType)

    explicit TOrvVector(QObject* owner = nullptr);

    // The element count: accepted when above 0, kept as its low 8 bits (a
    // value whose low 8 bits are 0 is refused); a change rebuilds the storage.
    int ArrayDimension() const { return Cols(); }
    void SetArrayDimension(int dimension);
    // vtMatrixCol while ColIndex ≥ 0, else vtMatrixRow while RowIndex ≥ 0.
    TVectorType Type() const;
    void SetType(TVectorType type);
    int RowIndex() const { return m_rowIndex; }
    // Moves a row vector to another row; ignored for other types and negative rows.
    void SetRowIndex(int index);
    int ColIndex() const { return m_colIndex; }
    // Moves a column vector to another column; ignored for other types and negative columns.
    void SetColIndex(int index);

    // The default user value of element i (0 outside the vector; writes there are ignored).
    double DefaultValue(int i) const { return DefaultAt(i); }
    void SetDefaultValue(int i, double value) { SetDefaultAt(i, value); }
    QList<double> DefaultValueList() const;
    void SetDefaultValueList(const QList<double>& list);
    // The element being converted, read or written in an element loop; -1 otherwise.
    int CurrentElement() const { return Cursor(); }

    // All ArrayDimension elements as user values: read from the unit when not
    // loaded (a failed read keeps the values held, and gives false).
    bool GetData(double* values);
    bool SetData(const double* values);
    // Element i; false (and 0) for an element outside the vector.
    bool GetData(double* value, unsigned i);
    bool SetData(double value, unsigned i);
    // Raw writes of ArrayDimension elements: merged with the bits of other
    // items for a partial mask, or written as given.
    bool SetEcuData(const int* raw);
    bool SetDataInEcu(const int* raw);

protected:
    bool ReadAll(LinkInstance* link) override;
    bool WriteAll(LinkInstance* link, const std::vector<int>& raw) override;
    QString ElementKey(int k) const override;
    int HcfTag() const override { return 0xF3 + int(Type()); }
    bool HcfShapeFits(int cols, int) const override { return cols == ArrayDimension(); }

private:
    bool WriteElement(LinkInstance* link, int i, int raw) const;

    int m_rowIndex = -1;
    int m_colIndex = -1;
};
