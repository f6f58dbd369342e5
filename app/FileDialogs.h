#pragma once

// The seam for choosing a configuration file, or a port's path: the windows
// ask it for a file name to save to or to open; tests answer it.

#include <QString>
#include <QtGlobal>

class QWidget;

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& folder) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& folder) = 0;
    // A serial port's path typed by the user, starting from current; empty when cancelled.
    virtual QString GetPortPath(QWidget* parent, const QString& caption, const QString& label, const QString& current)
    {
        Q_UNUSED(parent) Q_UNUSED(caption) Q_UNUSED(label) Q_UNUSED(current) return QString();
    }
};

// The toolkit's file dialogs: configuration files "*.tcn"; a name typed
// without extension gets "lce".
class TQtFileDialogs : public TFileDialogs {
public:
    QString GetSaveFileName(QWidget* parent, const QString& folder) override;
    QString GetOpenFileName(QWidget* parent, const QString& folder) override;
    QString GetPortPath(QWidget* parent, const QString& caption, const QString& label, const QString& current) override;
};
