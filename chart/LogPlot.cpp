#include "chart/LogPlot.h"

#include "chart/ChartChannels.h"
#include "chart/ChartPanes.h"
#include "datalog/LoopFigures.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace LogPlot {

namespace {

QString FiguresText(const TLoopFigures& figures)
{
    if (!figures.valid)
        return QString();
    return QStringLiteral("Lambda switching %1 /s   lean %2 %   in band %3 %   rich %4 %   "
                          "actuator mean %5, span %6")
        .arg(figures.switchingRate, 0, 'f', 2)
        .arg(figures.leanShare * 100, 0, 'f', 0)
        .arg(figures.inBandShare * 100, 0, 'f', 0)
        .arg(figures.richShare * 100, 0, 'f', 0)
        .arg(figures.actuatorMean, 0, 'f', 1)
        .arg(figures.actuatorSpan, 0, 'f', 0);
}

} // namespace

bool Render(const TLogData& data, const QString& title, const TOptions& options, const QString& pngFile,
            QString& error)
{
    const TSampleRing& ring = data.samples;
    const double from = options.from;
    const double to =
        options.to > from ? options.to : std::max(from + 1, ring.IsEmpty() ? 0 : ring.LastTime());

    QWidget page;
    page.setAttribute(Qt::WA_DontShowOnScreen);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, Qt::white);
    page.setPalette(palette);
    page.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&page);
    auto* heading = new QLabel(QStringLiteral("%1   %2 - %3 s\n%4")
                                   .arg(title)
                                   .arg(from, 0, 'f', 1)
                                   .arg(to, 0, 'f', 1)
                                   .arg(FiguresText(LoopFigures::Compute(ring, from, to))),
                               &page);
    layout->addWidget(heading);
    auto* panes = new TChartPanes(ChartChannels::Labels(nullptr), &page);
    panes->SetBandNames(ChartChannels::LambdaBandNames(nullptr));
    layout->addWidget(panes, 1);
    for (int channel = 0; channel < ChartChannels::All().size(); ++channel)
        panes->SetChannelVisible(channel, options.channels.isEmpty() || options.channels.contains(channel));
    page.resize(options.size);
    page.show();
    // The layout gives the panes their size; the second drawing lines up the
    // plot areas the first one laid out.
    for (int pass = 0; pass < 2; ++pass) {
        QCoreApplication::processEvents();
        panes->Draw(&ring, from, to);
    }
    QCoreApplication::processEvents();
    if (!page.grab().save(pngFile, "PNG")) {
        error = QStringLiteral("cannot write the picture '%1'").arg(pngFile);
        return false;
    }
    return true;
}

} // namespace LogPlot
