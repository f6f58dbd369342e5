#pragma once

// TGridReference is one axis of the map grid: what its header row (column
// axis, "Columns") or header column (row axis, "Rows") shows. With rtData the
// headers are the breakpoints held by a vector item, written with DataFormat;
// with rtStrings they are the Descriptions. The axis also keeps the texts of
// the breakpoint dialog (MsgStrings, name=value lines) and the order that
// dialog insists on (SortType). Every setter repaints the grid; Visible adds or
// removes the header.

#include "controls/ChildLabel.h"
#include "controls/ItemLink.h"
#include "items/OrvVector.h"

#include <QObject>
#include <QStringList>

class TOrvGrid;

class TGridReference : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList Descriptions READ Descriptions WRITE SetDescriptions)
    Q_PROPERTY(QString DataFormat READ DataFormat WRITE SetDataFormat)
    Q_PROPERTY(TGridRefType Type READ Type WRITE SetType)
    Q_PROPERTY(TOrvVector* Data READ Data WRITE SetData)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QStringList MsgStrings READ MsgStrings WRITE SetMsgStrings)
    Q_PROPERTY(TRefSortType SortType READ SortType WRITE SetSortType)
    Q_PROPERTY(TChildLabel::TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    enum TGridRefType { rtNone, rtData, rtStrings };
    Q_ENUM(TGridRefType)
    enum TRefSortType { stNone, stAscent, stDescent };
    Q_ENUM(TRefSortType)

    // An axis of the table, which owns it, under the given component name.
    TGridReference(TOrvGrid* table, const QString& name);

    QStringList Descriptions() const { return m_descriptions; }
    void SetDescriptions(const QStringList& descriptions);
    QString DataFormat() const { return m_dataFormat; }
    void SetDataFormat(const QString& format);
    TGridRefType Type() const { return m_type; }
    void SetType(TGridRefType type);
    TOrvVector* Data() const { return m_data.Get(); }
    void SetData(TOrvVector* vector);
    bool Visible() const { return m_visible; }
    // Recounts the table's fixed rows or columns.
    void SetVisible(bool visible);
    QStringList MsgStrings() const { return m_msgStrings; }
    void SetMsgStrings(const QStringList& texts);
    TRefSortType SortType() const { return m_sortType; }
    void SetSortType(TRefSortType type);
    TChildLabel::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TChildLabel::TAlignment alignment);

    // The vector whose values the headers show: Data when Type is rtData, else none.
    TOrvVector* Breakpoints() const { return m_type == rtData ? Data() : nullptr; }

protected:
    // A new value of the vector repaints the headers.
    bool event(QEvent* event) override;

private:
    void Repaint() const;

    QStringList m_descriptions;
    TOrvGrid* m_table;
    TGridRefType m_type = rtData;
    TItemLink<TOrvVector> m_data{this};
    bool m_visible = true;
    QString m_dataFormat;
    QStringList m_msgStrings;
    TRefSortType m_sortType = stNone;
    TChildLabel::TAlignment m_alignment = TChildLabel::taCenter;
};
