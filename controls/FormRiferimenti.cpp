#include "controls/FormRiferimenti.h"

#include "controls/NumericEdit.h"
#include "support/TextValues.h"
#include "ui_FormRiferimenti.h"

#include <QLabel>
#include <QMessageBox>

namespace {

// Where the rows of the breakpoints lie in the scroll box.
constexpr int RowPitch = 32;
constexpr int LabelLeft = 16;
constexpr int LabelTop = 20;
constexpr int EditLeft = 88;
constexpr int EditTop = 12;
constexpr int EditWidth = 60;
constexpr int EditHeight = 24;
constexpr int LabelGap = 4;
// The scroll box's background.
const QColor Cream(0xFF, 0xFB, 0xF0);

} // namespace

TFormRiferimenti::TFormRiferimenti(QWidget* owner)
    : QDialog(owner), m_ui(std::make_unique<Ui::TFormRiferimenti>())
{
    m_ui->setupUi(this);
    QPalette cream = m_ui->ScrollBox->palette();
    cream.setColor(QPalette::Window, Cream);
    m_ui->ScrollBox->setPalette(cream);
}

TFormRiferimenti::~TFormRiferimenti() = default;

void TFormRiferimenti::SetTexts(const QStringList& texts)
{
    setWindowTitle(NamedValue(texts, QStringLiteral("Caption"), windowTitle()));
    m_ui->RefTitle->setText(NamedValue(texts, QStringLiteral("RefTitle"), m_ui->RefTitle->text()));
    m_ui->ButtonOk->setText(NamedValue(texts, QStringLiteral("ButtonOk"), m_ui->ButtonOk->text()));
    m_ui->ButtonCancel->setText(
        NamedValue(texts, QStringLiteral("ButtonCancel"), m_ui->ButtonCancel->text()));
    m_sortError = NamedValue(texts, QStringLiteral("SortError"), m_sortError);
    m_refLabel = NamedValue(texts, QStringLiteral("RefLabel"), m_refLabel);
}

void TFormRiferimenti::AddReference(double value, double minValue, double maxValue, double precision)
{
    const int k = int(m_edits.size());
    QWidget* box = m_ui->ScrollContents;
    auto* label = new QLabel(QStringLiteral("%1 %2").arg(m_refLabel).arg(k + 1), box);
    label->move(LabelLeft, RowPitch * k + LabelTop);
    label->adjustSize();

    // A label wider than the room left of the edits (a large font) pushes its edit right.
    auto* edit = new TNumericEdit(box);
    edit->setObjectName(QStringLiteral("Edit%1").arg(k));
    edit->setGeometry(qMax(EditLeft, label->geometry().right() + LabelGap), RowPitch * k + EditTop, EditWidth,
                      EditHeight);
    edit->SetValidation(false);
    // The maximum first, so that a minimum above the old maximum is taken.
    edit->SetMaxValue(maxValue);
    edit->SetMinValue(minValue);
    edit->SetPrecision(precision);
    edit->SetDouble(value);
    if (!m_edits.isEmpty()) {
        m_edits.last()->SetNextControl(edit);
        edit->SetPrevControl(m_edits.last());
    }
    m_edits.append(edit);
    box->resize(qMax(box->width(), edit->geometry().right() + LabelGap), RowPitch * (k + 1) + EditTop);
}

QVector<double> TFormRiferimenti::Values() const
{
    QVector<double> values;
    for (const TNumericEdit* edit : m_edits)
        values.append(edit->GetDouble());
    return values;
}

int TFormRiferimenti::FirstOutOfOrder() const
{
    if (m_sortType == TGridReference::stNone)
        return -1;
    const QVector<double> values = Values();
    for (int k = 0; k + 1 < values.size(); ++k) {
        const bool ordered =
            m_sortType == TGridReference::stAscent ? values[k] < values[k + 1] : values[k] > values[k + 1];
        if (!ordered)
            return k;
    }
    return -1;
}

void TFormRiferimenti::accept()
{
    const int k = FirstOutOfOrder();
    if (k < 0)
        return QDialog::accept();
    if (ShowStopMessage)
        ShowStopMessage(windowTitle(), m_sortError);
    else
        QMessageBox::critical(this, windowTitle(), m_sortError);
    m_edits[k]->setFocus(Qt::OtherFocusReason);
}
