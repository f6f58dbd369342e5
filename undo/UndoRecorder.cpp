#include "undo/UndoRecorder.h"

#include "items/OrvNumber.h"
#include "model/SerialDataModule.h"
#include "undo/ValueChangeCommand.h"

#include <QDateTime>
#include <QUndoStack>

TUndoRecorder::TUndoRecorder(TSerialDataModule* module, QObject* owner)
    : QObject(owner), m_module(module), m_stack(new QUndoStack(this)), m_items(module->LoadableItems())
{
    connect(module, &TSerialDataModule::ValueEdited, this, &TUndoRecorder::OnValueEdited);
    connect(module, &TSerialDataModule::ConfigurationReread, this, &TUndoRecorder::Restart);
    TakeSnapshot();
}

void TUndoRecorder::TakeSnapshot()
{
    for (TOrvNumber* item : std::as_const(m_items)) {
        m_snapshot[item] = item->RawValue();
        m_userSnapshot[item] = item->ConvertValueToUser(item->RawValue());
    }
}

void TUndoRecorder::Restart()
{
    if (m_applying)
        return;
    m_stack->clear();
    TakeSnapshot();
}

void TUndoRecorder::OnValueEdited(TOrvNumber* cause)
{
    if (m_applying || !m_snapshot.contains(cause))
        return;
    // The edited item first, then the ones its rules rewrote, in catalogue order.
    QList<TRawChange> changes;
    auto add = [&](TOrvNumber* item) {
        const int before = m_snapshot.value(item);
        if (item->RawValue() != before)
            changes.append({item, before, item->RawValue(), m_userSnapshot.value(item),
                            item->ConvertValueToUser(item->RawValue())});
    };
    add(cause);
    for (TOrvNumber* item : std::as_const(m_items)) {
        if (item != cause)
            add(item);
    }
    TakeSnapshot();
    if (!changes.isEmpty())
        m_stack->push(new TValueChangeCommand(*this, changes, QDateTime::currentDateTime()));
}

bool TUndoRecorder::Apply(const QList<QPair<TOrvNumber*, int>>& values)
{
    m_applying = true;
    const bool ok = m_module->WriteRawValues(values);
    m_applying = false;
    TakeSnapshot();
    return ok;
}
