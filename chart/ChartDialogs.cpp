#include "chart/ChartDialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>

QString TChartDialogs::GetReportFileName(QWidget*, const QString&, const QString&, const QString&)
{
    return QString();
}

bool TChartDialogs::GetWorkshop(QWidget*, const QString&, const QString&, const QString&, QString&, QString&)
{
    return false;
}

void TChartDialogs::OpenFolder(const QString&) {}

void TQtChartDialogs::OpenFolder(const QString& folder)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString TQtChartDialogs::GetReportFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                           const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, fileName, filter);
}

bool TQtChartDialogs::GetWorkshop(QWidget* parent, const QString& caption, const QString& nameLabel,
                                  const QString& addressLabel, QString& name, QString& address)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* nameEdit = new QLineEdit(name, &dialog);
    auto* addressEdit = new QPlainTextEdit(address, &dialog);
    addressEdit->setTabChangesFocus(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(nameLabel, nameEdit);
    form->addRow(addressLabel, addressEdit);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = nameEdit->text().trimmed();
    address = addressEdit->toPlainText().trimmed();
    return true;
}

QString TQtChartDialogs::GetLogFileName(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, QStringLiteral("CSV (*.csv);;* (*)"));
}

QString TQtChartDialogs::GetLogFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

bool TQtChartDialogs::GetMarkerNote(QWidget* parent, const QString& caption, const QString& label,
                                    QString& note)
{
    bool ok = false;
    note = QInputDialog::getText(parent, caption, label, QLineEdit::Normal, QString(), &ok);
    return ok;
}
