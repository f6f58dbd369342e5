#include "chart/RoadTestPane.h"

#include "chart/ChartDialogs.h"
#include "chart/LogPlot.h"
#include "items/OrvNumber.h"
#include "model/ConfigurationPages.h"
#include "model/ProgramSetup.h"
#include "model/SerialDataModule.h"
#include "report/ReportBuilder.h"
#include "report/ReportWriter.h"
#include "roadtest/RoadTestCheck.h"
#include "roadtest/RoadTestText.h"
#include "support/NumberText.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"
#include "undo/UndoRecorder.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

// The picture of the log in a report, in pixels.
const QSize PlotSize(1600, 1000);

// The verdict's sign beside its word, so that the colour is not the only mark.
QString Sign(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Pass:
        return QStringLiteral("✔");
    case TVerdict::Warn:
        return QStringLiteral("!");
    case TVerdict::Fail:
        return QStringLiteral("✘");
    }
    return QString();
}

QColor Colour(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Pass:
        return QColor(0xc8, 0xeb, 0xc8);
    case TVerdict::Warn:
        return QColor(0xff, 0xe7, 0xa8);
    case TVerdict::Fail:
        return QColor(0xf5, 0xc1, 0xc1);
    }
    return QColor();
}

QTableWidgetItem* Cell(const QString& text)
{
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled);
    return cell;
}

QTableWidget* Table(QWidget* parent, const char* name, int columns)
{
    auto* table = new QTableWidget(0, columns, parent);
    table->setObjectName(QLatin1String(name));
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(true);
    return table;
}

} // namespace

TRoadTestPane::TRoadTestPane(TSerialDataModule* module, TOrvRegistryData* settings, TChartDialogs* dialogs,
                             TLogSource log, TLogName logName, QWidget* parent)
    : QGroupBox(parent), m_module(module), m_settings(settings), m_dialogs(dialogs), m_log(std::move(log)),
      m_logName(std::move(logName))
{
    setObjectName(QStringLiteral("RoadTestPane"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("LabelRoadTest"));
    m_summary->setWordWrap(true);
    m_criteria = Table(this, "TableCriteria", 4);
    m_suggestions = Table(this, "TableSuggestions", 4);
    // The figures take the room left; the other columns fit their texts.
    m_criteria->horizontalHeader()->setStretchLastSection(false);
    for (const int column : {0, 1, 3})
        m_criteria->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    m_criteria->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    m_checkButton = new QPushButton(this);
    m_checkButton->setObjectName(QStringLiteral("ButtonCheck"));
    m_applyButton = new QPushButton(this);
    m_applyButton->setObjectName(QStringLiteral("ButtonApply"));
    m_reportButton = new QPushButton(this);
    m_reportButton->setObjectName(QStringLiteral("ButtonReport"));
    for (QPushButton* button : {m_checkButton, m_applyButton, m_reportButton})
        button->setFocusPolicy(Qt::NoFocus);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_checkButton);
    buttons->addWidget(m_applyButton);
    buttons->addWidget(m_reportButton);
    buttons->addStretch(1);
    auto* tables = new QHBoxLayout;
    tables->addWidget(m_criteria, 1);
    tables->addWidget(m_suggestions, 1);
    tables->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addLayout(tables, 1);

    connect(m_checkButton, &QPushButton::clicked, this, &TRoadTestPane::Check);
    connect(m_applyButton, &QPushButton::clicked, this, &TRoadTestPane::ApplyTicked);
    connect(m_reportButton, &QPushButton::clicked, this, &TRoadTestPane::WriteReport);
    RefreshInterfaceText();
}

void TRoadTestPane::SetUndoRecorder(TUndoRecorder* recorder)
{
    m_recorder = recorder;
}

QString TRoadTestPane::Text(int index, const QString& english) const
{
    return m_module->Translator()->GetString(index, english);
}

void TRoadTestPane::RefreshInterfaceText()
{
    setTitle(Text(TextIndex::RoadTest, QStringLiteral("Road test")));
    m_checkButton->setText(Text(TextIndex::CheckRoadTest, QStringLiteral("Check")));
    m_applyButton->setText(Text(TextIndex::ApplySuggestions, QStringLiteral("Apply")));
    m_reportButton->setText(Text(TextIndex::WriteReport, QStringLiteral("Report...")));
    m_criteria->setHorizontalHeaderLabels({Text(TextIndex::CriterionColumn, QStringLiteral("Criterion")),
                                           Text(TextIndex::VerdictColumn, QStringLiteral("Verdict")),
                                           Text(TextIndex::FigureColumn, QStringLiteral("Figure")),
                                           Text(TextIndex::ThresholdColumn, QStringLiteral("Threshold"))});
    m_suggestions->setHorizontalHeaderLabels({Text(TextIndex::ParameterColumn, QStringLiteral("Parameter")),
                                              Text(TextIndex::CurrentColumn, QStringLiteral("Current")),
                                              Text(TextIndex::ProposedColumn, QStringLiteral("Proposed")),
                                              Text(TextIndex::ReasonColumn, QStringLiteral("Reason"))});
    if (m_checked)
        ShowResult();
}

QString TRoadTestPane::Caption(const QString& item) const
{
    const int caption = ConfigurationPages::CaptionOf(item);
    const TOrvNumber* number = m_module->Number(item);
    const QString key = number ? number->FileKeyName() : item;
    return caption >= 0 ? Text(caption, key) : key;
}

QString TRoadTestPane::ValueText(const QString& item, double value) const
{
    const TOrvNumber* number = m_module->Number(item);
    const QString text = GeneralNumberText(value);
    return !number || number->MeasureUnit().isEmpty() ? text : text + u' ' + number->MeasureUnit();
}

void TRoadTestPane::Check()
{
    const TRoadTestSettings settings =
        TRoadTestSettings::FromItems([this](const QString& name) { return m_module->Number(name); });
    m_result = TRoadTestCheck(settings).Run(m_log().samples);
    m_checked = true;
    ShowResult();
}

void TRoadTestPane::ShowResult()
{
    const TRoadTestText text([this](int index, const QString& english) { return Text(index, english); });
    m_criteria->setRowCount(0);
    m_suggestions->setRowCount(0);
    if (!m_result.judged) {
        m_summary->setText(text.NoVerdict(m_result));
        m_applyButton->setEnabled(false);
        return;
    }
    m_summary->setText(
        Text(TextIndex::ClosedLoopTime, QStringLiteral("Closed loop: %1 s of %2 s"))
            .arg(RoadTestNumber(m_result.closedSeconds, 0), RoadTestNumber(m_result.loggedSeconds, 0)));
    for (const TCriterionResult& criterion : m_result.criteria) {
        const int row = m_criteria->rowCount();
        m_criteria->insertRow(row);
        m_criteria->setItem(row, 0, Cell(text.Caption(criterion.id)));
        QTableWidgetItem* verdict = Cell(Sign(criterion.verdict) + u' ' + text.Verdict(criterion.verdict));
        verdict->setBackground(Colour(criterion.verdict));
        verdict->setForeground(Qt::black);
        QFont bold = verdict->font();
        bold.setBold(criterion.verdict != TVerdict::Pass);
        verdict->setFont(bold);
        m_criteria->setItem(row, 1, verdict);
        m_criteria->setItem(row, 2, Cell(text.Figure(criterion)));
        m_criteria->setItem(row, 3, Cell(text.Threshold(criterion)));
    }
    for (const TSuggestion& suggestion : m_result.suggestions) {
        const int row = m_suggestions->rowCount();
        m_suggestions->insertRow(row);
        QTableWidgetItem* parameter =
            Cell(suggestion.Changes() ? Caption(suggestion.item) : QStringLiteral("–"));
        if (suggestion.Changes()) {
            // A change can be ticked (ticked from the start); an inspection cannot.
            parameter->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            parameter->setCheckState(Qt::Checked);
            m_suggestions->setItem(row, 1, Cell(ValueText(suggestion.item, suggestion.current)));
            m_suggestions->setItem(row, 2, Cell(ValueText(suggestion.item, suggestion.proposed)));
        }
        m_suggestions->setItem(row, 0, parameter);
        m_suggestions->setItem(row, 3, Cell(text.Reason(suggestion)));
    }
    m_criteria->resizeRowsToContents();
    m_suggestions->resizeRowsToContents();
    m_applyButton->setEnabled(std::any_of(m_result.suggestions.cbegin(), m_result.suggestions.cend(),
                                          [](const TSuggestion& s) { return s.Changes(); }));
}

void TRoadTestPane::SetTicked(int suggestion, bool ticked)
{
    if (QTableWidgetItem* cell = m_suggestions->item(suggestion, 0);
        cell && (cell->flags() & Qt::ItemIsUserCheckable))
        cell->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TRoadTestPane::ShowMessage(bool error, const QString& text)
{
    m_module->Prompts()->ShowMessage(error ? TMessageIcon::Error : TMessageIcon::None,
                                     Text(TextIndex::RoadTest, QStringLiteral("Road test")), text);
}

bool TRoadTestPane::ApplyTicked()
{
    QList<TSuggestion> ticked;
    for (int row = 0; row < m_suggestions->rowCount() && row < m_result.suggestions.size(); ++row) {
        const QTableWidgetItem* cell = m_suggestions->item(row, 0);
        if (m_result.suggestions.at(row).Changes() && cell && cell->checkState() == Qt::Checked)
            ticked << m_result.suggestions.at(row);
    }
    if (ticked.isEmpty())
        return true;
    if (!m_module->IsUnitConnected()) {
        ShowMessage(true,
                    Text(TextIndex::NoUnitForSuggestions,
                         QStringLiteral("No control unit is connected: the suggestions cannot be applied.")));
        return false;
    }
    // One step of the history: the edits (and what their rules rewrote) are
    // recorded one by one inside it, and undone together.
    QUndoStack* history = m_recorder ? m_recorder.data()->Stack() : nullptr;
    if (history)
        history->beginMacro(Text(TextIndex::RoadTestSuggestions, QStringLiteral("Road-test suggestions")));
    QStringList failed;
    for (const TSuggestion& suggestion : std::as_const(ticked)) {
        TOrvNumber* item = m_module->Number(suggestion.item);
        if (!item || !item->SetData(suggestion.proposed))
            failed << Caption(suggestion.item);
    }
    failed << m_module->TakeFailedFollowOnWrites();
    if (history)
        history->endMacro();

    QStringList readBack;
    for (const TSuggestion& suggestion : std::as_const(ticked)) {
        TOrvNumber* item = m_module->Number(suggestion.item);
        if (item && item->Load())
            readBack << Caption(suggestion.item) + QStringLiteral(": ") +
                            ValueText(suggestion.item, item->CurrentUserValue());
        else
            failed << Caption(suggestion.item);
    }
    failed.removeDuplicates();
    // The configuration has changed: the same log is judged against it again.
    Check();
    if (!failed.isEmpty()) {
        ShowMessage(true, Text(TextIndex::SuggestionsNotWritten,
                               QStringLiteral("These values were not written to the control unit: %1"))
                              .arg(failed.join(QStringLiteral(", "))));
        return false;
    }
    ShowMessage(false, Text(TextIndex::UnitNowHolds, QStringLiteral("The control unit now holds:\n%1"))
                           .arg(readBack.join(u'\n')));
    return true;
}

bool TRoadTestPane::WriteReport()
{
    using namespace ProgramSetup;
    QString name = m_settings ? m_settings->GetStringData(QLatin1String(WorkshopSetting::Name)) : QString();
    QString address =
        m_settings ? m_settings->GetStringData(QLatin1String(WorkshopSetting::Address)) : QString();
    const QString caption =
        Text(TextIndex::RoadTestReport, QStringLiteral("Configuration and road-test report"));
    if (!m_dialogs->GetWorkshop(this, caption, Text(TextIndex::WorkshopName, QStringLiteral("Workshop name")),
                                Text(TextIndex::WorkshopAddress, QStringLiteral("Workshop address")), name,
                                address))
        return false;
    if (m_settings) {
        m_settings->SetStringData(QLatin1String(WorkshopSetting::Name), name);
        m_settings->SetStringData(QLatin1String(WorkshopSetting::Address), address);
        m_settings->SaveData();
    }
    const QString suggested = QDir::home().filePath(
        QStringLiteral("report-%1.pdf")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const QString fileName = m_dialogs->GetReportFileName(
        this, caption, suggested, Text(TextIndex::PdfFileFilter, QStringLiteral("PDF files (*.pdf)")));
    if (fileName.isEmpty())
        return false;

    TReportRequest request;
    request.date = QDateTime::currentDateTime();
    request.workshopName = name;
    request.workshopAddress = address;
    request.vehicle = m_vehicle;
    TReportBuilder::TakeUnit(*m_module, request);
    if (!m_checked)
        Check();
    request.roadTest = true;
    request.result = m_result;
    request.logName = m_logName();
    const TLogData& log = m_log();
    QString error;
    QTemporaryDir folder;
    LogPlot::TOptions options;
    options.size = PlotSize;
    const QString png = folder.filePath(QStringLiteral("log.png"));
    if (!log.samples.IsEmpty() && folder.isValid() &&
        LogPlot::Render(log, request.logName, options, png, error))
        request.plot = QImage(png);
    if (!ReportWriter::WritePdf(TReportBuilder(*m_module).Build(request), fileName, error)) {
        ShowMessage(true,
                    Text(TextIndex::ReportNotWritten, QStringLiteral("The report could not be written: %1"))
                        .arg(error));
        return false;
    }
    emit ReportWritten(fileName);
    return true;
}
