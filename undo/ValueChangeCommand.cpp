#include "undo/ValueChangeCommand.h"

#include "items/OrvNumber.h"
#include "support/NumberText.h"
#include "undo/UndoRecorder.h"

#include <QLocale>
#include <algorithm>
#include <utility>

TValueChangeCommand::TValueChangeCommand(TUndoRecorder& recorder, const QList<TRawChange>& changes,
                                         const QDateTime& when)
    : m_recorder(recorder), m_changes(changes), m_when(when)
{
    UpdateText();
}

void TValueChangeCommand::undo()
{
    Write(false);
}

void TValueChangeCommand::redo()
{
    if (!std::exchange(m_written, false))
        Write(true);
}

void TValueChangeCommand::Write(bool after)
{
    QList<QPair<TOrvNumber*, int>> values;
    for (const TRawChange& change : std::as_const(m_changes))
        values.append({change.item, after ? change.after : change.before});
    m_recorder.Apply(values);
}

bool TValueChangeCommand::mergeWith(const QUndoCommand* other)
{
    const auto* next = static_cast<const TValueChangeCommand*>(other);
    if (next->EditedItem() != EditedItem())
        return false;
    for (const TRawChange& change : next->Changes()) {
        auto same = std::find_if(m_changes.begin(), m_changes.end(),
                                 [&](const TRawChange& mine) { return mine.item == change.item; });
        if (same != m_changes.end())
            same->after = change.after;
        else
            m_changes.append(change);
    }
    m_when = next->m_when;
    setObsolete(std::all_of(m_changes.cbegin(), m_changes.cend(),
                            [](const TRawChange& change) { return change.before == change.after; }));
    UpdateText();
    return true;
}

// "14:22:33  GIRI CUTOFF  3000 -> 3500 RPM (+2)": the time, the edited item's
// file key, its values in engineering units, and how many items followed.
void TValueChangeCommand::UpdateText()
{
    TOrvNumber* item = EditedItem();
    const TRawChange& edit = m_changes.first();
    auto value = [item](int raw) { return GeneralNumberText(item->ConvertValueToUser(raw), QLocale::c()); };
    QString text = m_when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + item->FileKey() +
                   QStringLiteral("  ") + value(edit.before) + QStringLiteral(" -> ") + value(edit.after);
    if (!item->MeasureUnit().isEmpty())
        text += QLatin1Char(' ') + item->MeasureUnit();
    if (m_changes.size() > 1)
        text += QStringLiteral(" (+%1)").arg(m_changes.size() - 1);
    setText(text);
}
