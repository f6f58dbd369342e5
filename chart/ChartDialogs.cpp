#include "chart/ChartDialogs.h"

#include <QFileDialog>
#include <QInputDialog>

QString TQtChartDialogs::GetLogFileName(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, QStringLiteral("CSV (*.csv);;* (*)"));
}

QString TQtChartDialogs::GetLogFolder(QWidget* parent, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(parent, caption, folder);
}

bool TQtChartDialogs::GetMarkerNote(QWidget* parent, const QString& caption, const QString& label, QString& note)
{
    bool ok = false;
    note = QInputDialog::getText(parent, caption, label, QLineEdit::Normal, QString(), &ok);
    return ok;
}
