#pragma once

// Items of every kind and shape for the tests of configuration-file entries,
// with the file section "S" and the key "K".

#include "items/OrvMatrix.h"
#include "items/OrvNumber.h"
#include "items/OrvVector.h"

#include <memory>

// kind 0 single value (an element when the indexes are set), 1 vector of cols
// elements (a matrix row or column when an index is set), 2 matrix of rows × cols.
struct ItemShape {
    int kind = 0;
    int rows = 1;
    int cols = 1;
    int rowIndex = -1;
    int colIndex = -1;
};

inline std::unique_ptr<TOrvSerialData> MakeShapedItem(const ItemShape& s)
{
    std::unique_ptr<TOrvSerialData> item;
    if (s.kind == 0) {
        item = std::make_unique<TOrvNumber>(nullptr, 5, s.rowIndex, s.colIndex);
    } else if (s.kind == 1) {
        auto vector = std::make_unique<TOrvVector>();
        vector->SetArrayDimension(s.cols);
        if (s.rowIndex >= 0) {
            vector->SetType(TOrvVector::vtMatrixRow);
            vector->SetRowIndex(s.rowIndex);
        } else if (s.colIndex >= 0) {
            vector->SetType(TOrvVector::vtMatrixCol);
            vector->SetColIndex(s.colIndex);
        }
        item = std::move(vector);
    } else {
        auto matrix = std::make_unique<TOrvMatrix>();
        matrix->SetRowCount(s.rows);
        matrix->SetColCount(s.cols);
        item = std::move(matrix);
    }
    item->SetFileSection(QStringLiteral("S"));
    item->SetFileKeyName(QStringLiteral("K"));
    return item;
}
