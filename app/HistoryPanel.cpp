#include "app/HistoryPanel.h"

#include <QUndoView>
#include <QVBoxLayout>

THistoryPanel::THistoryPanel(QUndoStack* stack, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_view(new QUndoView(stack, this))
{
    setObjectName(QStringLiteral("HistoryPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(420, 300);
}

void THistoryPanel::SetTexts(const QString& caption, const QString& cleanText)
{
    setWindowTitle(caption);
    m_view->setEmptyLabel(cleanText);
}
