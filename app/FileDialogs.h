#pragma once

// The seam for choosing a configuration file, or a port's path: the windows
// ask it for a file name to save to or to open; tests answer it.

#include <QString>

class QWidget;

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& folder) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& folder) = 0;
    // A configuration file to open, the dialog titled with what it is for
    // ("the first file to compare"); by default as GetOpenFileName.
    virtual QString GetOpenFileNameFor(QWidget* parent, const QString& folder, const QString& /*caption*/)
    {
        return GetOpenFileName(parent, folder);
    }
    // A serial port's path typed by the user (parent, caption, label, the
    // current path to start from); empty when cancelled, as by default.
    virtual QString GetPortPath(QWidget*, const QString&, const QString&, const QString&)
    {
        return QString();
    }
};

// The toolkit's file dialogs: configuration files "*.tcn" and "*.lce"; a name
// typed without extension gets "lce".
class TQtFileDialogs : public TFileDialogs {
public:
    QString GetSaveFileName(QWidget* parent, const QString& folder) override;
    QString GetOpenFileName(QWidget* parent, const QString& folder) override;
    QString GetOpenFileNameFor(QWidget* parent, const QString& folder, const QString& caption) override;
    QString GetPortPath(QWidget* parent, const QString& caption, const QString& label,
                        const QString& current) override;
};
