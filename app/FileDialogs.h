#pragma once

// The seam for choosing a configuration file: the windows ask it for a file
// name to save to or to open; tests answer it.

#include <QString>

class QWidget;

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString GetSaveFileName(QWidget* parent, const QString& folder) = 0;
    virtual QString GetOpenFileName(QWidget* parent, const QString& folder) = 0;
};

// The toolkit's file dialogs: configuration files "*.tcn"; a name typed
// without extension gets "lce".
class TQtFileDialogs : public TFileDialogs {
public:
    QString GetSaveFileName(QWidget* parent, const QString& folder) override;
    QString GetOpenFileName(QWidget* parent, const QString& folder) override;
};
