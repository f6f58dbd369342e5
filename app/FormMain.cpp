#include "app/FormMain.h"

#include "app/AboutBox.h"
#include "app/ConfigurationWindow.h"
#include "app/CurrentVehicleButton.h"
#include "app/FileDialogs.h"
#include "app/FormBackups.h"
#include "app/FormScaling.h"
#include "app/FormVehicles.h"
#include "app/InputBlocker.h"
#include "app/LanguageStrip.h"
#include "app/LinkStatusBar.h"
#include "app/MainMenuEntries.h"
#include "app/OperationMessages.h"
#include "app/PortMenu.h"
#include "app/RecentFilesMenu.h"
#include "app/ToolkitTranslation.h"
#include "app/VehicleSession.h"
#include "chart/FormChart.h"
#include "controls/MenuItemStyle.h"
#include "items/DataRefresher.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/ConfigurationFileOffer.h"
#include "model/ConfigurationFileTypes.h"
#include "model/ProgramSetup.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/ProgramFolders.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "ui_FormMain.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>

TFormMain::TFormMain(TSerialDataModule* dataModule, int screenWidth, QWidget* parent,
                     const QString& programDir)
    : QMainWindow(parent), m_ui(std::make_unique<Ui::TFormMain>()), m_module(dataModule),
      m_translator(dataModule->Translator()), m_screenWidth(screenWidth),
      m_ownDialogs(std::make_unique<TQtFileDialogs>()), m_dialogs(m_ownDialogs.get()),
      m_toolkitTranslation(std::make_unique<TToolkitTranslation>())
{
    m_ui->setupUi(this);
    SetUpFonts();
    ScaleForm(this, m_screenWidth);
    CreateStatusBar();
    // Move and Size cannot be taken out of the system menu here: the window
    // manager owns it. The window is shown maximised by the start-up.
    setWindowState(Qt::WindowMaximized);
    setFocusPolicy(Qt::StrongFocus);

    const TProgramFolders folders =
        programDir.isEmpty() ? TProgramFolders::OfThisProgram() : TProgramFolders(programDir);
    m_configurationsFolder = folders.Configurations();
    m_registry = new TOrvRegistryData(this);
    m_registry->setObjectName(QStringLiteral("OrvRegistryData"));
    ProgramSetup::LoadSettingsAndLibraries(*m_translator, *m_registry, folders.Data(), m_module->Prompts());
    ProgramSetup::ApplyLinkPort(*m_module->OrvConnection(), *m_registry);
    m_vehicles = new TVehicleSession(*m_module, *m_registry, this);
    m_vehicleButton = new TCurrentVehicleButton(*m_vehicles, *m_translator, this);
    statusBar()->addPermanentWidget(m_vehicleButton);
    // The application's icon: every window carries it. Made from a pixmap, the
    // icon skips the toolkit's look-up of the file's type in the MIME database.
    QApplication::setWindowIcon(QIcon(QPixmap(ResourceLibrary::Path(QStringLiteral("icon"), 10001))));

    m_languageStrip =
        new TLanguageStrip(m_ui->PanelLingue, m_ui->ScrollLingue, *m_translator, m_screenWidth, this);
    connect(m_languageStrip, &TLanguageStrip::LanguageChosen, this, &TFormMain::SwitchLanguage);
    setAutoFillBackground(true);
    setPalette(QApplication::palette()); // the button face
    SetUpMenuEntries();
    ConnectActions();
    m_portMenu = new TPortMenu(m_module->OrvConnection(), m_registry, m_dialogs, m_translator, this);
    m_ui->MenuComunicazione->addSeparator();
    m_ui->MenuComunicazione->addMenu(m_portMenu);
    // A submenu made here takes the font of the menu it opens from.
    m_portMenu->setFont(m_ui->MenuComunicazione->font());
    CreateRecentFilesMenu();
    TMenuItemStyle::Apply(m_ui->MainMenu, this);
    m_ui->Client->installEventFilter(this);
    // Key preview: the window sees the keys of its controls before they do.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }

    // The link library reports the link state; the message reaches the windows
    // through their queue, as the library's messages do.
    connect(m_module->OrvConnection(), &TOrvConnection::LinkMessage, this,
            [this](int message, quintptr wParam, qintptr lParam) {
                if (message != WindowMessage::WMLinkState)
                    return;
                QCoreApplication::postEvent(this, new TWindowMessage(message, wParam, lParam));
                if (m_config)
                    QCoreApplication::postEvent(m_config->Widget(),
                                                new TWindowMessage(message, wParam, lParam));
                if (m_chart)
                    QCoreApplication::postEvent(m_chart, new TWindowMessage(message, wParam, lParam));
            });
}

TFormMain::~TFormMain() = default;

void TFormMain::SetConfigurationWindow(TConfigurationWindow* window)
{
    m_config = window;
    // A window given after this one has shown takes the language now.
    if (m_config && m_shown)
        m_config->RefreshInterfaceText();
}

void TFormMain::SetFileDialogs(TFileDialogs* dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
    m_portMenu->SetFileDialogs(m_dialogs);
}

QList<QToolButton*> TFormMain::LanguageButtons() const
{
    return m_languageStrip->Buttons();
}

QAction* TFormMain::Action(const char* name) const
{
    return findChild<QAction*>(QString::fromLatin1(name));
}

QString TFormMain::Text(int index) const
{
    return m_translator->GetString(index, 0);
}

// --- construction -----------------------------------------------------------

void TFormMain::SetUpFonts()
{
    setFont(DesignFont(QStringLiteral("Tahoma"), 32, true));
    m_ui->LabelMenu->setFont(DesignFont(QStringLiteral("Bookman Old Style"), 27, true, true));
    QPalette title = m_ui->LabelMenu->palette();
    title.setColor(QPalette::WindowText, Qt::red);
    m_ui->LabelMenu->setPalette(title);
    // The menu bar keeps the system's own font, not the form's bold Tahoma (its
    // size scales with the form's).
    const QFont systemFont = ExplicitSystemFont();
    m_ui->MainMenu->setFont(systemFont);
    for (QMenu* menu : m_ui->MainMenu->findChildren<QMenu*>())
        menu->setFont(systemFont);
}

void TFormMain::CreateStatusBar()
{
    m_statusBar = new TLinkStatusBar(m_screenWidth, this);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_statusBar, 1);
}

void TFormMain::SetUpMenuEntries()
{
    // The exit entry sits one row pitch below the load entry.
    m_ui->LabelUscita->move(m_ui->LabelUscita->x(), m_ui->LabelDownLoadFile->y() + m_ui->LabelLoadFile->y() -
                                                        m_ui->LabelConfVettura->y());
    m_entries = new TMainMenuEntries(
        {m_ui->LabelConfVettura, m_ui->LabelDownLoadFile, m_ui->LabelLoadFile, m_ui->LabelUscita},
        {m_ui->ActionConfVett, m_ui->ActionSalvaFile, m_ui->ActionCaricaFile, m_ui->ActionEsci},
        m_ui->LabelFreccia, m_screenWidth, this);
}

void TFormMain::ConnectActions()
{
    // Actions outside the menu bar still answer their shortcuts.
    addActions({m_ui->ActionConfVett, m_ui->ActionSalvaFile, m_ui->ActionCaricaFile, m_ui->ActionProgramma,
                m_ui->ActionEsci, m_ui->ActionConnect, m_ui->ActionDisconnect});
    connect(m_ui->ActionConfVett, &QAction::triggered, this, &TFormMain::ConfigureVehicle);
    connect(m_ui->ActionSalvaFile, &QAction::triggered, this, &TFormMain::SaveFile);
    connect(m_ui->ActionCaricaFile, &QAction::triggered, this, &TFormMain::LoadFile);
    connect(m_ui->ActionProgramma, &QAction::triggered, this, &TFormMain::Reprogram);
    connect(m_ui->ActionEsci, &QAction::triggered, this, &QWidget::close);
    connect(m_ui->ActionConnect, &QAction::triggered, this, &TFormMain::Connect);
    connect(m_ui->ActionDisconnect, &QAction::triggered, this, &TFormMain::Disconnect);
    connect(m_ui->ActionAbout, &QAction::triggered, this, &TFormMain::About);

    auto* chart = new QAction(this);
    chart->setObjectName(QStringLiteral("ActionChart"));
    chart->setShortcut(Qt::Key_F6);
    m_ui->MenuComunicazione->addSeparator();
    m_ui->MenuComunicazione->addAction(chart);
    addAction(chart);
    connect(chart, &QAction::triggered, this, &TFormMain::ShowChart);
    auto* backups = new QAction(this);
    backups->setObjectName(QStringLiteral("ActionBackups"));
    backups->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(backups, &QAction::triggered, this, &TFormMain::ShowBackups);
    m_ui->MenuFile->insertAction(m_ui->ActionEsci, backups);
    addAction(backups);
    auto* vehicles = new QAction(this);
    vehicles->setObjectName(QStringLiteral("ActionVehicles"));
    vehicles->setShortcut(Qt::Key_F7);
    connect(vehicles, &QAction::triggered, this, &TFormMain::ShowVehicles);
    m_ui->MenuFile->insertAction(m_ui->ActionEsci, vehicles);
    addAction(vehicles);
}

// --- language and texts -------------------------------------------------------

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        ApplyLanguage();
        setFocus();
    }
}

QString TFormMain::LinkText() const
{
    return m_module->IsUnitConnected() ? m_module->ConnectedText() : m_module->NotConnectedText();
}

void TFormMain::ApplyLanguage()
{
    const int language = m_registry->GetIntData(QStringLiteral("Language"));
    m_translator->SetLinguaCorrente(language);
    // The current language's button shows pressed, from the start on.
    if (QToolButton* button = m_languageStrip->Buttons().value(language))
        button->setChecked(true);
    m_toolkitTranslation->Switch(m_translator->GetString(TextIndex::LocaleName, QString()));
    RefreshInterfaceText();
    if (m_module->OrvConnection()->DllLoaded())
        m_statusBar->SetLinkText(LinkText());
    CentreMenu();
}

// The title and the entries are centred in the client area left of the language
// strip (the screen's width, once the window is maximised).
void TFormMain::CentreMenu()
{
    const int width =
        (m_ui->Client->width() > 0 ? m_ui->Client->width() : m_screenWidth) - m_ui->ScrollLingue->width();
    QLabel* title = m_ui->LabelMenu;
    title->adjustSize();
    title->move((width - title->width()) / 2, title->y());
    m_entries->Centre(width);
}

void TFormMain::SwitchLanguage(int language)
{
    m_registry->SetIntData(QStringLiteral("Language"), language);
    ApplyLanguage();
    // The link text follows the language whether or not a link library is there.
    if (m_config)
        m_config->SetLinkText(LinkText());
    m_statusBar->SetLinkText(LinkText());
}

void TFormMain::RefreshInterfaceText()
{
    setWindowTitle(Text(TextIndex::ProgramTitle));
    m_ui->LabelMenu->setText(Text(TextIndex::MainMenuHeading));
    m_ui->LabelConfVettura->setText(Text(TextIndex::VehicleConfiguration));
    m_ui->LabelLoadFile->setText(Text(TextIndex::LoadNewConfiguration));
    m_ui->LabelDownLoadFile->setText(Text(TextIndex::SaveCurrentConfiguration));
    m_ui->LabelProgramma->setText(Text(TextIndex::ReprogramFirmware));
    m_ui->LabelUscita->setText(Text(TextIndex::MainMenuExit));
    m_module->RefreshMessageTexts();
    m_ui->MenuFile->setTitle(Text(TextIndex::FileMenu));
    m_ui->ActionEsci->setText(Text(TextIndex::ExitAction));
    m_ui->MenuComunicazione->setTitle(Text(TextIndex::CommunicationMenu));
    m_ui->ActionConnect->setText(Text(TextIndex::ConnectAction));
    m_ui->ActionDisconnect->setText(Text(TextIndex::DisconnectAction));
    m_portMenu->RefreshText();
    m_ui->MenuAiuto->setTitle(Text(TextIndex::HelpMenu));
    m_ui->ActionAbout->setText(Text(TextIndex::AboutAction));
    m_recentMenu->setTitle(Text(TextIndex::RecentFilesMenu));
    m_vehicleButton->RefreshText();
    Action("ActionChart")->setText(Text(TextIndex::LiveChart));
    Action("ActionBackups")->setText(Text(TextIndex::Backups));
    Action("ActionVehicles")->setText(Text(TextIndex::VehiclesWindow));
    if (m_config)
        m_config->RefreshInterfaceText();
    if (m_chart)
        m_chart->RefreshInterfaceText();
    m_module->NotifyAllItems();
}

// --- the menu -------------------------------------------------------------------

int TFormMain::HighlightedEntry() const
{
    return m_entries->Highlighted();
}

QLabel* TFormMain::MenuLabel(int index) const
{
    return m_entries->Label(index);
}

// The menu keys, whichever control has the focus; answers whether the key was used.
bool TFormMain::FormKeyDown(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Down:
        m_entries->MoveHighlight(1);
        return true;
    case Qt::Key_Up:
        m_entries->MoveHighlight(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_entries->RunHighlighted();
        return true;
    case Qt::Key_Q:
        if (event->modifiers() != Qt::AltModifier)
            return false;
        close();
        return true;
    default:
        return false;
    }
}

void TFormMain::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event))
        QMainWindow::keyPressEvent(event);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Client && event->type() == QEvent::Resize) {
        m_languageStrip->Place(m_ui->Client);
        CentreMenu();
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* control = qobject_cast<QWidget*>(watched);
        if (control && control->window() == this && FormKeyDown(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_config && m_config->PopupMenuConfig())
        m_config->PopupMenuConfig()->exec(event->globalPos());
}

// --- link state -----------------------------------------------------------------

bool TFormMain::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMLinkState) {
            OnLinkState(message->lParam() == 1);
            return true;
        }
    }
    return QMainWindow::event(event);
}

void TFormMain::OnLinkState(bool connected)
{
    m_ui->ActionConnect->setEnabled(!connected);
    m_ui->ActionDisconnect->setEnabled(connected);
    statusBar()->clearMessage();
    if (connected)
        m_statusBar->ShowConnected(m_module->ConnectedText(), *m_module->OrvConnection());
    else
        m_statusBar->ShowDisconnected(m_module->NotConnectedText());
    update();
    // A file waiting for a unit is offered once the operation that connected it is over.
    if (connected && m_operationRunning)
        m_unitConnectedMeanwhile = true;
    else if (connected)
        m_offer->UnitConnected();
}

// --- commands -------------------------------------------------------------------

bool TFormMain::RunOperation(const std::function<void()>& operation)
{
    if (m_operationRunning)
        return false;
    {
        const QScopedValueRollback<bool> running(m_operationRunning, true);
        const TInputBlocker blocker;
        operation();
        // Keys and clicks that waited while the operation held the event loop
        // are dropped here rather than run once it is over.
        QCoreApplication::processEvents();
    }
    if (std::exchange(m_unitConnectedMeanwhile, false) && m_module->IsUnitConnected())
        m_offer->UnitConnected();
    return true;
}

void TFormMain::Connect()
{
    RunOperation([this] {
        m_vehicles->BeginConnect();
        const int result = m_module->ConnectToUnit(4, 0);
        OperationMessages::ReportConnectFailure(*m_module, windowTitle(), result);
        if (result == 0)
            m_vehicleButton->AskAtConnect();
    });
}

void TFormMain::Disconnect()
{
    if (m_operationRunning)
        return;
    if (LinkInstance* link = m_module->OrvConnection()->Instance())
        link->DisconnectUnit();
}

void TFormMain::ConfigureVehicle()
{
    if (!m_config || m_operationRunning)
        return;
    m_module->DataRefresher()->SetEnabled(true);
    m_config->ShowModal();
    m_module->DataRefresher()->SetEnabled(m_chart && m_chart->isVisible());
}

TFormChart* TFormMain::ChartWindow() const
{
    return m_chart;
}

void TFormMain::ShowChart()
{
    if (m_operationRunning)
        return;
    // A window of the modal window being shown is not blocked by it.
    QWidget* host = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    if (!m_chart) {
        m_chart = new TFormChart(m_module, m_registry, nullptr, nullptr, host);
        // Connect and Disconnect answer their keys in the chart too.
        m_chart->addActions({m_ui->ActionConnect, m_ui->ActionDisconnect});
        m_vehicles->WatchChart(m_chart);
        connect(m_chart, &TFormChart::Closed, this, [this] {
            m_module->DataRefresher()->SetEnabled(m_config && m_config->Widget()->isVisible());
        });
    } else if (m_chart->parentWidget() != host) {
        m_chart->setParent(host, m_chart->windowFlags());
    }
    m_chart->SetUndoRecorder(m_config ? m_config->UndoRecorder() : nullptr);
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

QString TFormMain::ConfigurationsFolder() const
{
    QDir().mkpath(m_configurationsFolder);
    return m_configurationsFolder;
}

// The save and open dialogs start where the fitter last saved or loaded a file.
QString TFormMain::FileDialogFolder() const
{
    const QString last = m_recentMenu->LastFolder();
    return last.isEmpty() ? ConfigurationsFolder() : last;
}

// Said in the status bar until the link state changes or a while has passed.
void TFormMain::ShowDone(const QString& text)
{
    constexpr int ShownMs = 20000;
    statusBar()->showMessage(text, ShownMs);
}

// A file command: the file is chosen first, then the refresher is stopped for the
// operation and given back its state afterwards.
void TFormMain::RunFileCommand(const QString& fileName, const std::function<void(const QString&)>& operation)
{
    if (fileName.isEmpty())
        return;
    RunOperation([&] {
        const bool wasEnabled = m_module->DataRefresher()->GetEnabled();
        if (!m_module->StopRefresher())
            return;
        operation(fileName);
        m_module->DataRefresher()->SetEnabled(wasEnabled);
    });
}

void TFormMain::SaveFile()
{
    if (m_operationRunning)
        return;
    RunFileCommand(m_dialogs->GetSaveFileName(this, FileDialogFolder()), [this](const QString& fileName) {
        if (!m_vehicles->Run(TTimelineKind::Save, fileName,
                             [&] { return m_module->SaveConfiguration(fileName); }))
            return;
        m_recentMenu->Remember(fileName);
        ShowDone(Text(TextIndex::ConfigurationSavedStatus).arg(QDir::toNativeSeparators(fileName)));
    });
}

void TFormMain::LoadFile()
{
    if (m_operationRunning)
        return;
    LoadConfigurationFile(m_dialogs->GetOpenFileName(this, FileDialogFolder()));
}

// The update starts only once the user says so.
void TFormMain::Reprogram()
{
    if (m_operationRunning || !OperationMessages::ConfirmReprogramming(*m_module))
        return;
    RunOperation([this] {
        m_vehicles->Run(TTimelineKind::Firmware, QString(), [this] {
            m_module->ReprogramFirmware();
            return true;
        });
    });
}

void TFormMain::ShowBackups()
{
    RunOperation([this] {
        TFormBackups window(m_module, m_dialogs, m_screenWidth, this);
        window.SetVehicleSession(m_vehicles);
        window.exec();
    });
}

// Modal, but not an operation: a data log of the records opens in the chart over it.
void TFormMain::ShowVehicles()
{
    if (m_operationRunning)
        return;
    if (!m_vehicles->DatabaseOrTell())
        return;
    TFormVehicles window(*m_vehicles, m_dialogs, ConfigurationsFolder(), m_screenWidth, this);
    window.SetLogOpener([this](const QString& log) {
        ShowChart();
        m_chart->OpenLog(log);
    });
    window.exec();
}

void TFormMain::About()
{
    if (m_operationRunning)
        return;
    TAboutBox box(this);
    box.setWindowTitle(windowTitle());
    box.SetProductName(windowTitle());
    box.SetVersionText(ProgramVersionText());
    box.exec();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    if (m_operationRunning) {
        event->ignore(); // the program does not end in the middle of an operation
        return;
    }
    ResourceLibrary::Free();
    QMainWindow::closeEvent(event);
}

// --- configuration files from outside, recently used files -------------------------

void TFormMain::CreateRecentFilesMenu()
{
    m_offer = std::make_unique<TConfigurationFileOffer>(
        *m_module, [this](const QString& fileName) { LoadConfigurationFile(fileName); });
    m_recentMenu = new TRecentFilesMenu(m_registry->SettingsFileName(), this);
    m_recentMenu->setFont(m_ui->MenuFile->font());
    m_ui->MenuFile->insertMenu(m_ui->ActionEsci, m_recentMenu);
    m_ui->MenuFile->insertSeparator(m_ui->ActionEsci);
    connect(m_recentMenu, &TRecentFilesMenu::FileChosen, this, &TFormMain::LoadConfigurationFile);
    setAcceptDrops(true);
}

void TFormMain::LoadConfigurationFile(const QString& fileName)
{
    RunFileCommand(fileName, [this](const QString& name) {
        TLoadReport report;
        if (m_vehicles->Run(TTimelineKind::Load, name,
                            [&] { return m_module->LoadConfiguration(name, {}, &report); })) {
            m_recentMenu->Remember(name);
            ShowDone(Text(TextIndex::ConfigurationLoadedStatus)
                         .arg(QFileInfo(name).fileName())
                         .arg(report.written));
        }
        // Without a unit the file's values reach no unit: the user is told why.
        if (!m_module->IsUnitConnected())
            m_module->Prompts()->ShowMessage(TMessageIcon::Error, Text(TextIndex::ConfigurationFileCaption),
                                             Text(TextIndex::FileNotWrittenNoUnit));
    });
}

void TFormMain::OfferConfigurationFile(const QString& fileName)
{
    m_offer->Offer(fileName);
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!ConfigurationFileTypes::FirstConfigurationFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event)
{
    const QString fileName = ConfigurationFileTypes::FirstConfigurationFile(event->mimeData()->urls());
    if (fileName.isEmpty())
        return;
    event->acceptProposedAction();
    // Asked once the drop is over, so that the file manager is not held waiting.
    QMetaObject::invokeMethod(
        this, [this, fileName] { OfferConfigurationFile(fileName); }, Qt::QueuedConnection);
}
