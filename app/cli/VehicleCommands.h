#pragma once

// The vehicle commands of tzr582-cli ('vehicle add', 'list', 'show', ...) over the
// workshop's records, and the recording of a unit command on the vehicle its
// --vehicle names. The records are those of --database, else the default SQLite
// file. A unit command's record that fails never fails the command: it is said
// on stderr as not recorded.

#include "app/cli/CommandLine.h"
#include "records/TimelineEntry.h"

#include <functional>
#include <memory>

class TRecordsDatabase;
class TSerialDataModule;
class TVehicleRecorder;
#include "records/Vehicle.h"

class TVehicleCommands {
public:
    struct TConsole {
        std::function<TSerialDataModule&()> module; // started, not connected
        std::function<QString()> databaseSetting;   // the program's setting of the records' URL
        std::function<void(const QString&)> print;  // a line of results on stdout
        std::function<void(const QString&)> error;  // a message line on stderr
    };

    TVehicleCommands(const TParsedCommand& command, TConsole console);
    ~TVehicleCommands();

    // Runs a command of the vehicle group; answers the exit status.
    int Run();

    // Before a unit command with --vehicle: finds the vehicle. False, with the
    // reason on stderr, when the records answer that there is no such vehicle;
    // records that cannot be opened only make the command go unrecorded.
    bool BeginRecording();
    // After the unit command: records it when it succeeded.
    void EndRecording(int status);
    // BeginRecording, run (given the vehicle; an empty one when the records
    // cannot be opened), EndRecording; answers the exit status.
    int Recorded(const std::function<int(const TVehicle&)>& run);

private:
    int Add();
    int Edit(const QString& plate);
    int List();
    int Show(const QString& plate);
    int Note(const QString& plate, const QString& text);
    int Attach(const QString& plate, const QString& fileName);
    int Export(const QString& plate, const QString& fileName);
    int Import(const QString& fileName);
    int ImportCsv(const QString& fileName);

    // Opens the records; false with the reason noted.
    bool OpenRecords();
    // Finds the vehicle for a command; false, with the reason on stderr, when
    // it cannot be had.
    bool FindVehicle(const QString& plate, TVehicle& vehicle);
    // Sets the fields the command's options give; false with the reason on stderr.
    bool ApplyFieldOptions(TVehicle& vehicle);
    // The kind, file and summary of the unit command's record.
    TTimelineKind RecordedKind() const;
    QString RecordedFile() const;
    QString RecordedVerb() const;
    int Fail(const QString& message);

    const TParsedCommand& m_command;
    TConsole m_console;
    std::unique_ptr<TRecordsDatabase> m_database;
    std::unique_ptr<TVehicleRecorder> m_recorder;
    QString m_recordedFile;
    QString m_notRecorded;
};
