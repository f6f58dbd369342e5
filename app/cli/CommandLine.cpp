#include "app/cli/CommandLine.h"

#include <QCoreApplication>

namespace {

// The column of the commands' summaries in the help, after a two-blank indent.
constexpr int SynopsisWidth = 37;

const QString ToolDescription =
    QStringLiteral("Runs the configurator's operations on the control unit without windows.\n"
                   "Every unit command first connects to the unit on the configured port (the\n"
                   "simulated unit unless the settings or --port PATH name a serial port) and\n"
                   "releases the link when it ends. Messages and progress go to standard error, results\n"
                   "to standard output; numbers in results use a point as decimal separator.\n");

const QString ExitStatusText =
    QStringLiteral("Exit status: 0 success, 1 the operation failed (its message on standard error),\n"
                   "2 the command line was wrong, or a dump, get or diff met values that could not\n"
                   "be read (the items the unit did not give are named on standard error).\n");

bool IsHelpWord(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

const TOptionDefinition* FindOption(const TCommandDefinition& command, const QString& name)
{
    for (const TOptionDefinition& option : command.options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

// Whether some command knows the option, and whether it takes a value there.
bool AnyCommandTakes(const QList<TCommandDefinition>& commands, const QString& name, bool* withValue)
{
    for (const TCommandDefinition& command : commands) {
        if (const TOptionDefinition* option = FindOption(command, name)) {
            *withValue = !option->valueName.isEmpty();
            return true;
        }
    }
    return false;
}

// Every command that may reach the unit can name the port the unit is on.
QList<TCommandDefinition> WithPortOption(QList<TCommandDefinition> commands)
{
    const TOptionDefinition port{QStringLiteral("port"), QStringLiteral("PATH"),
                                 QStringLiteral("the unit on this serial port or pseudo-terminal")};
    for (TCommandDefinition& command : commands) {
        if (command.group == QLatin1String("unit") || command.id == TCommandId::LogCheck ||
            command.id == TCommandId::Report)
            command.options << port;
    }
    return commands;
}

// Every command can name the vehicle records; the unit commands that change the
// unit or make a file of it can record on a vehicle.
QList<TCommandDefinition> WithRecordsOptions(QList<TCommandDefinition> commands)
{
    const TOptionDefinition database{
        QStringLiteral("database"), QStringLiteral("URL"),
        QStringLiteral("the vehicle records: sqlite:PATH or postgresql://user@host/db")};
    const TOptionDefinition vehicle{QStringLiteral("vehicle"), QStringLiteral("PLATE"),
                                    QStringLiteral("record the operation on this vehicle")};
    const QList<TCommandId> recorded = {TCommandId::UnitSave, TCommandId::UnitLoad,  TCommandId::UnitRestore,
                                        TCommandId::UnitLive, TCommandId::UnitErase, TCommandId::UnitProgram,
                                        TCommandId::Report};
    for (TCommandDefinition& command : commands) {
        if (recorded.contains(command.id))
            command.options << vehicle;
        command.options << database;
    }
    return commands;
}

// The vehicle's fields as options of 'vehicle add' and 'vehicle edit'.
QList<TOptionDefinition> VehicleFieldOptions()
{
    return {
        {QStringLiteral("plate"), QStringLiteral("P"), QStringLiteral("the number plate")},
        {QStringLiteral("vin"), QStringLiteral("V"),
         QStringLiteral("the vehicle identification number (17 characters)")},
        {QStringLiteral("customer"), QStringLiteral("C"), QStringLiteral("the customer's name")},
        {QStringLiteral("phone"), QStringLiteral("T"), QStringLiteral("the customer's phone number")},
        {QStringLiteral("make"), QStringLiteral("M"), QStringLiteral("the make")},
        {QStringLiteral("model"), QStringLiteral("M"), QStringLiteral("the model")},
        {QStringLiteral("engine"), QStringLiteral("E"), QStringLiteral("the engine")},
        {QStringLiteral("year"), QStringLiteral("Y"), QStringLiteral("the year of manufacture")},
        {QStringLiteral("kit"), QStringLiteral("K"), QStringLiteral("the conversion kit")},
        {QStringLiteral("notes"), QStringLiteral("N"), QStringLiteral("free notes")},
    };
}

// The groups that are one command of their own, without a command word.
bool IsSingleCommand(const QString& group)
{
    return group == QLatin1String("report");
}

} // namespace

bool TCommandDefinition::Takes(const QString& option) const
{
    return FindOption(*this, option) != nullptr;
}

const QList<TCommandDefinition>& TCommandLine::Commands()
{
    static const TOptionDefinition yes{QStringLiteral("yes"), QString(),
                                       QStringLiteral("answer yes to every question")};
    // The operations that back the unit up first stop when the backup cannot be
    // made, unless this option says to go on; --yes never does.
    static const TOptionDefinition noBackup{QStringLiteral("no-backup"), QString(),
                                            QStringLiteral("go on when the unit cannot be backed up first")};
    static const QList<TCommandDefinition> commands = WithRecordsOptions(WithPortOption({
        {TCommandId::TcnDecrypt,
         QStringLiteral("tcn"),
         QStringLiteral("decrypt"),
         {QStringLiteral("FILE")},
         {},
         QStringLiteral("print the INI text of a configuration file"),
         QStringLiteral("Deciphers the configuration file FILE and writes its content, INI text in\n"
                        "Latin-1 exactly as stored, to standard output.\n")},
        {TCommandId::TcnEncrypt,
         QStringLiteral("tcn"),
         QStringLiteral("encrypt"),
         {QStringLiteral("INI"), QStringLiteral("OUT")},
         {},
         QStringLiteral("make a configuration file from INI text"),
         QStringLiteral("Enciphers the file INI into the configuration file OUT. An existing OUT is\n"
                        "replaced only once the new file is complete.\n")},
        {TCommandId::UnitInfo,
         QStringLiteral("unit"),
         QStringLiteral("info"),
         {},
         {},
         QStringLiteral("identity, port and firmware version of the unit"),
         QStringLiteral("Prints one line per fact, a name and a value separated by a tab:\n"
                        "  identity  the unit's 8-byte identity record, decimal bytes separated by blanks\n"
                        "  port      the port the unit answers on: COM1 to COM4 or USB\n"
                        "  firmware  the firmware version (identity byte 3)\n"
                        "  mode      \"application\", or \"boot-loader\" while the boot loader runs\n"
                        "            (firmware is then the boot loader's version)\n")},
        {TCommandId::UnitDump,
         QStringLiteral("unit"),
         QStringLiteral("dump"),
         {},
         {{QStringLiteral("raw"), QString(), QStringLiteral("add the raw value the unit holds")}},
         QStringLiteral("every parameter and live value of the unit"),
         QStringLiteral("Prints one line per item, in catalogue order, fields separated by tabs:\n"
                        "the component name, the configuration-file key (empty for live values), and\n"
                        "the value followed by a blank and its unit (the value alone when it has no\n"
                        "unit). With --raw a fourth field holds the raw value of the unit's byte\n"
                        "(all its bits, also those of other items sharing it), in decimal. An item\n"
                        "the unit did not give has empty value fields; such items are named on\n"
                        "standard error and the exit status is 2.\n")},
        {TCommandId::UnitGet,
         QStringLiteral("unit"),
         QStringLiteral("get"),
         {QStringLiteral("ITEM")},
         {},
         QStringLiteral("print one value"),
         QStringLiteral("Prints the value of ITEM as the third field of 'unit dump' shows it.\n"
                        "ITEM is a component name (GiriCutOff) or a configuration-file key\n"
                        "(\"GIRI CUTOFF\"), without regard to case. When the unit does not give the\n"
                        "value, nothing is printed and the exit status is 2.\n")},
        {TCommandId::UnitSet,
         QStringLiteral("unit"),
         QStringLiteral("set"),
         {QStringLiteral("ITEM"), QStringLiteral("VALUE")},
         {},
         QStringLiteral("write one parameter"),
         QStringLiteral("Writes VALUE, a number with a point or a comma as decimal separator, to the\n"
                        "parameter ITEM (named as for 'unit get'), reads it back from the unit and\n"
                        "prints it as 'unit get' does. The parameter's limits, step and rules apply\n"
                        "as in the configuration window: a value beyond a limit is stored as that\n"
                        "limit, and dependent parameters follow (a new ignition type rescales the\n"
                        "engine speeds). Live values and the command RIPROGRAMMAZIONE cannot be set.\n")},
        {TCommandId::UnitSave,
         QStringLiteral("unit"),
         QStringLiteral("save"),
         {QStringLiteral("FILE")},
         {},
         QStringLiteral("save the unit's configuration to a file"),
         QStringLiteral("Saves every parameter of the unit into the configuration file FILE. An existing\n"
                        "FILE is replaced only once the new file is complete.\n")},
        {TCommandId::UnitLoad,
         QStringLiteral("unit"),
         QStringLiteral("load"),
         {QStringLiteral("FILE")},
         {noBackup},
         QStringLiteral("write a configuration file into the unit"),
         QStringLiteral("Writes every parameter the configuration file FILE holds into the unit: the\n"
                        "ignition type first, then the engine speeds on its scale. A file that is\n"
                        "not a configuration changes nothing. The unit is backed up first; when the\n"
                        "backup cannot be made nothing is written (exit status 1), unless\n"
                        "--no-backup is given.\n")},
        {TCommandId::UnitLive,
         QStringLiteral("unit"),
         QStringLiteral("live"),
         {},
         {{QStringLiteral("count"), QStringLiteral("N"),
           QStringLiteral("number of lines of values (default 10)")},
          {QStringLiteral("interval"), QStringLiteral("MS"),
           QStringLiteral("milliseconds between two lines (default 500)")},
          {QStringLiteral("output"), QStringLiteral("FILE"),
           QStringLiteral("record every packet to FILE as a data log")},
          {QStringLiteral("duration"), QStringLiteral("SECONDS"),
           QStringLiteral("how long to record to FILE (default 10)")}},
         QStringLiteral("live values as CSV, or a data log"),
         QStringLiteral("Prints the live values as CSV: a header line with the item names\n"
                        "VAL_GIRI,VALORE_LAMBDA,VALOR_TPS,VALORE_MINIMO_TPS,POSIZIONE_ATTUATORE,\n"
                        "VALORE_POSIZIONE_DEFAULT,FASCIA_LAMBDA,FASCIA_TPS,VAL_TEMPERATURA\n"
                        "then one line of values every interval: RPM (0 while the engine is stopped),\n"
                        "lambda V, TPS V, TPS idle V, actuator steps, default position steps, lambda\n"
                        "band 0-2, TPS band 0-3, temperature in degrees C.\n"
                        "With --output the values of every packet the unit sends (10 a second) go to\n"
                        "FILE instead, for --duration seconds, as the configurator's data log: CSV\n"
                        "(RFC 4180, a point as decimal separator) with the columns \"elapsed [s]\",\n"
                        "\"time\" (ISO 8601), one per item with its unit (\"VALORE_LAMBDA [V]\"), \"mark\"\n"
                        "and \"note\". The configurator's chart and 'log plot' open it.\n")},
        {TCommandId::UnitErase,
         QStringLiteral("unit"),
         QStringLiteral("erase"),
         {},
         {yes, noBackup},
         QStringLiteral("erase the unit's configuration"),
         QStringLiteral("Erases the configuration stored in the unit, which returns to its factory\n"
                        "content, after a confirmation: --yes gives it, otherwise it is read from the\n"
                        "terminal; when standard input is not a terminal the answer is no and the\n"
                        "unit is left untouched (exit status 1). The unit is backed up first; when\n"
                        "the backup cannot be made the unit is left untouched (exit status 1),\n"
                        "unless --no-backup is given: --yes does not waive the backup.\n")},
        {TCommandId::UnitProgram,
         QStringLiteral("unit"),
         QStringLiteral("program"),
         {},
         {yes, noBackup},
         QStringLiteral("reprogram the unit's firmware"),
         QStringLiteral("Reprograms the unit's firmware from the images the program carries: the boot\n"
                        "loader first, then the application firmware. Questions (a unit whose firmware\n"
                        "is newer than the images, a retry after a failed attempt) are answered yes\n"
                        "with --yes, otherwise read from the terminal, or answered no when standard\n"
                        "input is not a terminal. The unit is backed up first; when the backup cannot\n"
                        "be made the unit is left untouched, unless --no-backup is given: --yes does\n"
                        "not waive the backup. Exit status 0 only when the programming completed.\n")},
        {TCommandId::LogPlot,
         QStringLiteral("log"),
         QStringLiteral("plot"),
         {QStringLiteral("LOG")},
         {{QStringLiteral("png"), QStringLiteral("OUT"), QStringLiteral("the picture to write (needed)")},
          {QStringLiteral("channels"), QStringLiteral("LIST"),
           QStringLiteral("item names separated by commas (default all)")},
          {QStringLiteral("from"), QStringLiteral("S"), QStringLiteral("first second drawn (default 0)")},
          {QStringLiteral("to"), QStringLiteral("S"), QStringLiteral("last second drawn (default the end)")},
          {QStringLiteral("size"), QStringLiteral("WxH"),
           QStringLiteral("picture size in pixels (default 1280x800)")}},
         QStringLiteral("draw a data log as a PNG picture"),
         QStringLiteral("Draws the data log LOG (recorded by the configurator's chart or by 'unit live\n"
                        "--output') as the chart shows it: lambda, TPS, engine speed, actuator and\n"
                        "temperature panes against the elapsed seconds, each channel in its colour\n"
                        "with a legend, and above them the lambda switching rate, the lean, in band\n"
                        "and rich shares and the actuator's mean and span over the stretch drawn.\n"
                        "No display is needed. --channels takes the names of the log's columns\n"
                        "without unit (VALORE_LAMBDA,FASCIA_LAMBDA), in any case.\n")},
        {TCommandId::TcnDiff,
         QStringLiteral("tcn"),
         QStringLiteral("diff"),
         {QStringLiteral("A"), QStringLiteral("B")},
         {},
         QStringLiteral("the values that differ between two configuration files"),
         QStringLiteral("Prints one line per parameter whose value differs between the configuration\n"
                        "files A and B, fields separated by tabs: the component name, the file key,\n"
                        "the value in A and the value in B, each with its unit (empty when the file\n"
                        "lacks it). Exit status as diff's: 0 the files hold the same values, 1 they\n"
                        "differ, 2 a file could not be read as a configuration.\n")},
        {TCommandId::UnitDiff,
         QStringLiteral("unit"),
         QStringLiteral("diff"),
         {QStringLiteral("FILE")},
         {},
         QStringLiteral("the values that differ between the unit and a file"),
         QStringLiteral("Prints the parameters whose value in the unit differs from the configuration\n"
                        "file FILE, as 'tcn diff' does with the unit as A. Exit status 0 the same\n"
                        "values, 1 they differ, 2 the file or the unit could not be read: parameters\n"
                        "the unit did not give are named on standard error, not listed.\n")},
        {TCommandId::UnitBackups,
         QStringLiteral("unit"),
         QStringLiteral("backups"),
         {},
         {},
         QStringLiteral("the automatic backups, the closest to the unit first"),
         QStringLiteral("Lists the backups the program made of the unit's configuration before every\n"
                        "load, erase and firmware update and at the first connect of a run, one line\n"
                        "each, fields separated by tabs: the file, the date and time (ISO 8601), the\n"
                        "reason, how many values differ from the unit (-1 when not compared), the\n"
                        "vehicle note. The backups closest to the unit come first, then the newest.\n"
                        "When the unit did not give every value, none is compared: the parameters\n"
                        "not read are named on standard error and the exit status is 2.\n")},
        {TCommandId::UnitRestore,
         QStringLiteral("unit"),
         QStringLiteral("restore"),
         {QStringLiteral("FILE|latest")},
         {noBackup},
         QStringLiteral("write a backup back into the unit"),
         QStringLiteral("Writes the backup FILE into the unit as 'unit load' does (the unit is backed\n"
                        "up first, or with --no-backup also when it cannot be, and every value is\n"
                        "read back). \"latest\" is the newest backup made before a load, erase,\n"
                        "firmware update or restore.\n")},
        {TCommandId::LogCheck,
         QStringLiteral("log"),
         QStringLiteral("check"),
         {QStringLiteral("LOG")},
         {{QStringLiteral("config"), QStringLiteral("FILE"),
           QStringLiteral("judge against this configuration file (default: the unit's)")}},
         QStringLiteral("judge a road test's data log and suggest changes"),
         QStringLiteral("Judges the road test recorded in the data log LOG against the configuration in\n"
                        "force: the configuration file FILE with --config, otherwise the unit's (the\n"
                        "tool connects as the unit commands do). Closed loop is the engine running,\n"
                        "warm (at or above TEMPERATURA_PER_CAMBIO) and below full throttle\n"
                        "(TPS_PER_AFFONDATA). Prints one line per criterion, fields separated by tabs:\n"
                        "  criterion  rpm-signal, warm-up, lambda-switching, mixture-balance,\n"
                        "             actuator-authority, default-position, coverage\n"
                        "  verdict    pass, warn or fail\n"
                        "  figure     what was measured, threshold  what the verdict was judged by\n"
                        "then one line per suggested change: \"suggest\", the item, its current and its\n"
                        "proposed value (on the item's step, within its limits) and the reason; and\n"
                        "one line per cause to inspect where no parameter helps: \"inspect\", what\n"
                        "(speed-signal, lambda-sensor, lambda-wiring, gas-supply, reducer) and why.\n"
                        "Exit status 0 when no criterion fails, 1 when one fails, 2 when the log is\n"
                        "not a data log, the configuration cannot be read, or the log holds less than\n"
                        "60 s of closed loop (no verdict).\n")},
        {TCommandId::Report,
         QStringLiteral("report"),
         QString(),
         {},
         {{QStringLiteral("out"), QStringLiteral("FILE"), QStringLiteral("the PDF file to write (needed)")},
          {QStringLiteral("log"), QStringLiteral("LOG"),
           QStringLiteral("add the road test of this data log")},
          {QStringLiteral("config"), QStringLiteral("FILE"),
           QStringLiteral("report this configuration file instead of the unit")},
          {QStringLiteral("language"), QStringLiteral("CODE"),
           QStringLiteral("it, en, es, fr, de or ru (default the program's)")}},
         QStringLiteral("the customer's report as a PDF"),
         QStringLiteral("Writes the customer's report, an A4 PDF: the workshop (the program's setting),\n"
                        "the date, the unit's identity and firmware, every setting in engineering units\n"
                        "with its caption, grouped as the configuration window's pages, the values\n"
                        "changed since the previous configuration on record (the newest backup that\n"
                        "differs; the factory values when there is none), and with --log the road\n"
                        "test's verdict, figures and suggestions as 'log check' finds them and a\n"
                        "picture of the log, then lines for the signatures. Without --config the tool\n"
                        "connects to the unit as the unit commands do; with it the unit is not\n"
                        "needed and the changes are against the factory values.\n")},
        {TCommandId::VehicleAdd,
         QStringLiteral("vehicle"),
         QStringLiteral("add"),
         {},
         VehicleFieldOptions(),
         QStringLiteral("record a new vehicle"),
         QStringLiteral("Records a vehicle in the workshop's records; --plate is needed, the other fields\n"
                        "are optional. Plates are compared without blanks, dashes and case: a plate\n"
                        "recorded already is refused, and so is a VIN that is not 17 letters and digits\n"
                        "(I, O and Q are none).\n")},
        {TCommandId::VehicleEdit,
         QStringLiteral("vehicle"),
         QStringLiteral("edit"),
         {QStringLiteral("PLATE")},
         VehicleFieldOptions(),
         QStringLiteral("change a vehicle's data"),
         QStringLiteral("Sets the fields given as options (--plate gives the vehicle a new plate; an empty\n"
                        "value clears a field). Every change is kept in the vehicle's timeline. A vehicle\n"
                        "changed on another bench meanwhile is not overwritten: the edit is refused.\n")},
        {TCommandId::VehicleList,
         QStringLiteral("vehicle"),
         QStringLiteral("list"),
         {},
         {{QStringLiteral("search"), QStringLiteral("TEXT"),
           QStringLiteral("only vehicles a plate, VIN, customer, make or model of which begins with TEXT")}},
         QStringLiteral("the recorded vehicles"),
         QStringLiteral("Prints one line per vehicle, by plate, fields separated by tabs: plate, VIN,\n"
                        "customer, make, model and the last visit (the time of its newest timeline\n"
                        "entry, ISO 8601; empty when none). With --search only the vehicles one of whose\n"
                        "plate, VIN, customer, make or model, or a word of it, begins with TEXT (blanks,\n"
                        "dashes and case do not count).\n")},
        {TCommandId::VehicleShow,
         QStringLiteral("vehicle"),
         QStringLiteral("show"),
         {QStringLiteral("PLATE")},
         {},
         QStringLiteral("a vehicle's data and timeline"),
         QStringLiteral("Prints the vehicle's data, one field a line (the field's name, a tab, its value),\n"
                        "an empty line, then its timeline, newest first, one entry a line, fields\n"
                        "separated by tabs: the time (ISO 8601), the bench, the kind (connect, save,\n"
                        "load, restore, backup, erase, log, firmware, check, report, note, edit,\n"
                        "configuration) and the summary. Below an entry that changed values, one line\n"
                        "each: a tab, the key, the old and the new value.\n")},
        {TCommandId::VehicleNote,
         QStringLiteral("vehicle"),
         QStringLiteral("note"),
         {QStringLiteral("PLATE"), QStringLiteral("TEXT")},
         {},
         QStringLiteral("add the fitter's note to a vehicle's timeline"),
         QStringLiteral("Adds TEXT to the vehicle's timeline as a note.\n")},
        {TCommandId::VehicleAttach,
         QStringLiteral("vehicle"),
         QStringLiteral("attach"),
         {QStringLiteral("PLATE"), QStringLiteral("FILE")},
         {},
         QStringLiteral("add a configuration file or data log made elsewhere"),
         QStringLiteral("Stores FILE, a configuration file or a data log, in the vehicle's timeline. A\n"
                        "configuration is recorded with the values that differ from the vehicle's\n"
                        "previous configuration. A file that is neither is refused.\n")},
        {TCommandId::VehicleExport,
         QStringLiteral("vehicle"),
         QStringLiteral("export"),
         {QStringLiteral("PLATE"), QStringLiteral("OUT")},
         {},
         QStringLiteral("write a vehicle's whole record to one file"),
         QStringLiteral("Writes the vehicle's data and its whole timeline, with its configuration files\n"
                        "and data logs, to the file OUT, which 'vehicle import' reads on another\n"
                        "bench. An existing OUT is replaced only once the new file is complete.\n")},
        {TCommandId::VehicleImport,
         QStringLiteral("vehicle"),
         QStringLiteral("import"),
         {QStringLiteral("FILE")},
         {{QStringLiteral("merge"), QString(),
           QStringLiteral("add the file's entries to a vehicle recorded already")}},
         QStringLiteral("read a vehicle's record written by 'vehicle export'"),
         QStringLiteral("Records the vehicle and the timeline the file holds. A vehicle whose plate is\n"
                        "recorded already is refused unless --merge is given: its data then stays as\n"
                        "recorded and the file's entries it lacks are added. All or nothing.\n")},
        {TCommandId::VehicleImportCsv,
         QStringLiteral("vehicle"),
         QStringLiteral("import-csv"),
         {QStringLiteral("FILE")},
         {},
         QStringLiteral("record vehicles from a spreadsheet"),
         QStringLiteral("Records one vehicle per row of the CSV file FILE (comma-separated, UTF-8). Its\n"
                        "header row names the columns: plate, vin, customer, phone, make, model, engine,\n"
                        "year, kit, notes, in any order and case (plate is needed; others are\n"
                        "ignored). A row that cannot be recorded (no plate, a plate recorded already,\n"
                        "a VIN that is none) is named on standard error with its line and reason; the\n"
                        "others are recorded. Exit status 1 when a row was refused.\n")},
    }));
    return commands;
}

QString TCommandLine::Synopsis(const TCommandDefinition& command)
{
    QStringList words = {command.group};
    if (!command.name.isEmpty())
        words << command.name;
    words += command.arguments;
    for (const TOptionDefinition& option : command.options) {
        const QString value = option.valueName.isEmpty() ? QString() : QLatin1Char(' ') + option.valueName;
        words << QStringLiteral("[--%1%2]").arg(option.name, value);
    }
    return words.join(QLatin1Char(' '));
}

TParsedCommand TCommandLine::Parse(const QStringList& words)
{
    TParsedCommand parsed;
    if (words.isEmpty()) {
        parsed.error = QStringLiteral("missing command");
        return parsed;
    }
    if (IsHelpWord(words.first())) {
        parsed.outcome = TParsedCommand::Outcome::Help;
        return parsed;
    }
    // Options may also come before the command ("--port PATH unit info"); they
    // are then checked against the command as if they followed it.
    QStringList leading;
    qsizetype at = 0;
    while (at < words.size() && words.at(at).startsWith(QLatin1String("--")) &&
           words.at(at) != QLatin1String("--")) {
        const QString& word = words.at(at++);
        if (IsHelpWord(word) || word == QLatin1String("--version")) {
            parsed.outcome =
                IsHelpWord(word) ? TParsedCommand::Outcome::Help : TParsedCommand::Outcome::Version;
            return parsed;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
        bool withValue = false;
        if (!AnyCommandTakes(Commands(), name, &withValue)) {
            parsed.error = QStringLiteral("unknown option '--%1'").arg(name);
            return parsed;
        }
        leading << word;
        if (withValue && equals < 0 && at < words.size())
            leading << words.at(at++);
    }
    const QStringList rest = words.mid(at);
    if (rest.isEmpty()) {
        parsed.error = QStringLiteral("missing command");
        return parsed;
    }
    const QString& group = rest.first();
    if (group != QLatin1String("tcn") && group != QLatin1String("unit") && group != QLatin1String("log") &&
        group != QLatin1String("vehicle") && !IsSingleCommand(group)) {
        parsed.error = QStringLiteral("unknown command '%1'").arg(group);
        return parsed;
    }
    parsed.group = group;
    if (IsSingleCommand(group)) {
        for (const TCommandDefinition& command : Commands()) {
            if (command.group == group)
                parsed.command = &command;
        }
        ParseCommandWords(leading + rest.mid(1), parsed);
        return parsed;
    }
    if (rest.size() < 2) {
        parsed.error = QStringLiteral("missing %1 command").arg(group);
        return parsed;
    }
    if (IsHelpWord(rest.at(1))) {
        parsed.outcome = TParsedCommand::Outcome::Help;
        return parsed;
    }
    for (const TCommandDefinition& command : Commands()) {
        if (command.group == group && command.name == rest.at(1))
            parsed.command = &command;
    }
    if (!parsed.command) {
        parsed.error = QStringLiteral("unknown command '%1 %2'").arg(group, rest.at(1));
        return parsed;
    }
    ParseCommandWords(leading + rest.mid(2), parsed);
    return parsed;
}

// The words after the command: options ("--name", "--name=value" or "--name
// value") and positional arguments; after "--" every word is positional, so a
// file may be called "--x". A negative number is positional too.
void TCommandLine::ParseCommandWords(const QStringList& words, TParsedCommand& parsed)
{
    const TCommandDefinition& command = *parsed.command;
    for (const QString& word : words) {
        if (IsHelpWord(word)) {
            parsed.outcome = TParsedCommand::Outcome::Help;
            return;
        }
    }
    bool positionalOnly = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (positionalOnly || !word.startsWith(QLatin1String("--"))) {
            parsed.arguments << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            positionalOnly = true;
            continue;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
        const TOptionDefinition* option = FindOption(command, name);
        if (!option) {
            parsed.error = QStringLiteral("unknown option '--%1'").arg(name);
            return;
        }
        QString value;
        if (option->valueName.isEmpty()) {
            if (equals >= 0) {
                parsed.error = QStringLiteral("option '--%1' takes no value").arg(name);
                return;
            }
        } else if (equals >= 0) {
            value = word.mid(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words.at(++i);
        } else {
            parsed.error = QStringLiteral("option '--%1' needs a value %2").arg(name, option->valueName);
            return;
        }
        parsed.options.insert(name, value);
    }
    if (parsed.arguments.size() < command.arguments.size()) {
        parsed.error = QStringLiteral("missing %1").arg(command.arguments.at(parsed.arguments.size()));
        return;
    }
    if (parsed.arguments.size() > command.arguments.size()) {
        parsed.error =
            QStringLiteral("unexpected argument '%1'").arg(parsed.arguments.at(command.arguments.size()));
        return;
    }
    parsed.outcome = TParsedCommand::Outcome::Run;
}

QString TCommandLine::VersionText()
{
    return ProgramName() + u' ' + QCoreApplication::applicationVersion() + u'\n';
}

QString TCommandLine::HelpText(const TParsedCommand& parsed)
{
    if (const TCommandDefinition* command = parsed.command) {
        QString text =
            QStringLiteral("Usage: %1 %2\n\n%3").arg(ProgramName(), Synopsis(*command), command->details);
        if (!command->options.isEmpty()) {
            text += QStringLiteral("\nOptions:\n");
            for (const TOptionDefinition& option : command->options) {
                const QString name =
                    option.valueName.isEmpty() ? option.name : option.name + u' ' + option.valueName;
                text += QStringLiteral("  --%1  %2\n").arg(name.leftJustified(12), option.description);
            }
        }
        return text + u'\n' + ExitStatusText;
    }
    const QString group =
        parsed.group.isEmpty() ? QStringLiteral("COMMAND") : parsed.group + QStringLiteral(" COMMAND");
    QString text = QStringLiteral("Usage: %1 %2 [ARGUMENTS] [OPTIONS]\n\n%3\nCommands:\n")
                       .arg(ProgramName(), group, ToolDescription);
    for (const TCommandDefinition& command : Commands()) {
        if (!parsed.group.isEmpty() && command.group != parsed.group)
            continue;
        QString synopsis = Synopsis(command);
        synopsis = synopsis.size() < SynopsisWidth ? synopsis.leftJustified(SynopsisWidth + 1)
                                                   : synopsis + u'\n' + QString(SynopsisWidth + 3, u' ');
        text += QStringLiteral("  %1%2\n").arg(synopsis, command.summary);
    }
    return text + QStringLiteral("\n%1\n'%2 COMMAND --help' describes one command; '%2 --version'\n"
                                 "prints the version.\n")
                      .arg(ExitStatusText, ProgramName());
}

QString TCommandLine::UsageErrorText(const TParsedCommand& parsed, const QString& error)
{
    const QString problem = QStringLiteral("%1: %2\n").arg(ProgramName(), error);
    if (const TCommandDefinition* command = parsed.command)
        return problem +
               QStringLiteral("Usage: %1 %2\nTry '%1 %3 --help'.")
                   .arg(ProgramName(), Synopsis(*command), (command->group + u' ' + command->name).trimmed());
    const QString group = parsed.group.isEmpty() ? QString() : parsed.group + u' ';
    return problem + QStringLiteral("Usage: %1 %2COMMAND [ARGUMENTS] [OPTIONS]\nTry '%1 %2--help'.")
                         .arg(ProgramName(), group);
}
