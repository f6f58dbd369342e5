#include "app/FormCompare.h"

#include "app/VehicleSession.h"
#include "items/OrvNumber.h"
#include "model/FitterWords.h"
#include "model/SerialDataModule.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ItemColumn, LeftColumn, RightColumn, BytesColumn };

QString RawText(int raw)
{
    return raw < 0 ? QString() : QString::number(raw);
}

// The lines of one difference: the fitter's words for the values present; a
// value missing or not read keeps the text the comparison gave it.
QList<TValueWords> DifferenceLines(const TFitterWords& words, const TOrvNumber* item,
                                   const TConfigDifference& difference)
{
    if (!item)
        return {{difference.key, difference.left, difference.right}};
    if (difference.leftValue && difference.rightValue) {
        const QList<TValueWords> lines =
            words.Difference(*item, *difference.leftValue, *difference.rightValue);
        if (!lines.isEmpty())
            return lines;
    }
    auto side = [&](const std::optional<double>& value, const QString& given) {
        return value ? words.Value(*item, *value) : given;
    };
    return {{words.Caption(*item), side(difference.leftValue, difference.left),
             side(difference.rightValue, difference.right)}};
}

QString Joined(const QList<TValueWords>& lines, QString TValueWords::*field)
{
    QStringList texts;
    for (const TValueWords& line : lines)
        texts << line.*field;
    return texts.join(QLatin1Char('\n'));
}

} // namespace

TFormCompare::TFormCompare(TSerialDataModule* module, QWidget* parent, int screenWidth)
    : QDialog(parent), m_module(module), m_table(new QTableWidget(this)), m_load(new QPushButton(this)),
      m_details(new QCheckBox(this))
{
    setObjectName(QStringLiteral("FormCompare"));
    setWindowTitle(Text(TextIndex::CompareConfigurations));
    m_table->setColumnCount(4);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnHidden(BytesColumn, true);
    m_details->setText(Text(TextIndex::CompareDetails));
    connect(m_details, &QCheckBox::toggled, this, [this](bool shown) {
        m_table->setColumnHidden(BytesColumn, !shown);
        m_table->resizeColumnsToContents();
        m_table->resizeRowsToContents();
    });
    m_load->setText(Text(TextIndex::LoadTickedValues));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_load, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_load, &QPushButton::clicked, this, &TFormCompare::LoadTicked);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_details);
    bottom->addWidget(buttons, 1);
    layout->addLayout(bottom);
    ScaleTextWindow(this, screenWidth, 760, 480);
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
        {Text(TextIndex::CompareItemColumn), left, right, Text(TextIndex::CompareBytesColumn)});
    const TFitterWords words(*m_module->Translator());
    m_table->setRowCount(int(differences.size()));
    for (int row = 0; row < differences.size(); ++row) {
        const TConfigDifference& difference = differences.at(row);
        const QList<TValueWords> lines =
            DifferenceLines(words, m_module->Number(difference.item), difference);
        auto* caption = new QTableWidgetItem(Joined(lines, &TValueWords::caption));
        caption->setData(Qt::UserRole, difference.item);
        if (tickable) {
            caption->setFlags(caption->flags() | Qt::ItemIsUserCheckable);
            caption->setCheckState(Qt::Unchecked);
        }
        m_table->setItem(row, ItemColumn, caption);
        m_table->setItem(row, LeftColumn, new QTableWidgetItem(Joined(lines, &TValueWords::before)));
        m_table->setItem(row, RightColumn, new QTableWidgetItem(Joined(lines, &TValueWords::after)));
        m_table->setItem(row, BytesColumn,
                         new QTableWidgetItem(RawText(difference.leftRaw) + QStringLiteral(" → ") +
                                              RawText(difference.rightRaw)));
    }
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
}

void TFormCompare::LoadTicked()
{
    QStringList ticked;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const QTableWidgetItem* caption = m_table->item(row, ItemColumn);
        if (caption->checkState() == Qt::Checked)
            ticked << caption->data(Qt::UserRole).toString();
    }
    if (ticked.isEmpty() || m_file.isEmpty())
        return;
    TVehicleSession::RunOn(m_vehicles, TTimelineKind::Load, m_file,
                           [&] { return m_module->LoadConfiguration(m_file, ticked); });
    ShowUnitAgainst(m_file);
}
