#pragma once

// TFormMain, the main window: a full-screen menu of four large entries, a strip
// of language buttons on the right, a menu bar and a two-panel status bar. It
// owns the application's commands: connect and disconnect, the configuration
// window, configuration files, firmware reprogramming, the language switch and
// the about box.

#include "app/RecentFilesMenu.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

namespace Ui {
class TFormMain;
}
class QAction;
class QKeyEvent;
class QLabel;
class QToolButton;
class QMenu;
class TConfigurationFileOffer;
class TConfigurationWindow;
class TCurrentVehicleButton;
class TFormChart;
class TLanguageStrip;
class TMainMenuEntries;
class TFileDialogs;
class TLinkStatusBar;
class TPortMenu;
class TOrvRegistryData;
class TSerialDataModule;
class TToolkitTranslation;
class TTranslator;
class TVehicleSession;

class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // The window is built for the given screen width (scaled from 800). The
    // program's files (language store, resource library) are found in the
    // folders of the program whose executable lies in programDir (this
    // program's when empty).
    TFormMain(TSerialDataModule* dataModule, int screenWidth, QWidget* parent = nullptr,
              const QString& programDir = QString());
    ~TFormMain() override;

    // The configuration window, once it exists (not owned).
    void SetConfigurationWindow(TConfigurationWindow* window);
    TConfigurationWindow* ConfigurationWindow() const { return m_config; }
    // The file-choosing seam; the toolkit's dialogs by default. Not owned.
    void SetFileDialogs(TFileDialogs* dialogs);

    TOrvRegistryData* OrvRegistryData() const { return m_registry; }
    TLinkStatusBar* StatusBar() const { return m_statusBar; }
    // The current vehicle, and its name in the status bar.
    TVehicleSession* Vehicles() const { return m_vehicles; }
    TCurrentVehicleButton* VehicleButton() const { return m_vehicleButton; }
    QList<QToolButton*> LanguageButtons() const;
    int HighlightedEntry() const;
    QLabel* MenuLabel(int index) const;
    QAction* Action(const char* name) const;

    // Applies the stored language and refreshes every text.
    void ApplyLanguage();
    // The language switch of a language button or pop-up entry (its Tag).
    void SwitchLanguage(int language);
    // Every text of the main window, the message texts and the configuration
    // window's texts, in the program's fixed order.
    void RefreshInterfaceText();

    // Runs a long operation (connecting, a configuration file, the firmware, an
    // erase, the backups window): while it runs no other command starts, and
    // the windows that were open when it began take no user input (only the
    // operation's own windows do). Input left over when it ends is dropped with
    // it. False, and nothing run, while another operation runs.
    bool RunOperation(const std::function<void()>& operation);
    bool OperationRunning() const { return m_operationRunning; }

    // The commands. None starts while a long operation runs.
    void ConfigureVehicle();
    void SaveFile();
    void LoadFile();
    void Reprogram();
    // Ctrl+B: the backups of the unit's configuration, and the comparison of configurations.
    void ShowBackups();
    // F7: the vehicle records.
    void ShowVehicles();
    void Connect();
    void Disconnect();
    void About();
    // Shows the live chart (F6), over the modal window being shown if any.
    void ShowChart();
    TFormChart* ChartWindow() const;

    // A configuration file handed to the program (its command line, the file
    // manager, a drop on the window): offered for loading once a unit is connected.
    void OfferConfigurationFile(const QString& fileName);
    // Loads the file into the unit as the load command does once it has a name.
    void LoadConfigurationFile(const QString& fileName);
    // The File menu's recently used configuration files, filled as it opens.
    QMenu* RecentFilesMenu() const { return m_recentMenu; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetUpFonts();
    void CreateStatusBar();
    void SetUpMenuEntries();
    void ConnectActions();
    void OnLinkState(bool connected);
    void CentreMenu();
    bool FormKeyDown(const QKeyEvent* event);
    QString Text(int index) const;
    QString ConfigurationsFolder() const;
    QString FileDialogFolder() const;
    void ShowDone(const QString& text);
    void RunFileCommand(const QString& fileName, const std::function<void(const QString&)>& operation);
    QString LinkText() const;
    void CreateRecentFilesMenu();

    std::unique_ptr<Ui::TFormMain> m_ui;
    TSerialDataModule* m_module;
    TTranslator* m_translator;
    int m_screenWidth;
    QString m_configurationsFolder;
    TOrvRegistryData* m_registry = nullptr;
    TLinkStatusBar* m_statusBar = nullptr;
    TVehicleSession* m_vehicles = nullptr;
    TCurrentVehicleButton* m_vehicleButton = nullptr;
    TPortMenu* m_portMenu = nullptr; // in the communication menu
    TConfigurationWindow* m_config = nullptr;
    QPointer<TFormChart> m_chart; // its owner is the window it was last shown over
    std::unique_ptr<TFileDialogs> m_ownDialogs;
    TFileDialogs* m_dialogs = nullptr;
    std::unique_ptr<TToolkitTranslation> m_toolkitTranslation;
    TLanguageStrip* m_languageStrip = nullptr;
    TMainMenuEntries* m_entries = nullptr;
    bool m_shown = false;
    TRecentFilesMenu* m_recentMenu = nullptr;
    std::unique_ptr<TConfigurationFileOffer> m_offer;
    bool m_operationRunning = false;
    bool m_unitConnectedMeanwhile = false; // during an operation: the waiting file is offered after it
};
