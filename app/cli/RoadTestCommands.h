#pragma once

// The road-test commands of tzr582-cli: 'log check' judges a data log against
// the configuration in force, 'report' writes the customer's report. They reach
// the data module, the unit and the console through what TCliCommands hands
// them. A report given --vehicle names the vehicle and is recorded on its timeline.

#include "app/cli/CommandLine.h"

#include <functional>

class TOrvNumber;
class TOrvRegistryData;
class TRoadTestSettings;
class TSerialDataModule;
struct TReportRequest;
struct TVehicle;

class TRoadTestCommands {
public:
    struct TConsole {
        std::function<TSerialDataModule&()> module;  // started on first use, not connected
        std::function<TOrvRegistryData&()> settings; // the program's settings, once the module started
        std::function<bool()> connect;               // false with the reason on stderr
        std::function<void(const QString&)> print;   // a line of results on stdout
        std::function<void(const QString&)> error;   // a message line on stderr
        // Runs the command recorded on the vehicle of --vehicle (TVehicleCommands::Recorded).
        std::function<int(const std::function<int(const TVehicle&)>&)> onVehicle;
    };

    TRoadTestCommands(const TParsedCommand& command, TConsole console);

    int Check(const QString& logFile);
    int Report();

private:
    // The configuration values from --config, else from the connected unit;
    // false, with the reason on stderr, when they cannot be had.
    bool ReadSettings(TRoadTestSettings& settings);
    // The report's configuration: the file's values with --config, else the
    // connected unit's with its identity and the previous configuration on record.
    bool ReadReportedConfiguration(TReportRequest& request);
    // The road test of --log into the request, with its picture.
    bool AddRoadTest(TReportRequest& request);
    // The report, naming the vehicle when it has a plate.
    int WriteReport(const TVehicle& vehicle);
    int Trouble(const QString& message);
    QString Option(const QString& name) const;

    const TParsedCommand& m_command;
    TConsole m_console;
};
