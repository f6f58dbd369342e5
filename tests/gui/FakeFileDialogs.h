#pragma once

// Answers the windows' file dialogs from a script.

#include "app/FileDialogs.h"

#include <QStringList>

class FakeFileDialogs : public TFileDialogs {
public:
    QString answer;       // the file chosen; empty = cancelled
    QString portAnswer;   // the port path typed; empty = cancelled
    QStringList folders;  // the folder each dialog opened in
    QStringList captions; // the caption of each dialog that was given one
    QStringList answers;  // files chosen in turn by dialogs given a caption, before `answer`

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
    QString GetOpenFileNameFor(QWidget*, const QString& folder, const QString& caption) override
    {
        folders << folder;
        captions << caption;
        return answers.isEmpty() ? answer : answers.takeFirst();
    }
    QString GetPortPath(QWidget*, const QString&, const QString&, const QString&) override
    {
        return portAnswer;
    }
};
