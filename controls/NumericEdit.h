#pragma once

// TNumericEdit is an unbound numeric field (see TNumberEditBase). Return and
// Down pass the focus along the NextControl chain, Up along the PrevControl
// chain; hidden or disabled numeric edits and key combo boxes in a chain are
// skipped. DisableLimit switches the limits off. DataCode, DataIndex and
// VisibilityLevel are kept for the application.

#include "controls/NumberEditBase.h"

#include <QPointer>

class TNumericEdit : public TNumberEditBase {
    Q_OBJECT
    Q_PROPERTY(bool DisableLimit READ DisableLimit WRITE SetDisableLimit)
    Q_PROPERTY(int DataCode READ DataCode WRITE SetDataCode)
    Q_PROPERTY(int DataIndex READ DataIndex WRITE SetDataIndex)
    Q_PROPERTY(QWidget* NextControl READ NextControl WRITE SetNextControl)
    Q_PROPERTY(QWidget* PrevControl READ PrevControl WRITE SetPrevControl)
    Q_PROPERTY(int VisibilityLevel READ VisibilityLevel WRITE SetVisibilityLevel)

public:
    explicit TNumericEdit(QWidget* parent = nullptr);

    bool DisableLimit() const { return m_disableLimit; }
    void SetDisableLimit(bool on) { m_disableLimit = on; }
    int DataCode() const { return m_dataCode; }
    void SetDataCode(int code) { m_dataCode = code; }
    int DataIndex() const { return m_dataIndex; }
    void SetDataIndex(int index) { m_dataIndex = index; }
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
    void MoveFocusOn(bool next, bool confirming) override;

private:
    int m_dataCode = -1;
    int m_dataIndex = -1;
    QPointer<QWidget> m_nextControl;
    QPointer<QWidget> m_prevControl;
    int m_visibilityLevel = 90;
};
