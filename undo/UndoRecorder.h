#pragma once

// TUndoRecorder records every value the user changes on the unit as a command
// on a QUndoStack: the edited item and the items its rules rewrote, each with
// the unit's raw value before and after. It keeps the raw values the module
// holds, and when the module announces an edit it compares them with the new
// ones: whatever changed belongs to that edit, so one undo restores the unit's
// bytes exactly as they were.

#include <QHash>
#include <QObject>
#include <QPair>

class QUndoStack;
class TOrvNumber;
class TSerialDataModule;

class TUndoRecorder : public QObject {
    Q_OBJECT

public:
    explicit TUndoRecorder(TSerialDataModule* module, QObject* owner = nullptr);

    QUndoStack* Stack() const { return m_stack; }
    TSerialDataModule* Module() const { return m_module; }

    // Writes raw values back to the unit (an undo or a redo) without recording
    // them as an edit; false when the unit did not take one of them.
    bool Apply(const QList<QPair<TOrvNumber*, int>>& values);

private:
    void OnValueEdited(TOrvNumber* cause);
    // The module's values are taken as they are now; the history starts anew.
    void Restart();
    void TakeSnapshot();

    TSerialDataModule* m_module;
    QUndoStack* m_stack;
    QList<TOrvNumber*> m_items;
    QHash<TOrvNumber*, int> m_snapshot;
    QHash<TOrvNumber*, double> m_userSnapshot; // the same in engineering units, on the scales then
    bool m_applying = false;
};
