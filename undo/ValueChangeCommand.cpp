#include "undo/ValueChangeCommand.h"

#include "items/OrvNumber.h"
#include "model/FitterWords.h"
#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "undo/UndoRecorder.h"

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
        if (same != m_changes.end()) {
            same->after = change.after;
            same->userAfter = change.userAfter;
        } else {
            m_changes.append(change);
        }
    }
    m_when = next->m_when;
    setObsolete(std::all_of(m_changes.cbegin(), m_changes.cend(),
                            [](const TRawChange& change) { return change.before == change.after; }));
    UpdateText();
    return true;
}

namespace {

QString Line(const TValueWords& words)
{
    return words.caption + QStringLiteral(": ") + words.before + QStringLiteral(" → ") + words.after;
}

// The lines of one item's change. A value a rule rewrote on a new scale keeps
// its engineering value: it is named with that value, as rewritten.
QStringList Lines(const TFitterWords& words, const TRawChange& change)
{
    QStringList lines;
    for (const TValueWords& line : words.Difference(*change.item, change.userBefore, change.userAfter)) {
        if (line.before != line.after)
            lines << Line(line);
    }
    if (lines.isEmpty())
        lines << words.Caption(*change.item) + QStringLiteral(": ") +
                     words.Value(*change.item, change.userAfter) + QStringLiteral(" (") +
                     words.Text(TextIndex::RescaledSameValue, QString()) + QLatin1Char(')');
    return lines;
}

} // namespace

THistoryEntry TValueChangeCommand::Entry(const TFitterWords& words) const
{
    THistoryEntry entry;
    entry.change = Lines(words, m_changes.first()).join(QStringLiteral("; "));
    for (qsizetype i = 1; i < m_changes.size(); ++i)
        entry.followOns << Lines(words, m_changes.at(i));
    return entry;
}

// "14:22:33  Giri di cutoff: 3000 RPM → 3500 RPM": the time and the edited
// item's change in the language of the moment the change was made.
void TValueChangeCommand::UpdateText()
{
    const TFitterWords words(*m_recorder.Module()->Translator());
    setText(m_when.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + Entry(words).change);
}
