#include "app/AboutBox.h"

#include "app/FormScaling.h"
#include "model/ResourceLibrary.h"
#include "ui_AboutBox.h"

#include <QFile>

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner), m_ui(std::make_unique<Ui::TAboutBox>())
{
    m_ui->setupUi(this);
    m_ui->AboutImage->setPixmap(QPixmap(ResourceLibrary::Path(QStringLiteral("bitmap"), 10004)));
    ScaleForm(this, ScalingWidth());
    setFixedSize(size());
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::reject()
{
    accept(); // OK is the cancel button too: Escape closes the box with OK
}

void TAboutBox::SetProductName(const QString& name)
{
    m_ui->ProductName->setText(name);
}

void TAboutBox::SetVersionText(const QString& version)
{
    m_ui->Version->setText(QStringLiteral("Version: ") + QLatin1Char(' ') + version);
}

QString TAboutBox::VersionLabel() const
{
    return m_ui->Version->text();
}

bool TAboutBox::HasPicture() const
{
    return !m_ui->AboutImage->pixmap().isNull();
}

QString ProgramVersionText()
{
    QFile information(QStringLiteral(":/program/version/FileVersion"));
    const QString version = information.open(QIODevice::ReadOnly)
                                ? QString::fromUtf8(information.readAll()).trimmed()
                                : QString();
    return version.isEmpty() ? QStringLiteral("not available") : version;
}
