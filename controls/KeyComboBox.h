#pragma once

// TKeyComboBox is a drop-down list with the keyboard model of the bound combo
// box but without an item: a confirmation only stores SavedIndex. Up and Down
// with the list closed follow the NextControl / PrevControl chain when MoveFocus
// is on. DataCode, DataIndex and VisibilityLevel are kept for the application.

#include "controls/ConfirmComboBox.h"

#include <QPointer>

class TKeyComboBox : public TConfirmComboBox {
    Q_OBJECT
    Q_PROPERTY(int DataCode READ DataCode WRITE SetDataCode)
    Q_PROPERTY(int DataIndex READ DataIndex WRITE SetDataIndex)
    Q_PROPERTY(bool MoveFocus READ MoveFocus WRITE SetMoveFocus)
    Q_PROPERTY(QWidget* NextControl READ NextControl WRITE SetNextControl)
    Q_PROPERTY(QWidget* PrevControl READ PrevControl WRITE SetPrevControl)
    Q_PROPERTY(int VisibilityLevel READ VisibilityLevel WRITE SetVisibilityLevel)

public:
    explicit TKeyComboBox(QWidget* parent = nullptr);

    int DataCode() const { return m_dataCode; }
    void SetDataCode(int code) { m_dataCode = code; }
    int DataIndex() const { return m_dataIndex; }
    void SetDataIndex(int index) { m_dataIndex = index; }
    bool MoveFocus() const { return m_moveFocus; }
    void SetMoveFocus(bool on) { m_moveFocus = on; }
    QWidget* NextControl() const { return m_nextControl; }
    void SetNextControl(QWidget* control) { m_nextControl = control; }
    QWidget* PrevControl() const { return m_prevControl; }
    void SetPrevControl(QWidget* control) { m_prevControl = control; }
    int VisibilityLevel() const { return m_visibilityLevel; }
    void SetVisibilityLevel(int level) { m_visibilityLevel = qBound(0, level, 100); }

    // The control that should receive the focus along the chain, or none.
    QWidget* GetNextControl() const;
    QWidget* GetPrevControl() const;

protected:
    void Confirm(int) override {}
    bool ArrowMovesFocus(bool next) override;

private:
    int m_dataCode = -1;
    int m_dataIndex = -1;
    bool m_moveFocus = true;
    QPointer<QWidget> m_nextControl;
    QPointer<QWidget> m_prevControl;
    int m_visibilityLevel = 90;
};
