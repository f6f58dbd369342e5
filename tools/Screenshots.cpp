// Takes screenshots of the program's windows, for reviewing their layout at
// several screen widths without a display:
//
//   QT_QPA_PLATFORM=offscreen tzr582-screenshots OUTPUT-FOLDER [WIDTH ...]
//
// Each window is built for the given screen width (800 and 1280 when none is
// given), sized as it would be on such a screen, and saved as
// <window>-<width>[-<language>].png. The main window, the wait window and a
// question box are taken in every language, the main window once more without
// the resource library (main-<width>-noflags), its File menu in every language
// (filemenu-<width>-<language>); the configuration window is shown
// connected to the unit (the link library beside the program), one picture a
// page, with the limits hint of one field, in Italian, English, German and
// Russian. The design fonts are registered as the program does. The live
// chart shows the first 90 s of the simulated engine (its clock moved by the
// tool) with the link lost for 10 s, a marker and the cursor, then the
// recording of it replayed with its markers, in Italian, English, German and
// Russian, sized for a screen of the width (800x600, 1280x800, 1920x1080).
// The backups window, the compare window (the unit against a backup, and two
// files with their stored bytes) and the change history are taken after a
// few changes on the unit, in Italian, English, German and Russian; the
// backups go to a folder of the tool's own.

#include "app/AboutBox.h"
#include "app/DesignFonts.h"
#include "app/FileDialogs.h"
#include "app/FormAttesa.h"
#include "app/FormBackups.h"
#include "app/FormCompare.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormOndaCostruita.h"
#include "app/FormScaling.h"
#include "app/FormVehicles.h"
#include "app/HistoryPanel.h"
#include "app/VehicleSession.h"
#include "chart/ChartDialogs.h"
#include "chart/FormChart.h"
#include "controls/ValueEditEx.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "link/WindowMessage.h"
#include "model/ProgramSetup.h"
#include "model/SerialDataModule.h"
#include "model/VehicleRecorder.h"
#include "records/VehicleStore.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/ToolkitNoise.h"
#include "support/Translator.h"
#include "tools/SimulatedTime.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void Save(QWidget& window, const QDir& folder, const QString& name)
{
    window.grab().save(folder.filePath(name + QStringLiteral(".png")));
}

// A menu of the window's menu bar, opened as the user opens it.
void SaveMenu(QWidget& window, const QString& name, const QDir& folder, const QString& fileName)
{
    auto* menu = window.findChild<QMenu*>(name);
    if (!menu)
        return;
    menu->popup(window.mapToGlobal(QPoint(0, 0)));
    QCoreApplication::processEvents();
    Save(*menu, folder, fileName);
    menu->hide();
}

void MainWindow(TSerialDataModule& module, int width, const QDir& folder)
{
    TFormMain window(&module, width);
    window.setWindowState(Qt::WindowNoState);
    window.resize(width, width * 3 / 4);
    window.show();
    for (int language = 0; language < module.Translator()->MaxLanguages(); ++language) {
        window.SwitchLanguage(language);
        QCoreApplication::processEvents();
        const QString suffix = QStringLiteral("%1-%2").arg(width).arg(language);
        Save(window, folder, QStringLiteral("main-") + suffix);
        SaveMenu(window, QStringLiteral("MenuFile"), folder, QStringLiteral("filemenu-") + suffix);

        TFormAttesa wait([&module] { return module.Translator()->GetString(TextIndex::PercentCompleted, 0); },
                         width);
        wait.SetCaption(module.MessageText(TextIndex::ConnectionCaption));
        wait.SetMessage(module.MessageText(TextIndex::ConnectingPleaseWait));
        wait.SetWaitProgress(100, true);
        wait.show();
        Save(wait, folder, QStringLiteral("wait-") + suffix);

        // The erase question, with the toolkit's Yes and No.
        QMessageBox question(QMessageBox::NoIcon, window.windowTitle(),
                             module.MessageText(TextIndex::EraseConfigurationQuestion),
                             QMessageBox::Yes | QMessageBox::No, &window);
        question.show();
        QCoreApplication::processEvents();
        Save(question, folder, QStringLiteral("question-") + suffix);
    }
    window.SwitchLanguage(0);

    // Without the resource library the language buttons show the names.
    QTemporaryDir withoutLibrary;
    QDir(withoutLibrary.path()).mkpath(QStringLiteral("Dizionario"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Dizionario/Languages.lng"),
                withoutLibrary.filePath(QStringLiteral("Dizionario/Languages.lng")));
    {
        TFormMain flagless(&module, width, nullptr, withoutLibrary.path());
        flagless.setWindowState(Qt::WindowNoState);
        flagless.resize(width, width * 3 / 4);
        flagless.show();
        QCoreApplication::processEvents();
        Save(flagless, folder, QStringLiteral("main-%1-noflags").arg(width));
    }

    TAboutBox about(&window);
    about.SetProductName(window.windowTitle());
    about.SetVersionText(ProgramVersionText());
    about.show();
    Save(about, folder, QStringLiteral("about-%1").arg(width));
}

// The full-throttle, cut-off and fixed-default flags of FLAG_GONFIGURAZIONE.
constexpr int AllOptions = 0x0D;

// The pages of the configuration window, each with the field whose limits hint it shows.
void ConfigurationWindow(TSerialDataModule& module, int width, const QDir& folder)
{
    TFormMain window(&module, width);
    TFormConfig config(&module, &window, width);
    window.SetConfigurationWindow(&config);
    window.Connect();
    config.setWindowState(Qt::WindowNoState);
    config.resize(width, width * 3 / 4);
    config.show();
    config.activateWindow();
    auto* pages = config.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    const char* hinted[] = {"OrvValEditNGiriCambio", "OrvValEditMaxPos", "ValueEditExRifLambdaFuoriMin"};
    for (int language : {0, 1, 4, 5}) {
        window.SwitchLanguage(language);
        for (int page = 0; page < 3; ++page) {
            pages->setCurrentIndex(page);
            // Every option shown as set (the unit is not written), so that
            // every dependent field shows.
            TOrvNumber* flags = module.Number(QStringLiteral("FLAG_GONFIGURAZIONE"));
            flags->InitData(&AllOptions);
            flags->NotifyData(WindowMessage::WMDataChanged, 0, 0);
            config.activateWindow();
            QCoreApplication::processEvents();
            config.findChild<TValueEditEx*>(QLatin1String(hinted[page]))->setFocus();
            module.DataRefresher()->ReloadAll();
            QCoreApplication::processEvents();
            Save(config, folder,
                 QStringLiteral("config-%1-%2-page%3").arg(width).arg(language).arg(page + 1));
        }
        TFormOndaCostruita wave(&module, width, &config);
        wave.show();
        QCoreApplication::processEvents();
        Save(wave, folder, QStringLiteral("wave-%1-%2").arg(width).arg(language));
    }
    window.SwitchLanguage(0);
    window.Disconnect();
    QCoreApplication::processEvents();
}

// The chart's questions answered: a marker with its note.
class MarkerNote : public TChartDialogs {
public:
    QString GetLogFileName(QWidget*, const QString&, const QString&) override { return QString(); }
    QString GetLogFolder(QWidget*, const QString&, const QString&) override { return QString(); }
    bool GetMarkerNote(QWidget*, const QString&, const QString&, QString& note) override
    {
        note = QStringLiteral("idle");
        return true;
    }
};

// The live chart over 90 s of the engine from its start, with a marker where
// it idles again after the full-throttle run and the cursor on that idle.
void ChartWindow(TSerialDataModule& module, int width, const QDir& folder)
{
    QLibrary library;
    SimUnitControl* unit = SimulatedUnitBesideProgram(library);
    if (!unit) {
        std::fprintf(stderr, "the chart needs the simulated unit beside the program\n");
        return;
    }
    TFormMain window(&module, width);
    window.Connect();
    SteppedClock clock;
    MarkerNote dialogs;
    QTemporaryDir logs;
    TOrvRegistryData settings;
    settings.SetStringData(QStringLiteral("LogFolder"), logs.path());
    TFormChart chart(&module, &settings, &dialogs, &clock);
    const int height = width >= 1920 ? 1080 : width >= 1280 ? 800 : 600;
    chart.resize(width - 40, height - 80);
    chart.show();
    module.DataRefresher()->SetEnabled(true);
    chart.StartRecording();
    for (int tenth = 0; tenth < 900; ++tenth) {
        unit->pinClock(tenth * 100);
        clock.ms += 100;
        if (tenth == 300) {
            TWindowMessage lost(WindowMessage::WMLinkState, 0, 0);
            QApplication::sendEvent(&chart, &lost);
        }
        if (tenth >= 300 && tenth < 400)
            continue; // the link lost for ten seconds
        if (tenth == 400) {
            TWindowMessage back(WindowMessage::WMLinkState, 0, 1);
            QApplication::sendEvent(&chart, &back);
        }
        module.DataRefresher()->ReloadAll();
        if (tenth == 200 || tenth == 520)
            chart.AddMarker();
    }
    unit->unpinClock();
    chart.StopRecording();
    chart.SetSpan(60);
    chart.SetPaused(true);
    chart.SetCursor(70.0);
    const auto take = [&](const QString& name) {
        for (int language : {0, 1, 4, 5}) {
            window.SwitchLanguage(language);
            chart.RefreshInterfaceText();
            chart.UpdateView();
            QCoreApplication::processEvents();
            chart.UpdateView();
            QCoreApplication::processEvents();
            Save(chart, folder, QStringLiteral("%1-%2-%3").arg(name).arg(width).arg(language));
        }
    };
    take(QStringLiteral("chart"));
    chart.OpenLog(chart.LastRecording());
    chart.SetSpan(120);
    take(QStringLiteral("chart-replay"));
    window.SwitchLanguage(0);
    window.Disconnect();
    QCoreApplication::processEvents();
}

// No file chosen: the windows are shown, not used.
class NoFileDialogs : public TFileDialogs {
public:
    QString GetSaveFileName(QWidget*, const QString&) override { return QString(); }
    QString GetOpenFileName(QWidget*, const QString&) override { return QString(); }
};

// Changes a fitter makes on the unit: a new ignition type (the engine speeds
// follow), a cut-off speed, the economy-driving option.
void ChangeUnit(TSerialDataModule& module)
{
    module.Number(QStringLiteral("TIPO_ACCENSIONE"))->SetInt(2);
    module.Number(QStringLiteral("GiriCutOff"))->SetInt(2500);
    module.Number(QStringLiteral("FLAG_CONFIGURAZIONE_2"))->SetInt(8);
    module.Number(QStringLiteral("FLAG_GONFIGURAZIONE"))->SetInt(32 | 4);
}

// The Vehicles window over records of three vehicles, the first chosen, its
// two configurations on its timeline.
void VehiclesWindow(TSerialDataModule& module, const QString& first, const QString& second, int width,
                    const QDir& folder, const QString& suffix)
{
    QTemporaryDir records;
    TOrvRegistryData settings;
    settings.SetStringData(QLatin1String(ProgramSetup::RecordsSetting::Database),
                           QStringLiteral("sqlite:") + records.filePath(QStringLiteral("records.sqlite")));
    TVehicleSession session(module, settings);
    if (!session.Database())
        return;
    const QList<QStringList> cars = {{"AB123CD", "Fiat", "Punto", "Mario Rossi"},
                                     {"EF456GH", "Opel", "Zafira", "Anna Bianchi"},
                                     {"LM789NP", "Volkswagen", "Golf", "Luca Verdi"}};
    for (const QStringList& car : cars) {
        TVehicle vehicle;
        vehicle.plate = car[0];
        vehicle.make = car[1];
        vehicle.model = car[2];
        vehicle.customer = car[3];
        TVehicleStore(*session.Database()).Add(vehicle);
        if (car == cars.first()) {
            TVehicleRecorder recorder(module, *session.Database());
            recorder.SetVehicle(vehicle);
            recorder.Attach(TTimelineKind::Configuration, first, QFileInfo(first).fileName());
            recorder.Attach(TTimelineKind::Configuration, second, QFileInfo(second).fileName());
        }
    }
    NoFileDialogs dialogs;
    TFormVehicles window(session, &dialogs, folder.path(), width, nullptr);
    window.VehicleList()->setCurrentRow(0);
    window.show();
    QCoreApplication::processEvents();
    Save(window, folder, QStringLiteral("vehicles-") + suffix);
}

// The backups, compare and history windows, after the changes of ChangeUnit
// made on a unit connected with its factory values, scaled as the program
// scales them on a screen of that width (800x600, 1280x800, 1920x1080).
void RecordWindows(TSerialDataModule& module, int screenWidth, const QDir& folder)
{
    const int screenHeight = screenWidth >= 1920 ? 1080 : screenWidth >= 1280 ? 800 : 600;
    const int width = ScalingWidthFor(screenWidth, screenHeight - 40);
    QTemporaryDir backups;
    const QString ownFolder = module.Backups().Folder();
    module.Backups().SetFolder(backups.path());
    TFormMain window(&module, width);
    TFormConfig config(&module, &window, width);
    window.SetConfigurationWindow(&config);
    window.Connect();
    module.EraseConfiguration(); // the unit's factory values; the history starts anew
    const QString factory = module.MakeBackup(QStringLiteral("before-load"));
    ChangeUnit(module);
    const QString changed = module.MakeBackup(QStringLiteral("before-firmware"));
    NoFileDialogs dialogs;
    for (int language : {0, 1, 4, 5}) {
        window.SwitchLanguage(language);
        const QString suffix = QStringLiteral("%1-%2").arg(screenWidth).arg(language);
        TFormBackups list(&module, &dialogs, width, &window);
        list.show();
        QCoreApplication::processEvents();
        Save(list, folder, QStringLiteral("backups-") + suffix);
        TFormCompare compare(&module, &list, width);
        compare.ShowUnitAgainst(factory);
        compare.show();
        QCoreApplication::processEvents();
        Save(compare, folder, QStringLiteral("compare-") + suffix);
        TFormCompare files(&module, &list, width);
        files.ShowFiles(factory, changed);
        files.DetailsBox()->setChecked(true);
        files.show();
        QCoreApplication::processEvents();
        Save(files, folder, QStringLiteral("compare-files-") + suffix);
        config.HistoryPanel()->show();
        QCoreApplication::processEvents();
        Save(*config.HistoryPanel(), folder, QStringLiteral("history-") + suffix);
        VehiclesWindow(module, factory, changed, width, folder, suffix);
    }
    window.SwitchLanguage(0);
    window.Disconnect();
    module.Backups().SetFolder(ownFolder);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv)
{
    ToolkitNoise::SilenceOffscreenSizeHints();
    QApplication application(argc, argv);
    DesignFonts::Register();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER [WIDTH ...]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("."));
    QList<int> widths;
    for (int i = 2; i < argc; ++i)
        widths << QString::fromLocal8Bit(argv[i]).toInt();
    if (widths.isEmpty())
        widths = {800, 1280};

    TSerialDataModule module;
    for (int width : widths) {
        MainWindow(module, width, folder);
        ConfigurationWindow(module, width, folder);
        ChartWindow(module, width, folder);
        RecordWindows(module, width, folder);
    }
    return 0;
}
