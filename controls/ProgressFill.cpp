#include "controls/ProgressFill.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <cmath>

TProgressFill::TProgressFill(QWidget* parent) : QWidget(parent) {}

void TProgressFill::SetPercent(int percent)
{
    m_percent = qBound(0, percent, 100);
    update();
}

void TProgressFill::SetStartColor(const QColor& color)
{
    m_startColor = color;
    update();
}

void TProgressFill::SetEndColor(const QColor& color)
{
    m_endColor = color;
    update();
}

void TProgressFill::SetColor(const QColor& color)
{
    m_startColor = m_endColor = color;
    update();
}

void TProgressFill::SetSteps(int steps)
{
    m_steps = qMax(1, steps);
    update();
}

void TProgressFill::SetLowered(bool lowered)
{
    m_lowered = lowered;
    update();
}

QColor TProgressFill::BandColor(int band) const
{
    if (m_steps == 1)
        return m_startColor;
    const double t = double(band) / (m_steps - 1);
    auto mix = [t](int from, int to) { return int(std::lround(from + (to - from) * t)); };
    return QColor(mix(m_startColor.red(), m_endColor.red()), mix(m_startColor.green(), m_endColor.green()),
                  mix(m_startColor.blue(), m_endColor.blue()));
}

QSize TProgressFill::sizeHint() const
{
    return QSize(100, 25);
}

void TProgressFill::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    if (m_lowered) {
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.frameShape = QFrame::Panel;
        frame.state |= QStyle::State_Sunken;
        frame.lineWidth = 1;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        area.adjust(1, 1, -1, -1);
    }
    const int filled = area.width() * m_percent / 100;
    // The gradient spans the whole bar; the fill uncovers it up to the percentage.
    for (int band = 0; band < m_steps; ++band) {
        const int from = area.left() + area.width() * band / m_steps;
        const int to = qMin(area.left() + area.width() * (band + 1) / m_steps, area.left() + filled);
        if (to > from)
            painter.fillRect(QRect(from, area.top(), to - from, area.height()), BandColor(band));
    }
}
