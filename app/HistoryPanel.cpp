#include "app/HistoryPanel.h"

#include "app/FormScaling.h"
#include "model/FitterWords.h"
#include "undo/ValueChangeCommand.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

THistoryPanel::THistoryPanel(QUndoStack* stack, TTranslator* translator, int screenWidth, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_stack(stack), m_translator(translator), m_tree(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("HistoryPanel"));
    m_tree->setColumnCount(2);
    m_tree->header()->hide();
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setWordWrap(true); // a long change in a narrow window takes a second line
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    ScaleTextWindow(this, screenWidth, 520, 320);
    connect(m_stack, &QUndoStack::indexChanged, this, &THistoryPanel::Rebuild);
    connect(m_tree, &QTreeWidget::itemClicked, this, &THistoryPanel::RowClicked);
    Rebuild();
}

void THistoryPanel::SetTexts(const QString& caption, const QString& cleanText)
{
    setWindowTitle(caption);
    m_cleanText = cleanText;
    Rebuild();
}

namespace {

// A step of the stack in the fitter's words: a change with its follow-ons, or
// a group of changes (the road test's suggestions) with its changes.
THistoryEntry EntryOf(const QUndoCommand& command, const TFitterWords& words)
{
    if (const auto* change = dynamic_cast<const TValueChangeCommand*>(&command))
        return change->Entry(words);
    THistoryEntry entry{command.text(), {}};
    for (int index = 0; index < command.childCount(); ++index) {
        if (const auto* change = dynamic_cast<const TValueChangeCommand*>(command.child(index))) {
            const THistoryEntry part = change->Entry(words);
            entry.followOns << part.change << part.followOns;
        }
    }
    return entry;
}

QString TimeOf(const QUndoCommand& command)
{
    const auto* change = dynamic_cast<const TValueChangeCommand*>(&command);
    if (!change && command.childCount() > 0)
        change = dynamic_cast<const TValueChangeCommand*>(command.child(0));
    return change ? change->When().toString(QStringLiteral("HH:mm:ss")) : QString();
}

} // namespace

// Row 0 is the state before any change, row i the state after step i; a
// follow-on line stands for its step.
void THistoryPanel::Rebuild()
{
    m_tree->clear();
    new QTreeWidgetItem(m_tree, {QString(), m_cleanText});
    const TFitterWords words(*m_translator);
    const QBrush undone = palette().brush(QPalette::Disabled, QPalette::Text);
    for (int index = 0; index < m_stack->count(); ++index) {
        const QUndoCommand& command = *m_stack->command(index);
        const THistoryEntry entry = EntryOf(command, words);
        auto* row = new QTreeWidgetItem(m_tree, {TimeOf(command), entry.change});
        for (const QString& line : entry.followOns)
            new QTreeWidgetItem(row, {QString(), line});
        row->setExpanded(true);
        if (index < m_stack->index())
            continue;
        // Undone: greyed until redone.
        row->setForeground(1, undone);
        row->setForeground(0, undone);
        for (int line = 0; line < row->childCount(); ++line)
            row->child(line)->setForeground(1, undone);
    }
    m_tree->setCurrentItem(m_tree->topLevelItem(m_stack->index()));
}

void THistoryPanel::RowClicked(QTreeWidgetItem* row)
{
    while (row->parent())
        row = row->parent();
    m_stack->setIndex(m_tree->indexOfTopLevelItem(row));
}
