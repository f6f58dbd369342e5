#include "controls/StatusBar.h"

#include <QHBoxLayout>
#include <QLabel>

TStatusBar::TStatusBar(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
}

QLabel* TStatusBar::Panel(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels.at(index) : nullptr;
}

int TStatusBar::AddPanel(int width, const QFont& font, const QColor& textColor)
{
    auto* panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setFont(font);
    if (width > 0)
        panel->setFixedWidth(width);
    layout()->addWidget(panel);
    if (width <= 0)
        static_cast<QHBoxLayout*>(layout())->setStretchFactor(panel, 1);
    m_panels.append(panel);
    if (textColor.isValid())
        SetPanelTextColor(PanelCount() - 1, textColor);
    return PanelCount() - 1;
}

QString TStatusBar::PanelText(int index) const
{
    const QLabel* panel = Panel(index);
    return panel ? panel->text() : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (QLabel* panel = Panel(index))
        panel->setText(text);
}

QColor TStatusBar::PanelTextColor(int index) const
{
    const QLabel* panel = Panel(index);
    return panel ? panel->palette().color(QPalette::WindowText) : QColor();
}

void TStatusBar::SetPanelTextColor(int index, const QColor& color)
{
    QLabel* panel = Panel(index);
    if (!panel)
        return;
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, color);
    panel->setPalette(palette);
}

void TStatusBar::SetPanelFont(int index, const QFont& font)
{
    if (QLabel* panel = Panel(index))
        panel->setFont(font);
}
