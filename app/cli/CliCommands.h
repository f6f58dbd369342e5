#pragma once

// The commands of tzr582-cli. The unit commands run the data module the windows
// run, started as the program starts it, on a unit connected through the USB
// port; the configuration-file commands read files through the module's checks
// without a unit, and the data-log commands only need the chart's drawing.

#include "app/cli/CommandLine.h"
#include "app/cli/RoadTestCommands.h"
#include "app/cli/VehicleCommands.h"

#include <memory>

class QByteArray;
class QIODevice;
class TConsoleOutput;
class TConsolePrompts;
struct TLoadReport;
class TOrvNumber;
class TOrvRegistryData;
class TOrvSerialData;
class TSerialDataModule;

class TCliCommands {
public:
    // Results go to out; messages and questions through prompts and errors.
    // dataFolder is the program's data folder, with a trailing separator.
    TCliCommands(TConsolePrompts& prompts, TConsoleOutput& errors, QIODevice& out, const QString& dataFolder);
    ~TCliCommands();

    // Runs a command line that parsed as a command; answers the exit status,
    // a failure when a result could not be written whole to out.
    int Run(const TParsedCommand& command);

private:
    int RunCommand(const TParsedCommand& command);
    // The commands that run on the started module.
    int RunModuleCommand(const TParsedCommand& command);

    int Decrypt(const QString& fileName);
    int Encrypt(const QString& iniFileName, const QString& fileName);
    int Plot(const QString& logFile);

    int Info();
    int Dump(bool raw);
    int Get(const QString& itemName);
    int Set(const QString& itemName, const QString& valueText);
    int Save(const QString& fileName);
    int Load(const QString& fileName);
    int Live();
    int RecordLog(const QString& fileName);
    int Erase();
    int Program();
    int Diff(const QString& left, const QString& right);
    int Backups();
    int Restore(const QString& fileName);
    // The exit status of a load or restore of what (a file named for messages),
    // after saying how many values it wrote.
    int LoadOutcome(bool loaded, const TLoadReport& report, const QString& what);
    // 'log check' and 'report', over this tool's module, unit and console.
    TRoadTestCommands RoadTestCommands();
    // The vehicle group, and the recording of unit commands on a vehicle.
    TVehicleCommands VehicleCommands();

    // The data module, started as the program starts and with every item at
    // its default.
    void StartModule();
    // Connects to the unit; false, with the reason on stderr, when it failed.
    bool Connect();
    // An item by component name, else by file key, without regard to case.
    TOrvSerialData* FindItem(const QString& name) const;
    // Translator string index, or fallback when the language store lacks it.
    QString Text(int index, const QString& fallback) const;

    // The module's text of a refused file on one line, or otherwise when empty.
    static QString FileProblem(const QString& problem, const QString& otherwise = QString());

    void Print(const QString& line);
    // Writes to out (unbuffered), noting a write that failed or fell short.
    void WriteOut(const QByteArray& bytes);
    int Fail(const QString& message);
    int UsageError(const QString& message);
    // A comparison that could not be made: exit status 2, as diff's.
    int Trouble(const QString& message);

    TConsolePrompts& m_prompts;
    TConsoleOutput& m_errors;
    QIODevice& m_out;
    const QString m_dataFolder;
    const TParsedCommand* m_command = nullptr;
    bool m_outputLost = false;
    std::unique_ptr<TOrvRegistryData> m_settings;
    std::unique_ptr<TSerialDataModule> m_module;
};
