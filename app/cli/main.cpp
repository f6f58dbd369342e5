// tzr582-cli: the configurator's data module on the command line, for fitters
// who script and for tests. 'tzr582-cli --help' lists the commands.

#include "app/cli/CliCommands.h"
#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleOutput.h"
#include "app/cli/ConsolePrompts.h"
#include "support/ProgramFolders.h"
#include "support/ToolkitNoise.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>

#include <memory>
#include <unistd.h>

namespace {

// Help and version text to standard output; a failure when it did not arrive.
int WriteText(QFile& out, TConsoleOutput& errors, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (out.write(bytes) == bytes.size() && out.flush())
        return ExitStatus::Success;
    errors.WriteLine(TCommandLine::ProgramName() + QStringLiteral(": cannot write to standard output: ") +
                     out.errorString());
    return ExitStatus::Failure;
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const TParsedCommand parsed = TCommandLine::Parse(words);
    // Drawing needs the widget application, and no display: the offscreen
    // platform unless another is asked for.
    const bool draws =
        parsed.outcome == TParsedCommand::Outcome::Run &&
        (parsed.command->id == TCommandId::LogPlot || parsed.command->id == TCommandId::Report);
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (draws)
        ToolkitNoise::SilenceOffscreenSizeHints();
    const std::unique_ptr<QCoreApplication> app =
        draws ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TZR_VERSION));

    // Straight to the descriptors: no buffer holds back a line of live values.
    QFile out;
    QFile err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    TConsoleOutput errors(err);

    switch (parsed.outcome) {
    case TParsedCommand::Outcome::Help:
        return WriteText(out, errors, TCommandLine::HelpText(parsed));
    case TParsedCommand::Outcome::Version:
        return WriteText(out, errors, TCommandLine::VersionText());
    case TParsedCommand::Outcome::UsageError:
        errors.WriteLine(TCommandLine::UsageErrorText(parsed, parsed.error));
        return ExitStatus::Usage;
    case TParsedCommand::Outcome::Run:
        break;
    }

    // Questions are read from a terminal only; a script's input is never taken
    // for an answer.
    QFile in;
    const bool askTerminal = isatty(STDIN_FILENO) && in.open(STDIN_FILENO, QIODevice::ReadOnly);
    TConsoleAnswers given;
    given.yes = parsed.Has(QStringLiteral("yes"));
    given.yesOffered = parsed.command->Takes(QStringLiteral("yes"));
    given.noBackup = parsed.Has(QStringLiteral("no-backup"));
    TConsolePrompts prompts(errors, askTerminal ? &in : nullptr, given, isatty(STDERR_FILENO));
    TCliCommands commands(prompts, errors, out, TProgramFolders::OfThisProgram().Data());
    return commands.Run(parsed);
}
