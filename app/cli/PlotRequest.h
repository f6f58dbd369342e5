#pragma once

// What 'log plot' was asked to draw: the picture's file and the drawing's
// options, read from the command line and checked before the log is read.

#include "app/cli/CommandLine.h"
#include "chart/LogPlot.h"

class TPlotRequest {
public:
    explicit TPlotRequest(const TParsedCommand& command);

    // Reads --png, --channels, --from, --to and --size; false with the usage
    // error when one is missing or out of its range.
    bool Read(QString& error);

    const QString& PngFile() const { return m_pngFile; }
    const LogPlot::TOptions& Options() const { return m_options; }

private:
    bool ReadChannels(QString& error);
    bool ReadSpan(QString& error);
    bool ReadSize(QString& error);

    const TParsedCommand& m_command;
    QString m_pngFile;
    LogPlot::TOptions m_options;
};
