#pragma once

// TFormMain, the main window: a full-screen menu of four large entries, a strip
// of language buttons on the right, a menu bar and a two-panel status bar. It
// owns the application's commands: connect and disconnect, the configuration
// window, configuration files, firmware reprogramming, the language switch and
// the about box.

#include <QList>
#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class TFormMain;
}
class QAction;
class QLabel;
class QToolButton;
class TConfigurationWindow;
class TFileDialogs;
class TLinkStatusBar;
class TOrvRegistryData;
class TSerialDataModule;
class TTranslator;

class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // The window is built for the given screen width (scaled from 800).
    TFormMain(TSerialDataModule* dataModule, int screenWidth, QWidget* parent = nullptr);
    ~TFormMain() override;

    // The configuration window, once it exists (not owned).
    void SetConfigurationWindow(TConfigurationWindow* window);
    TConfigurationWindow* ConfigurationWindow() const { return m_config; }
    // The file-choosing seam; the toolkit's dialogs by default. Not owned.
    void SetFileDialogs(TFileDialogs* dialogs);

    QString ProgramDir() const { return m_programDir; }
    TOrvRegistryData* OrvRegistryData() const { return m_registry; }
    TLinkStatusBar* StatusBar() const { return m_statusBar; }
    QList<QToolButton*> LanguageButtons() const { return m_languageButtons; }
    int HighlightedEntry() const;
    QLabel* MenuLabel(int index) const { return m_menuLabels.value(index); }
    QAction* Action(const char* name) const;

    // Applies the stored language and refreshes every text.
    void ApplyLanguage();
    // The language switch of a language button or pop-up entry (its Tag).
    void SwitchLanguage(int language);
    // Every text of the main window, the message texts and the configuration
    // window's texts, in the program's fixed order.
    void RefreshInterfaceText();

    // The commands.
    void ConfigureVehicle();
    void SaveFile();
    void LoadFile();
    void Reprogram();
    // Ctrl+B: the backups of the unit's configuration, and the comparison of configurations.
    void ShowBackups();
    void Connect();
    void Disconnect();
    void About();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetUpFonts();
    void CreateStatusBar();
    void CreateLanguageButtons();
    void PlaceLanguageButtons();
    void SetUpMenuEntries();
    void ConnectActions();
    void Highlight(int entry);
    void MoveHighlight(int step);
    void OnLinkState(bool connected);
    void PlaceLanguageStrip();
    void CentreMenu();
    QString Text(int index) const;
    QString ConfigurationsFolder() const;
    void RunFileCommand(const QString& fileName, const std::function<void(const QString&)>& operation);
    QString LinkText() const;

    std::unique_ptr<Ui::TFormMain> m_ui;
    TSerialDataModule* m_module;
    TTranslator* m_translator;
    int m_screenWidth;
    QString m_programDir;
    TOrvRegistryData* m_registry = nullptr;
    TLinkStatusBar* m_statusBar = nullptr;
    TConfigurationWindow* m_config = nullptr;
    std::unique_ptr<TFileDialogs> m_ownDialogs;
    TFileDialogs* m_dialogs = nullptr;
    QList<QToolButton*> m_languageButtons;
    QList<QLabel*> m_menuLabels;
    QList<QAction*> m_menuActions;
    int m_menuCount = 4;
    bool m_shown = false;
};
