#pragma once

// The tool's standard error as the messages, questions and wait windows share
// it: whole lines, and one progress line that is rewritten in place (on a
// terminal) and ended before anything else is written.

#include <QString>

class QIODevice;

class TConsoleOutput {
public:
    explicit TConsoleOutput(QIODevice& device) : m_device(device) {}

    // Writes text (which may hold several lines) as whole lines.
    void WriteLine(const QString& text);
    // Writes text without a line end, for a question waiting for its answer.
    void WritePrompt(const QString& text);
    // Replaces the progress line by text.
    void WriteProgress(const QString& text);
    // Ends the progress line, when there is one.
    void EndProgress();

private:
    void Write(const QString& text);

    QIODevice& m_device;
    bool m_inProgress = false;
};
