// The configurator's start-up: the command line (before any display is needed),
// the hand-over to a program already running, the data module, the main window,
// then the event loop, whose first task makes the configuration window (hidden).
// The first display of the main window applies the stored language.
// 'tzr582 --help' says what the program takes on its command line.

#include "app/ConfigurationWindow.h"
#include "app/DesignFonts.h"
#include "app/FontConfigLoader.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/GuiPrompts.h"
#include "app/SingleInstance.h"
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
        std::fputs(TProgramArguments::HelpText(TProgramFolders::OfThisProgram()).toLocal8Bit().constData(),
                   stdout);
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
    // Help, version and usage errors need no display.
    const TProgramArguments arguments = TProgramArguments::Parse(Words(argc, argv));
    if (arguments.outcome != TProgramArguments::Outcome::Run) {
        QCoreApplication core(argc, argv);
        SetProgramNames();
        return Answer(arguments);
    }

    // The font configuration is read while the toolkit connects to the display.
    TFontConfigLoader fontConfiguration;
    QApplication application(argc, argv);
    SetProgramNames();
    QGuiApplication::setDesktopFileName(QStringLiteral("it.orv.tzr582"));

    // A program already running on this display takes the file and comes to the front.
    TSingleInstance instance(TSingleInstance::ServerNameForThisDisplay());
    if (!arguments.newInstance) {
        switch (instance.HandOver(arguments.file)) {
        case TSingleInstance::HandOverResult::HandedOver:
            return 0;
        case TSingleInstance::HandOverResult::NoAnswer:
            std::fputs("tzr582: the program already running does not answer; --new-instance starts another\n",
                       stderr);
            return 1;
        case TSingleInstance::HandOverResult::NoneRunning:
            break;
        }
    }
    fontConfiguration.Wait();
    DesignFonts::Register();

    TSerialDataModule dataModule;
    TFormMain* formMain = nullptr;
    TGuiPrompts prompts(dataModule.Translator(), [&formMain] {
        return !formMain || !formMain->ConfigurationWindow() ||
               formMain->ConfigurationWindow()->UpgradeBootLoaderChecked();
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
        QObject::connect(
            &instance, &TSingleInstance::FileHandedOver, &window, [&window](const QString& file) {
                window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
                window.raise();
                window.activateWindow();
                if (!file.isEmpty())
                    window.OfferConfigurationFile(file);
            });
        // Later starts are taken once the window can answer them.
        if (!arguments.newInstance)
            instance.Listen();
        result = QApplication::exec();
        formMain = nullptr;
    }
    dataModule.SetPrompts(nullptr);
    return result;
}
