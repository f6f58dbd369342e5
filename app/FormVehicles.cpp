#include "app/FormVehicles.h"

#include "app/FileDialogs.h"
#include "app/FormCompare.h"
#include "app/FormScaling.h"
#include "app/VehicleSession.h"
#include "model/SerialDataModule.h"
#include "records/RecordsDatabase.h"
#include "records/VehicleStore.h"
#include "records/VehicleTimeline.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"
#include "ui_FormVehicles.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSaveFile>
#include <QStyle>
#include <QTableWidget>

namespace {

enum Column { WhenColumn, BenchColumn, KindColumn, SummaryColumn };

const QList<TTimelineGroup> FilterGroups = {TTimelineGroup::Configurations, TTimelineGroup::Logs,
                                            TTimelineGroup::Backups, TTimelineGroup::Checks,
                                            TTimelineGroup::Notes};

bool WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

TFormVehicles::TFormVehicles(TVehicleSession& session, TFileDialogs* dialogs, const QString& filesFolder,
                             int screenWidth, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFormVehicles>()), m_session(session), m_dialogs(dialogs),
      m_filesFolder(filesFolder), m_showCompare([](TFormCompare& compare) { compare.exec(); })
{
    m_ui->setupUi(this);
    QTableWidget* table = m_ui->TableTimeline;
    table->setColumnCount(4);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(SummaryColumn, QHeaderView::Stretch);
    // The window's text size, scaled with the window like the other windows'.
    setFont(DesignFont(QStringLiteral("Arial"), 13, false));
    ScaleForm(this, screenWidth);
    table->horizontalHeader()->setFont(font());
    ConnectControls();
    RefreshInterfaceText();
    Search(QString());
    // The current vehicle is the one shown first.
    if (m_session.HasVehicle()) {
        for (int row = 0; row < m_found.size(); ++row) {
            if (m_found.at(row).id == m_session.Vehicle().id)
                m_ui->ListVehicles->setCurrentRow(row);
        }
    }
}

TFormVehicles::~TFormVehicles() = default;

QString TFormVehicles::Text(int index) const
{
    return m_session.Module().Translator()->GetString(index, 0);
}

QLineEdit* TFormVehicles::SearchEdit() const
{
    return m_ui->EditSearch;
}

QListWidget* TFormVehicles::VehicleList() const
{
    return m_ui->ListVehicles;
}

QTableWidget* TFormVehicles::Timeline() const
{
    return m_ui->TableTimeline;
}

QCheckBox* TFormVehicles::Filter(TTimelineGroup group) const
{
    const QList<QCheckBox*> filters = {m_ui->FilterConfigurations, m_ui->FilterLogs, m_ui->FilterBackups,
                                       m_ui->FilterChecks, m_ui->FilterNotes};
    return filters.value(int(FilterGroups.indexOf(group)));
}

QLineEdit* TFormVehicles::Field(const QString& name) const
{
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (edit->property("Field").toString() == name)
            return edit;
    }
    return nullptr;
}

void TFormVehicles::ConnectControls()
{
    connect(m_ui->EditSearch, &QLineEdit::textChanged, this, &TFormVehicles::Search);
    connect(m_ui->ListVehicles, &QListWidget::currentRowChanged, this, &TFormVehicles::ShowVehicle);
    connect(m_ui->ButtonNewVehicle, &QPushButton::clicked, this, &TFormVehicles::NewVehicle);
    connect(m_ui->ButtonSaveVehicle, &QPushButton::clicked, this, &TFormVehicles::SaveVehicle);
    connect(m_ui->ButtonMakeCurrent, &QPushButton::clicked, this, &TFormVehicles::MakeCurrent);
    connect(m_ui->ButtonNoVehicle, &QPushButton::clicked, this, &TFormVehicles::ClearCurrent);
    connect(m_ui->ButtonAddNote, &QPushButton::clicked, this, &TFormVehicles::AddNote);
    connect(m_ui->EditNote, &QLineEdit::returnPressed, this, &TFormVehicles::AddNote);
    connect(m_ui->ButtonLoadEntry, &QPushButton::clicked, this, &TFormVehicles::LoadSelectedConfiguration);
    connect(m_ui->ButtonCompareEntries, &QPushButton::clicked, this, &TFormVehicles::CompareSelectedEntries);
    connect(m_ui->ButtonOpenLog, &QPushButton::clicked, this, &TFormVehicles::OpenSelectedLog);
    connect(m_ui->ButtonExportEntry, &QPushButton::clicked, this, &TFormVehicles::ExportSelectedEntry);
    connect(m_ui->ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    for (TTimelineGroup group : FilterGroups)
        connect(Filter(group), &QCheckBox::toggled, this, &TFormVehicles::RefreshTimeline);
}

void TFormVehicles::RefreshInterfaceText()
{
    setWindowTitle(Text(TextIndex::VehiclesWindow));
    m_ui->LabelSearch->setText(Text(TextIndex::SearchVehicles));
    const QList<QLabel*> labels = {m_ui->LabelPlate, m_ui->LabelVin,   m_ui->LabelCustomer, m_ui->LabelPhone,
                                   m_ui->LabelMake,  m_ui->LabelModel, m_ui->LabelEngine,   m_ui->LabelYear,
                                   m_ui->LabelKit,   m_ui->LabelNotes};
    for (int field = 0; field < labels.size(); ++field)
        labels.at(field)->setText(Text(TextIndex::PlateField + field));
    m_ui->ButtonNewVehicle->setText(Text(TextIndex::NewVehicle));
    m_ui->ButtonMakeCurrent->setText(Text(TextIndex::MakeVehicleCurrent));
    m_ui->ButtonNoVehicle->setText(Text(TextIndex::NoVehicle));
    m_ui->ButtonSaveVehicle->setText(Text(TextIndex::SaveVehicle));
    m_ui->LabelTimeline->setText(Text(TextIndex::TimelineEntries));
    m_ui->FilterConfigurations->setText(Text(TextIndex::FilterConfigurations));
    m_ui->FilterLogs->setText(Text(TextIndex::FilterLogs));
    m_ui->FilterBackups->setText(Text(TextIndex::FilterBackups));
    m_ui->FilterChecks->setText(Text(TextIndex::FilterChecks));
    m_ui->FilterNotes->setText(Text(TextIndex::FilterNotes));
    m_ui->TableTimeline->setHorizontalHeaderLabels(
        {Text(TextIndex::TimelineWhen), Text(TextIndex::TimelineBench), Text(TextIndex::TimelineKind),
         Text(TextIndex::TimelineSummary)});
    m_ui->ButtonAddNote->setText(Text(TextIndex::AddVehicleNote));
    m_ui->ButtonLoadEntry->setText(Text(TextIndex::LoadThisConfiguration));
    m_ui->ButtonCompareEntries->setText(Text(TextIndex::CompareTwoEntries));
    m_ui->ButtonOpenLog->setText(Text(TextIndex::OpenLogInChart));
    m_ui->ButtonExportEntry->setText(Text(TextIndex::ExportConfigurationEntry));
    m_ui->ButtonClose->setText(Text(TextIndex::VehiclesClose));
    FitTexts();
}

// Captions longer than their place in a language take a smaller font, from the
// window's own each time, so that none is cut.
void TFormVehicles::FitTexts()
{
    const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    const int padding = 2 * style()->pixelMetric(QStyle::PM_ButtonMargin);
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setFont(font());
        FitFontToWidth(label, label->text(), label->width());
    }
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        button->setFont(font());
        const int room = button->width() - (qobject_cast<QCheckBox*>(button) ? indicator : padding);
        FitFontToWidth(button, button->text(), room);
    }
}

// --- vehicles ---------------------------------------------------------------------

void TFormVehicles::Search(const QString& text)
{
    TVehicleStore store(*m_session.Database());
    bool ok = false;
    m_found = store.Search(text, TVehicleStore::DefaultSearchLimit, &ok);
    if (!ok)
        Tell(Text(TextIndex::RecordsCannotBeOpened).replace(QLatin1String("%1"), store.Error()));
    const QSignalBlocker quiet(m_ui->ListVehicles);
    m_ui->ListVehicles->clear();
    for (const TVehicle& vehicle : std::as_const(m_found))
        m_ui->ListVehicles->addItem(
            vehicle.plate + QStringLiteral("  ") +
            QStringList{vehicle.make, vehicle.model, vehicle.customer}.join(u' ').simplified());
    // The vehicle shown stays shown while it is found.
    int row = -1;
    for (int i = 0; i < m_found.size(); ++i) {
        if (m_vehicle.id != 0 && m_found.at(i).id == m_vehicle.id)
            row = i;
    }
    m_ui->ListVehicles->setCurrentRow(row);
}

void TFormVehicles::ShowVehicle(int row)
{
    if (row < 0 || row >= m_found.size())
        return;
    // Read anew: the list may be older than the vehicle's last edit.
    TVehicleStore store(*m_session.Database());
    bool found = false;
    TVehicle vehicle = m_found.at(row);
    if (!store.Find(vehicle.plate, vehicle, &found) || !found)
        vehicle = m_found.at(row);
    FillFields(vehicle);
}

void TFormVehicles::FillFields(const TVehicle& vehicle)
{
    m_vehicle = vehicle;
    for (const QString& name : VehicleFields::Names())
        Field(name)->setText(VehicleFields::Value(vehicle, name));
    m_ui->LabelChanged->setText(
        vehicle.id == 0 ? QString()
                        : QStringLiteral("%1, %2").arg(
                              vehicle.changedOn,
                              QLocale().toString(vehicle.changedAt.toLocalTime(), QLocale::ShortFormat)));
    RefreshTimeline();
}

void TFormVehicles::NewVehicle()
{
    const QSignalBlocker quiet(m_ui->ListVehicles);
    m_ui->ListVehicles->setCurrentRow(-1);
    FillFields(TVehicle());
    m_ui->EditPlate->setFocus();
}

bool TFormVehicles::SaveVehicle()
{
    TVehicle edited = m_vehicle;
    QString problem;
    for (const QString& name : VehicleFields::Names()) {
        if (problem.isEmpty())
            VehicleFields::SetValue(edited, name, Field(name)->text().trimmed(), &problem);
    }
    TVehicleStore store(*m_session.Database());
    if (problem.isEmpty() && !(edited.id == 0 ? store.Add(edited) : store.Edit(edited)))
        problem = store.Error();
    if (!problem.isEmpty()) {
        Tell(Text(TextIndex::VehicleNotSaved).replace(QLatin1String("%1"), problem));
        return false;
    }
    if (m_session.Vehicle().id == edited.id)
        m_session.SetVehicle(edited);
    m_vehicle = edited;
    Search(m_ui->EditSearch->text());
    FillFields(edited);
    return true;
}

void TFormVehicles::MakeCurrent()
{
    if (m_vehicle.id != 0)
        m_session.SetVehicle(m_vehicle);
}

void TFormVehicles::ClearCurrent()
{
    m_session.ClearVehicle();
}

// --- the timeline -------------------------------------------------------------------

QList<TTimelineKind> TFormVehicles::ShownKinds() const
{
    QList<TTimelineKind> kinds;
    bool all = true;
    for (TTimelineGroup group : FilterGroups) {
        if (Filter(group)->isChecked())
            kinds << TimelineKinds::InGroup(group);
        else
            all = false;
    }
    // Every filter ticked: every entry, also connects, erases, updates and edits.
    if (all)
        return {};
    // None ticked: a kind no entry has.
    return kinds.isEmpty() ? QList<TTimelineKind>{TTimelineKind(-1)} : kinds;
}

void TFormVehicles::RefreshTimeline()
{
    QTableWidget* table = m_ui->TableTimeline;
    m_entries.clear();
    if (m_vehicle.id != 0) {
        TVehicleTimeline timeline(*m_session.Database());
        bool ok = false;
        m_entries = timeline.Entries(m_vehicle.id, ShownKinds(), &ok);
        if (!ok)
            Tell(Text(TextIndex::RecordsCannotBeOpened).replace(QLatin1String("%1"), timeline.Error()));
    }
    table->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const TTimelineEntry& entry = m_entries.at(row);
        table->setItem(
            row, WhenColumn,
            new QTableWidgetItem(QLocale().toString(entry.at.toLocalTime(), QLocale::ShortFormat)));
        table->setItem(row, BenchColumn, new QTableWidgetItem(entry.bench));
        table->setItem(row, KindColumn, new QTableWidgetItem(Text(TextIndex::KindConnect + int(entry.kind))));
        auto* summary = new QTableWidgetItem(entry.summary);
        summary->setToolTip(entry.changes);
        table->setItem(row, SummaryColumn, summary);
    }
    table->resizeColumnToContents(WhenColumn);
    table->resizeColumnToContents(BenchColumn);
    table->resizeColumnToContents(KindColumn);
}

void TFormVehicles::AddNote()
{
    const QString note = m_ui->EditNote->text().trimmed();
    if (note.isEmpty() || m_vehicle.id == 0)
        return;
    TTimelineEntry entry;
    entry.vehicleId = m_vehicle.id;
    entry.kind = TTimelineKind::Note;
    entry.summary = note;
    TVehicleTimeline timeline(*m_session.Database());
    if (!timeline.Add(entry)) {
        Tell(Text(TextIndex::VehicleNotSaved).replace(QLatin1String("%1"), timeline.Error()));
        return;
    }
    m_ui->EditNote->clear();
    RefreshTimeline();
}

QList<TTimelineEntry> TFormVehicles::SelectedEntries()
{
    QList<TTimelineEntry> selected;
    TVehicleTimeline timeline(*m_session.Database());
    for (const QModelIndex& index : m_ui->TableTimeline->selectionModel()->selectedRows()) {
        TTimelineEntry entry;
        if (index.row() < m_entries.size() && timeline.Read(m_entries.at(index.row()).id, entry))
            selected << entry;
    }
    std::sort(selected.begin(), selected.end(),
              [](const TTimelineEntry& a, const TTimelineEntry& b) { return a.at < b.at; });
    return selected;
}

QString TFormVehicles::WriteEntryFile(const TTimelineEntry& entry)
{
    const QString name = QFileInfo(entry.fileName).fileName();
    const QString file = m_files.filePath(QStringLiteral("%1-%2").arg(entry.id).arg(name));
    return entry.hasPayload && !name.isEmpty() && WriteFile(file, entry.payload) ? file : QString();
}

void TFormVehicles::LoadSelectedConfiguration()
{
    const QList<TTimelineEntry> selected = SelectedEntries();
    if (selected.size() != 1 || !TimelineKinds::HoldsConfiguration(selected.first().kind))
        return;
    const QString file = WriteEntryFile(selected.first());
    if (file.isEmpty() || !m_session.Module().IsUnitConnected())
        return;
    TFormCompare compare(&m_session.Module(), this);
    compare.SetVehicleSession(&m_session);
    if (compare.ShowUnitAgainst(file))
        m_showCompare(compare);
    RefreshTimeline();
}

void TFormVehicles::CompareSelectedEntries()
{
    const QList<TTimelineEntry> selected = SelectedEntries();
    const bool two = selected.size() == 2 && TimelineKinds::HoldsConfiguration(selected.at(0).kind) &&
                     TimelineKinds::HoldsConfiguration(selected.at(1).kind);
    const QString older = two ? WriteEntryFile(selected.at(0)) : QString();
    const QString newer = two ? WriteEntryFile(selected.at(1)) : QString();
    if (older.isEmpty() || newer.isEmpty()) {
        Tell(Text(TextIndex::ChooseTwoConfigurations));
        return;
    }
    TFormCompare compare(&m_session.Module(), this);
    if (compare.ShowFiles(older, newer))
        m_showCompare(compare);
}

void TFormVehicles::OpenSelectedLog()
{
    const QList<TTimelineEntry> selected = SelectedEntries();
    if (selected.size() != 1 || selected.first().kind != TTimelineKind::Log || !m_openLog)
        return;
    const QString file = WriteEntryFile(selected.first());
    if (!file.isEmpty())
        m_openLog(file);
}

void TFormVehicles::ExportSelectedEntry()
{
    const QList<TTimelineEntry> selected = SelectedEntries();
    if (selected.size() != 1 || !selected.first().hasPayload)
        return;
    const QString target =
        m_dialogs->GetSaveFileName(this, QDir(m_filesFolder).filePath(selected.first().fileName));
    if (!target.isEmpty() && !WriteFile(target, selected.first().payload))
        Tell(Text(TextIndex::VehicleNotSaved).replace(QLatin1String("%1"), target));
}

void TFormVehicles::Tell(const QString& text)
{
    m_session.Module().Prompts()->ShowMessage(TMessageIcon::Error, windowTitle(), text);
}
