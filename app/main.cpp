// The configurator's start-up: the data module, the main window, then the
// event loop, whose first task makes the configuration window (hidden). The first display of the
// main window applies the stored language. 'tzr582 --help' says what the
// program takes on its command line.

#include "app/ConfigurationWindow.h"
#include "app/DesignFonts.h"
#include "app/FontConfigLoader.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/GuiPrompts.h"
#include "model/ProgramArguments.h"
#include "model/SerialDataModule.h"
#include "support/ProgramFolders.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

void SetProgramNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("TZR582"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TZR_VERSION));
}

// Help and version on stdout, a usage error on stderr; the exit status.
int Answer(const TProgramArguments& arguments)
{
    switch (arguments.outcome) {
    case TProgramArguments::Outcome::Help:
        std::fputs(TProgramArguments::HelpText(TProgramFolders::OfThisProgram()).toLocal8Bit().constData(), stdout);
        return 0;
    case TProgramArguments::Outcome::Version:
        std::fputs(TProgramArguments::VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    default:
        std::fputs(arguments.UsageErrorText().toLocal8Bit().constData(), stderr);
        return 2;
    }
}

QStringList Words(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    // Help and version need no display.
    const TProgramArguments early = TProgramArguments::Parse(Words(argc, argv));
    if (early.outcome == TProgramArguments::Outcome::Help || early.outcome == TProgramArguments::Outcome::Version) {
        QCoreApplication core(argc, argv);
        SetProgramNames();
        return Answer(early);
    }

    // The font configuration is read while the toolkit connects to the display.
    TFontConfigLoader fontConfiguration;
    QApplication application(argc, argv);
    SetProgramNames();
    const TProgramArguments arguments = TProgramArguments::Parse(QApplication::arguments().mid(1));
    if (arguments.outcome != TProgramArguments::Outcome::Run)
        return Answer(arguments);
    fontConfiguration.Wait();
    DesignFonts::Register();

    TSerialDataModule dataModule;
    TFormMain* formMain = nullptr;
    TGuiPrompts prompts(dataModule.Translator(), [&formMain] {
        return !formMain || !formMain->ConfigurationWindow() || formMain->ConfigurationWindow()->UpgradeBootLoaderChecked();
    });
    dataModule.SetPrompts(&prompts);

    int result = 0;
    {
        TFormMain window(&dataModule, ScalingWidth());
        formMain = &window;
        std::unique_ptr<TFormConfig> config;
        window.showMaximized();
        // The configuration window is made as soon as the main window shows
        // (before any input reaches it), so the first window appears sooner.
        // A file named on the command line is then offered, in the window's language.
        QTimer::singleShot(0, &window, [&window, &config, &dataModule, &arguments] {
            config = std::make_unique<TFormConfig>(&dataModule, &window, ScalingWidth());
            window.SetConfigurationWindow(config.get());
            if (!arguments.file.isEmpty())
                window.OfferConfigurationFile(arguments.file);
        });
        result = QApplication::exec();
        formMain = nullptr;
    }
    dataModule.SetPrompts(nullptr);
    return result;
}
