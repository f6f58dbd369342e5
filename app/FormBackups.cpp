#include "app/FormBackups.h"

#include "app/FileDialogs.h"
#include "app/FormCompare.h"
#include "app/FormScaling.h"
#include "app/VehicleSession.h"
#include "model/FitterWords.h"
#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { DateColumn, ReasonColumn, NoteColumn, DifferencesColumn };

} // namespace

TFormBackups::TFormBackups(TSerialDataModule* module, TFileDialogs* dialogs, int screenWidth, QWidget* parent)
    : QDialog(parent), m_module(module), m_dialogs(dialogs), m_screenWidth(screenWidth),
      m_note(new QLineEdit(this)), m_table(new QTableWidget(this))
{
    setObjectName(QStringLiteral("FormBackups"));
    setWindowTitle(Text(TextIndex::Backups));
    m_note->setText(module->VehicleNote());
    connect(m_note, &QLineEdit::textChanged, module,
            [module](const QString& note) { module->SetVehicleNote(note); });
    auto* form = new QFormLayout;
    form->addRow(Text(TextIndex::NoteForNextBackups), m_note);

    m_table->setColumnCount(4);
    m_table->setHorizontalHeaderLabels(
        {Text(TextIndex::BackupDateColumn), Text(TextIndex::BackupReasonColumn),
         Text(TextIndex::BackupNoteColumn), Text(TextIndex::BackupDifferencesColumn)});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(NoteColumn, QHeaderView::Stretch);
    connect(m_table, &QTableWidget::cellChanged, this, &TFormBackups::NoteChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto addButton = [&](int text, void (TFormBackups::*action)()) {
        QPushButton* button = buttons->addButton(Text(text), QDialogButtonBox::ActionRole);
        connect(button, &QPushButton::clicked, this, action);
    };
    addButton(TextIndex::RestoreBackup, &TFormBackups::RestoreSelected);
    addButton(TextIndex::CompareBackupWithUnit, &TFormBackups::CompareSelected);
    addButton(TextIndex::CompareTwoFiles, &TFormBackups::CompareFiles);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    ScaleTextWindow(this, m_screenWidth, 760, 480);
    Refresh();
}

QString TFormBackups::Text(int index) const
{
    return m_module->Translator()->GetString(index, 0);
}

void TFormBackups::Refresh()
{
    const QSignalBlocker quiet(m_table);
    QStringList unread;
    m_entries = m_module->BackupsByCloseness(&unread);
    // A unit that did not give every value is compared with no backup.
    const QString notCompared = unread.isEmpty() ? QString() : Text(TextIndex::NotRead);
    const TFitterWords words(*m_module->Translator());
    m_table->setRowCount(int(m_entries.size()));
    for (int row = 0; row < m_entries.size(); ++row) {
        const TBackupEntry& entry = m_entries.at(row);
        auto fixed = [](const QString& text) {
            auto* cell = new QTableWidgetItem(text);
            cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            return cell;
        };
        m_table->setItem(row, DateColumn,
                         fixed(entry.created.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        m_table->setItem(row, ReasonColumn, fixed(words.BackupReason(entry.reason)));
        m_table->setItem(row, NoteColumn, new QTableWidgetItem(entry.note));
        QTableWidgetItem* differences =
            fixed(entry.differences < 0 ? notCompared : QString::number(entry.differences));
        differences->setToolTip(unread.join(QLatin1Char('\n')));
        m_table->setItem(row, DifferencesColumn, differences);
    }
    m_table->resizeColumnToContents(DateColumn);
    m_table->resizeColumnToContents(ReasonColumn);
    m_table->resizeColumnToContents(DifferencesColumn); // its heading is longer than its numbers
    if (!m_entries.isEmpty())
        m_table->selectRow(0);
}

QString TFormBackups::SelectedFile() const
{
    const int row = m_table->currentRow();
    return row >= 0 && row < m_entries.size() ? m_entries.at(row).fileName : QString();
}

void TFormBackups::NoteChanged(int row, int column)
{
    if (column == NoteColumn && row < m_entries.size())
        m_module->Backups().SetNote(m_entries.at(row).fileName, m_table->item(row, column)->text());
}

void TFormBackups::RestoreSelected()
{
    const QString file = SelectedFile();
    if (file.isEmpty() || !m_module->IsUnitConnected() ||
        !m_module->Prompts()->AskYesNo(TMessageIcon::None, windowTitle(),
                                       Text(TextIndex::WriteSelectedBackupQuestion), false))
        return;
    TVehicleSession::RunOn(m_vehicles, TTimelineKind::Restore, file,
                           [&] { return m_module->RestoreBackup(file); });
    Refresh();
}

void TFormBackups::CompareSelected()
{
    const QString file = SelectedFile();
    if (file.isEmpty() || !m_module->IsUnitConnected())
        return;
    TFormCompare compare(m_module, this, m_screenWidth);
    compare.SetVehicleSession(m_vehicles);
    if (compare.ShowUnitAgainst(file))
        compare.exec();
    Refresh();
}

// Both files are asked for by name ("the first", "the second"), starting in
// the backups' folder: the files compared most often are backups.
void TFormBackups::CompareFiles()
{
    const QString folder = m_module->Backups().Folder();
    const QString left = m_dialogs->GetOpenFileNameFor(this, folder, Text(TextIndex::ChooseFirstFile));
    if (left.isEmpty())
        return;
    const QString right = m_dialogs->GetOpenFileNameFor(this, folder, Text(TextIndex::ChooseSecondFile));
    if (right.isEmpty())
        return;
    TFormCompare compare(m_module, this, m_screenWidth);
    if (compare.ShowFiles(left, right))
        compare.exec();
}
