#include "chart/ChartReadings.h"

#include "chart/ChartChannels.h"
#include "datalog/LiveChannels.h"
#include "datalog/LoopFigures.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace {

constexpr int FigureCount = 6;

QString Percent(double share)
{
    return QStringLiteral("%1 %").arg(share * 100, 0, 'f', 0);
}

} // namespace

TChartReadings::TChartReadings(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 0, 0, 0);
    m_cursorTitle = new QLabel(this);
    grid->addWidget(m_cursorTitle, 0, 0, 1, 2);
    int row = 1;
    for (int channel = 0; channel < LiveChannel::Count; ++channel) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("CheckChannel%1").arg(channel));
        box->setChecked(true);
        box->setFocusPolicy(Qt::NoFocus);
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, ChartChannels::All().at(channel).colour.darker(130));
        box->setPalette(palette);
        auto* value = new QLabel(this);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("00000.00")));
        grid->addWidget(box, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        connect(box, &QCheckBox::toggled, this,
                [this, channel](bool on) { emit ChannelToggled(channel, on); });
        m_channelBoxes << box;
        m_valueLabels << value;
    }
    grid->setRowMinimumHeight(row++, 12);
    m_figuresTitle = new QLabel(this);
    m_figuresTitle->setWordWrap(true);
    grid->addWidget(m_figuresTitle, row++, 0, 1, 2);
    for (int figure = 0; figure < FigureCount; ++figure) {
        auto* name = new QLabel(this);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("LabelFigure%1").arg(figure));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(name, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
        m_figureNames << name;
        m_figureValues << value;
    }
    grid->setRowStretch(row, 1);
}

void TChartReadings::RefreshInterfaceText(TTranslator* translator)
{
    m_cursorText = translator->GetString(TextIndex::ChartCursor, QStringLiteral("Cursor"));
    m_cursorTitle->setText(m_cursorText);
    m_figuresTitle->setText(translator->GetString(TextIndex::VisibleWindowFigures,
                                                  QStringLiteral("Figures of the visible window")));
    const QStringList labels = ChartChannels::Labels(translator);
    for (int channel = 0; channel < m_channelBoxes.size(); ++channel)
        m_channelBoxes[channel]->setText(labels.at(channel));
    const QList<QPair<int, const char*>> figures = {{249, "Lambda switching"}, {250, "Lean"},
                                                    {251, "In band"},          {252, "Rich"},
                                                    {253, "Actuator mean"},    {254, "Actuator span"}};
    for (int figure = 0; figure < figures.size(); ++figure)
        m_figureNames[figure]->setText(
            translator->GetString(figures[figure].first, QLatin1String(figures[figure].second)));
}

void TChartReadings::Show(const TSampleRing& ring, int row, double origin, double from, double to)
{
    m_cursorTitle->setText(
        row < 0 ? m_cursorText
                : QStringLiteral("%1: %2 s").arg(m_cursorText).arg(ring.Time(row) - origin, 0, 'f', 1));
    for (int channel = 0; channel < m_valueLabels.size(); ++channel) {
        m_valueLabels[channel]->setText(row < 0 ? QStringLiteral("-")
                                                : QString::number(ring.Value(row, channel), 'f',
                                                                  ChartChannels::All().at(channel).decimals));
    }
    const TLoopFigures figures = LoopFigures::Compute(ring, from, to);
    const QStringList values =
        figures.valid ? QStringList{QStringLiteral("%1 /s").arg(figures.switchingRate, 0, 'f', 2),
                                    Percent(figures.leanShare),
                                    Percent(figures.inBandShare),
                                    Percent(figures.richShare),
                                    QString::number(figures.actuatorMean, 'f', 1),
                                    QString::number(figures.actuatorSpan, 'f', 0)}
                      : QStringList();
    for (int figure = 0; figure < m_figureValues.size(); ++figure)
        m_figureValues[figure]->setText(values.value(figure, QStringLiteral("-")));
}
