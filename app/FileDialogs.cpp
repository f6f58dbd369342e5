#include "app/FileDialogs.h"

#include "model/ConfigurationFileTypes.h"

#include <QFileDialog>
#include <QInputDialog>

namespace {

QString Run(QWidget* parent, const QString& folder, QFileDialog::AcceptMode mode,
            const QString& caption = QString())
{
    QFileDialog dialog(parent, caption, folder, ConfigurationFileTypes::DialogFilter());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(ConfigurationFileTypes::DefaultSuffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

QString TQtFileDialogs::GetSaveFileName(QWidget* parent, const QString& folder)
{
    return Run(parent, folder, QFileDialog::AcceptSave);
}

QString TQtFileDialogs::GetOpenFileName(QWidget* parent, const QString& folder)
{
    return Run(parent, folder, QFileDialog::AcceptOpen);
}

QString TQtFileDialogs::GetOpenFileNameFor(QWidget* parent, const QString& folder, const QString& caption)
{
    return Run(parent, folder, QFileDialog::AcceptOpen, caption);
}

QString TQtFileDialogs::GetPortPath(QWidget* parent, const QString& caption, const QString& label,
                                    const QString& current)
{
    return QInputDialog::getText(parent, caption, label, QLineEdit::Normal,
                                 current.isEmpty() ? QStringLiteral("/dev/ttyUSB0") : current);
}
