#include "chart/ChartPanes.h"

#include "chart/ChartChannels.h"
#include "chart/ChartPane.h"
#include "datalog/LiveChannels.h"

#include <QVBoxLayout>

TChartPanes::TChartPanes(const QStringList& labels, QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int pane = 0; pane < ChartChannels::PaneCount; ++pane) {
        auto* view = new TChartPane(ChartChannels::OfPane(pane), labels, this);
        view->setObjectName(QStringLiteral("ChartPane%1").arg(pane));
        layout->addWidget(view, 1);
        connect(view, &TChartPane::Clicked, this, &TChartPanes::Clicked);
        connect(view, &TChartPane::WheelTurned, this, &TChartPanes::WheelTurned);
        m_panes << view;
    }
    m_visible = QList<bool>(ChartChannels::All().size(), true);
    PlacePanes();
}

void TChartPanes::SetLabels(const QStringList& labels)
{
    for (TChartPane* pane : std::as_const(m_panes))
        pane->SetLabels(labels);
}

void TChartPanes::SetLegendsVisible(bool visible)
{
    for (TChartPane* pane : std::as_const(m_panes))
        pane->SetLegendVisible(visible);
}

void TChartPanes::SetBandNames(const QStringList& lambdaBand)
{
    m_panes.at(ChartChannels::All().at(LiveChannel::LambdaBand).pane)->SetBandNames(lambdaBand);
}

void TChartPanes::SetGapTexts(const QStringList& texts)
{
    for (TChartPane* pane : std::as_const(m_panes))
        pane->SetGapTexts(texts);
}

void TChartPanes::SetLambdaReference(double volts, const QString& label)
{
    m_panes.at(ChartChannels::All().at(LiveChannel::Lambda).pane)->SetReference(volts, label);
}

void TChartPanes::SetChannelVisible(int channel, bool visible)
{
    if (channel < 0 || channel >= m_visible.size())
        return;
    m_visible[channel] = visible;
    m_panes.at(ChartChannels::All().at(channel).pane)->SetChannelVisible(channel, visible);
    PlacePanes();
}

void TChartPanes::PlacePanes()
{
    TChartPane* lowest = nullptr;
    for (TChartPane* pane : std::as_const(m_panes)) {
        const bool shown = pane->HasVisibleChannel();
        pane->setVisible(shown);
        pane->SetTimeLabelsVisible(false);
        if (shown)
            lowest = pane;
    }
    if (lowest)
        lowest->SetTimeLabelsVisible(true);
}

void TChartPanes::Draw(const TSampleRing* ring, double from, double to, double cursor, double origin)
{
    static const TSampleRing empty(0);
    for (TChartPane* pane : std::as_const(m_panes)) {
        if (!pane->isHidden())
            pane->Draw(ring ? *ring : empty, from, to, cursor, origin);
    }
    AlignPlotAreas();
}

// One moment lies at one x in every pane: each pane gets the room its
// neighbours' wider scales take. The panes lay out later, so this takes
// effect from the next drawing on.
void TChartPanes::AlignPlotAreas()
{
    double left = 0;
    double right = 0;
    for (const TChartPane* pane : std::as_const(m_panes)) {
        if (pane->isHidden())
            continue;
        left = std::max(left, pane->NaturalRoom().left());
        right = std::max(right, pane->NaturalRoom().right());
    }
    for (TChartPane* pane : std::as_const(m_panes)) {
        if (!pane->isHidden())
            pane->SetExtraRoom(left - pane->NaturalRoom().left(), right - pane->NaturalRoom().right());
    }
}
