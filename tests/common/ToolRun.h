#pragma once

// Runs a program of the project to its end, as a script would, and keeps what
// it printed: for the tests of the command-line groups.

#include <QProcess>
#include <QString>
#include <QStringList>

struct TToolRun {
    int exitCode = -1; // -1 also when the program crashed or hung
    QString out;
    QString err;

    static TToolRun Of(const QString& program, const QStringList& args,
                       const QProcessEnvironment& environment)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, args);
        process.closeWriteChannel();
        TToolRun run;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }
};
