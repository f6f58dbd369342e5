#include "app/FormCompare.h"

#include "app/VehicleSession.h"

#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString RawText(int raw)
{
    return raw < 0 ? QString() : QString::number(raw);
}

} // namespace

TFormCompare::TFormCompare(TSerialDataModule* module, QWidget* parent)
    : QDialog(parent), m_module(module), m_table(new QTableWidget(this)), m_load(new QPushButton(this))
{
    setObjectName(QStringLiteral("FormCompare"));
    setWindowTitle(Text(TextIndex::CompareConfigurations));
    m_table->setColumnCount(4);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_load->setText(Text(TextIndex::LoadTickedValues));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_load, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_load, &QPushButton::clicked, this, &TFormCompare::LoadTicked);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(760, 480);
}

QString TFormCompare::Text(int index) const
{
    return m_module->Translator()->GetString(index, 0);
}

bool TFormCompare::ShowUnitAgainst(const QString& fileName)
{
    QList<TConfigDifference> differences;
    if (!m_module->CompareUnitWithFile(fileName, differences)) {
        ShowFileProblem({fileName});
        return false;
    }
    m_file = fileName;
    Fill(differences, Text(TextIndex::CompareUnitColumn), QFileInfo(fileName).fileName());
    return true;
}

bool TFormCompare::ShowFiles(const QString& left, const QString& right)
{
    QList<TConfigDifference> differences;
    if (!m_module->CompareFiles(left, right, differences)) {
        ShowFileProblem({left, right});
        return false;
    }
    m_file.clear();
    Fill(differences, QFileInfo(left).fileName(), QFileInfo(right).fileName());
    return true;
}

void TFormCompare::ShowFileProblem(const QStringList& fileNames)
{
    for (const QString& fileName : fileNames) {
        const QString problem = m_module->ConfigurationFileProblem(fileName);
        if (!problem.isEmpty()) {
            m_module->Prompts()->ShowMessage(TMessageIcon::Error, Text(TextIndex::ConfigurationFileCaption),
                                             problem);
            return;
        }
    }
}

void TFormCompare::Fill(const QList<TConfigDifference>& differences, const QString& left,
                        const QString& right)
{
    const bool tickable = !m_file.isEmpty() && m_module->IsUnitConnected();
    m_load->setVisible(tickable);
    m_table->setHorizontalHeaderLabels(
        {Text(TextIndex::CompareItemColumn), left, right, Text(TextIndex::CompareUnitBytesColumn)});
    m_table->setRowCount(int(differences.size()));
    for (int row = 0; row < differences.size(); ++row) {
        const TConfigDifference& difference = differences.at(row);
        auto* caption = new QTableWidgetItem(difference.key);
        caption->setData(Qt::UserRole, difference.item);
        if (tickable) {
            caption->setFlags(caption->flags() | Qt::ItemIsUserCheckable);
            caption->setCheckState(Qt::Unchecked);
        }
        m_table->setItem(row, 0, caption);
        m_table->setItem(row, 1, new QTableWidgetItem(difference.left));
        m_table->setItem(row, 2, new QTableWidgetItem(difference.right));
        m_table->setItem(row, 3,
                         new QTableWidgetItem(RawText(difference.leftRaw) + QStringLiteral(" -> ") +
                                              RawText(difference.rightRaw)));
    }
    m_table->resizeColumnsToContents();
}

void TFormCompare::LoadTicked()
{
    QStringList ticked;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QTableWidgetItem* caption = m_table->item(row, 0);
        if (caption->checkState() == Qt::Checked)
            ticked << caption->data(Qt::UserRole).toString();
    }
    if (ticked.isEmpty() || m_file.isEmpty())
        return;
    TVehicleSession::RunOn(m_vehicles, TTimelineKind::Load, m_file,
                           [&] { return m_module->LoadConfiguration(m_file, ticked); });
    ShowUnitAgainst(m_file);
}
