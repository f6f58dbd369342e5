#pragma once

// The command line of tzr582-cli: the commands with their arguments and options,
// their help texts, and the parsing of the words the tool was started with.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Exit status of the tool.
namespace ExitStatus {
constexpr int Success = 0;
constexpr int Failure = 1; // the operation failed; its message is on stderr
constexpr int Usage = 2;   // the command line was wrong
} // namespace ExitStatus

enum class TCommandId {
    TcnDecrypt,
    TcnEncrypt,
    UnitInfo,
    UnitDump,
    UnitGet,
    UnitSet,
    UnitSave,
    UnitLoad,
    UnitLive,
    UnitErase,
    UnitProgram,
    LogPlot,
    TcnDiff,
    UnitDiff,
    UnitBackups,
    UnitRestore,
    LogCheck,
    Report,
    VehicleAdd,
    VehicleEdit,
    VehicleList,
    VehicleShow,
    VehicleNote,
    VehicleAttach,
    VehicleExport,
    VehicleImport,
    VehicleImportCsv,
};

struct TOptionDefinition {
    QString name;      // without the leading "--"
    QString valueName; // empty for a flag
    QString description;
};

struct TCommandDefinition {
    TCommandId id;
    QString group;         // "tcn", "unit", "log", "vehicle" or "report"
    QString name;          // empty for a group that is a command of its own ("report")
    QStringList arguments; // names of the positional arguments, in order
    QList<TOptionDefinition> options;
    QString summary;
    QString details;

    bool Takes(const QString& option) const;
};

// What a command line asks for.
struct TParsedCommand {
    enum class Outcome { Run, Help, Version, UsageError };

    Outcome outcome = Outcome::UsageError;
    // The command; null for the help or usage of the tool or of a group.
    const TCommandDefinition* command = nullptr;
    QString group;
    QStringList arguments;
    QHash<QString, QString> options; // a flag maps to an empty text
    QString error;                   // what is wrong, for a usage error

    bool Has(const QString& option) const { return options.contains(option); }
};

class TCommandLine {
public:
    // The tool's name, as its messages begin.
    static QString ProgramName() { return QStringLiteral("tzr582-cli"); }
    static const QList<TCommandDefinition>& Commands();

    // Parses the words after the program name.
    static TParsedCommand Parse(const QStringList& words);

    // "tzr582-cli VERSION", for stdout.
    static QString VersionText();
    // The help of the command, of the group or of the tool, for stdout.
    static QString HelpText(const TParsedCommand& parsed);
    // What is wrong with a command line, and the short usage of the command,
    // group or tool, for stderr.
    static QString UsageErrorText(const TParsedCommand& parsed, const QString& error);

private:
    static QString Synopsis(const TCommandDefinition& command);
    static void ParseCommandWords(const QStringList& words, TParsedCommand& parsed);
};
