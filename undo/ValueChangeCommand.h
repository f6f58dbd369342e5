#pragma once

// One change of the user on the unit: the edited item and the items its rules
// rewrote (the engine speeds after a new ignition type, the actuator positions
// after a new limit), each with its raw value before and after. Undo writes
// every old value back, redo every new one. Repeated edits of one item merge
// into one change. The history tells it in the fitter's words: the edited
// item's change, and the items the rules rewrote as its follow-ons.

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QUndoCommand>

class TFitterWords;
class TOrvNumber;
class TUndoRecorder;

struct TRawChange {
    TOrvNumber* item;
    int before;
    int after;
    // The values in engineering units on the scales in force before and after
    // the change (a rule may change an item's scale with its bytes).
    double userBefore;
    double userAfter;
};

// A change as the history lists it: "Tipo accensione: 4 cilindri → 6 cilindri",
// then a line for each value the rules rewrote with it.
struct THistoryEntry {
    QString change;
    QStringList followOns;
};

class TValueChangeCommand : public QUndoCommand {
public:
    // changes: the edited item first. The values are in the unit already: the
    // first redo (QUndoStack::push) writes nothing.
    TValueChangeCommand(TUndoRecorder& recorder, const QList<TRawChange>& changes, const QDateTime& when);

    void undo() override;
    void redo() override;
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override;

    TOrvNumber* EditedItem() const { return m_changes.first().item; }
    const QList<TRawChange>& Changes() const { return m_changes; }
    QDateTime When() const { return m_when; }
    THistoryEntry Entry(const TFitterWords& words) const;

private:
    void Write(bool after);
    void UpdateText();

    TUndoRecorder& m_recorder;
    QList<TRawChange> m_changes;
    QDateTime m_when;
    bool m_written = true;
};
