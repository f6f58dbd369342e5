#pragma once

// The seam through which the chart window asks the user for files, a folder and
// a marker's note, and shows a folder; tests answer it.

#include <QString>

class QWidget;

class TChartDialogs {
public:
    virtual ~TChartDialogs() = default;
    // A data log to open, or an empty text when the user cancelled.
    virtual QString GetLogFileName(QWidget* parent, const QString& caption, const QString& folder) = 0;
    // The folder new logs go to, or an empty text when the user cancelled.
    virtual QString GetLogFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;
    // The note of a marker; false when the user cancelled the marker.
    virtual bool GetMarkerNote(QWidget* parent, const QString& caption, const QString& label,
                               QString& note) = 0;
    // The PDF file a report goes to, or an empty text when the user cancelled
    // (the default: a seam that does not answer cancels).
    virtual QString GetReportFileName(QWidget* parent, const QString& caption, const QString& fileName,
                                      const QString& filter);
    // The workshop's name and address for a report, shown with the values
    // given; false when the user cancelled (the default).
    virtual bool GetWorkshop(QWidget* parent, const QString& caption, const QString& nameLabel,
                             const QString& addressLabel, QString& name, QString& address);
    // Shows the folder in the desktop's file manager (the default: nothing).
    virtual void OpenFolder(const QString& folder);
};

// The toolkit's dialogs.
class TQtChartDialogs : public TChartDialogs {
public:
    QString GetLogFileName(QWidget* parent, const QString& caption, const QString& folder) override;
    QString GetLogFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    bool GetMarkerNote(QWidget* parent, const QString& caption, const QString& label, QString& note) override;
    QString GetReportFileName(QWidget* parent, const QString& caption, const QString& fileName,
                              const QString& filter) override;
    bool GetWorkshop(QWidget* parent, const QString& caption, const QString& nameLabel,
                     const QString& addressLabel, QString& name, QString& address) override;
    void OpenFolder(const QString& folder) override;
};
