#include "app/MainMenuEntries.h"

#include "app/FormScaling.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

const QColor HighlightColour(Qt::yellow);
// The entries stand on a dark panel: the yellow highlight and the other
// entries both read at a contrast of at least 4.5:1 there.
const QColor MenuBackground(0, 96, 96);
const QColor EntryColour(Qt::white);
constexpr int MenuPanelMargin = 16;
constexpr int ArrowDistance = 50;

void SetLabelColour(QLabel* label, const QColor& colour, bool underline)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
}

} // namespace

TMainMenuEntries::TMainMenuEntries(const QList<QLabel*>& labels, const QList<QAction*>& actions,
                                   QLabel* arrow, int screenWidth, QObject* parent)
    : QObject(parent), m_labels(labels), m_actions(actions), m_arrow(arrow),
      m_panel(new QWidget(labels.first()->parentWidget())), m_screenWidth(screenWidth)
{
    m_panel->setObjectName(QStringLiteral("PanelMenu"));
    QPalette panel = m_panel->palette();
    panel.setColor(QPalette::Window, MenuBackground);
    m_panel->setPalette(panel);
    m_panel->setAutoFillBackground(true);
    m_panel->lower();
    for (int i = 0; i < m_labels.size(); ++i) {
        QLabel* label = m_labels[i];
        label->setProperty("Tag", i);
        label->setMouseTracking(true);
        label->installEventFilter(this);
        label->setCursor(Qt::PointingHandCursor);
        SetLabelColour(label, EntryColour, false);
    }
    m_arrow->setProperty("Tag", 0);
    SetLabelColour(m_labels.first(), HighlightColour, true);
}

int TMainMenuEntries::Highlighted() const
{
    return m_arrow->property("Tag").toInt();
}

void TMainMenuEntries::Highlight(int entry)
{
    SetLabelColour(m_labels[Highlighted()], EntryColour, false);
    m_arrow->move(m_arrow->x(), m_labels[entry]->y());
    m_arrow->setProperty("Tag", entry);
    SetLabelColour(m_labels[entry], HighlightColour, true);
}

void TMainMenuEntries::MoveHighlight(int step)
{
    const int count = int(m_labels.size());
    const QWidget* window = m_panel->window();
    const int current = Highlighted();
    if (step > 0) {
        int entry = current + 1;
        while (entry < count && !m_labels[entry]->isVisibleTo(window))
            ++entry;
        Highlight(entry >= count ? 0 : entry);
    } else {
        int entry = (current == 0 ? count : current) - 1;
        while (entry > 0 && !m_labels[entry]->isVisibleTo(window))
            --entry;
        Highlight(entry);
    }
}

void TMainMenuEntries::RunHighlighted()
{
    m_actions[Highlighted()]->trigger();
}

void TMainMenuEntries::Centre(int width)
{
    int widest = 0;
    for (QLabel* label : std::as_const(m_labels)) {
        label->adjustSize();
        widest = qMax(widest, label->width());
    }
    const int left = (width - widest) / 2;
    for (QLabel* label : std::as_const(m_labels))
        label->move(left, label->y());
    m_arrow->move(left - ArrowDistance, m_arrow->y());
    PlacePanel(left, widest);
}

// The panel behind the entries, a margin wider than the widest on every side.
void TMainMenuEntries::PlacePanel(int left, int widest)
{
    const int margin = Scaled(MenuPanelMargin, m_screenWidth);
    int top = m_labels.first()->y();
    int bottom = top;
    for (const QLabel* label : std::as_const(m_labels)) {
        top = qMin(top, label->y());
        bottom = qMax(bottom, label->geometry().bottom());
    }
    m_panel->setGeometry(left - margin, top - margin, widest + 2 * margin, bottom - top + 1 + 2 * margin);
}

bool TMainMenuEntries::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    const int entry = label ? int(m_labels.indexOf(label)) : -1;
    if (entry < 0)
        return false;
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (entry != Highlighted())
            Highlight(entry);
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_actions[entry]->trigger();
        return true;
    }
    return false;
}
