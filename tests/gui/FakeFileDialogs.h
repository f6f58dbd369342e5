#pragma once

// Answers the windows' file dialogs from a script.

#include "app/FileDialogs.h"

#include <QStringList>

class FakeFileDialogs : public TFileDialogs {
public:
    QString answer;      // the file chosen; empty = cancelled
    QString portAnswer;  // the port path typed; empty = cancelled
    QStringList folders; // the folder each dialog opened in

    QString GetSaveFileName(QWidget*, const QString& folder) override
    {
        folders << folder;
        return answer;
    }
    QString GetOpenFileName(QWidget*, const QString& folder) override
    {
        folders << folder;
        return answer;
    }
    QString GetPortPath(QWidget*, const QString&, const QString&, const QString&) override
    {
        return portAnswer;
    }
};
