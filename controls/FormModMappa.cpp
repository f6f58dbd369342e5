#include "controls/FormModMappa.h"

#include "controls/NumericEdit.h"
#include "support/TextValues.h"
#include "ui_FormModMappa.h"

#include <QButtonGroup>

TFormModMappa::TFormModMappa(QWidget* owner)
    : QDialog(owner), m_ui(std::make_unique<Ui::TFormModMappa>()), m_modes(new QButtonGroup(this))
{
    m_ui->setupUi(this);
    // The value typed is kept when the user leaves the field for OK, and
    // Return in the field passes on to OK.
    m_ui->EditValore->SetValidation(false);
    m_ui->EditValore->SetNextControl(m_ui->ButtonOk);
    m_modes->addButton(m_ui->Mode1, 0);
    m_modes->addButton(m_ui->Mode2, 1);
    m_modes->addButton(m_ui->Mode3, 2);
}

TFormModMappa::~TFormModMappa() = default;

TNumericEdit* TFormModMappa::ValueEdit() const
{
    return m_ui->EditValore;
}

int TFormModMappa::Mode() const
{
    return m_modes->checkedId();
}

void TFormModMappa::SetMode(int mode)
{
    if (QAbstractButton* button = m_modes->button(mode))
        button->setChecked(true);
}

void TFormModMappa::SetTexts(const QStringList& texts)
{
    setWindowTitle(NamedValue(texts, QStringLiteral("Caption"), windowTitle()));
    m_ui->ButtonOk->setText(NamedValue(texts, QStringLiteral("ButtonOk"), m_ui->ButtonOk->text()));
    m_ui->ButtonCancel->setText(
        NamedValue(texts, QStringLiteral("ButtonCancel"), m_ui->ButtonCancel->text()));
    m_ui->GroupMode->setTitle(NamedValue(texts, QStringLiteral("GroupMode"), m_ui->GroupMode->title()));
    for (QAbstractButton* mode : m_modes->buttons())
        mode->setText(NamedValue(texts, mode->objectName(), mode->text()));
}
