#include "app/FormConfig.h"

#include "app/FormMain.h"
#include "app/FormOndaCostruita.h"
#include "app/FormScaling.h"
#include "app/HistoryPanel.h"
#include "app/LinkStatusBar.h"
#include "app/VehicleSession.h"
#include "controls/ControlBinding.h"
#include "controls/NumberField.h"
#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "support/NumberText.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "ui_FormConfig.h"
#include "undo/UndoRecorder.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QUndoStack>
#include <utility>

namespace {

const QColor DesktopColour(0, 128, 128);
const QColor HintBackground(0, 0, 155);
const QColor LampOffColour(64, 64, 64);
const QColor Green(0, 128, 0);
const QColor SkyBlue(166, 202, 240);
const QColor MoneyGreen(192, 220, 192);

// The limits hint sits this far right of the field being edited.
constexpr int HintGap = 15;

// TIPO_COMMUTATORE: the bits that tell the switch kind, and their two patterns.
constexpr int SwitchMask = 0x87;
constexpr int PushButtonOnly = 0x05;
constexpr int WithIndicator = 0x84;

// The emulation entry of the constructed wave.
constexpr int ConstructedWave = 2;

// A text of the window from the translator: the caption of a control (its
// caption label, or its own text for a check box) and, for a list, its entries,
// strings first to last. In the order the texts have always been set.
struct ControlText {
    const char* control;
    int caption;
    int first = 0;
    int last = -1;
};

const ControlText ControlTexts[] = {
    {"OrvLabelGiri", TextIndex::LiveRpm},
    {"OrvLabelTemperatura", TextIndex::LiveTemperature},
    {"OrvLabelMinTPS", TextIndex::LiveTpsIdle},
    {"OrvLabelMotore", TextIndex::LiveActuatorPosition},
    {"OrvLabelDefault", TextIndex::LiveDefaultPosition},
    {"OrvLabelLambda", TextIndex::LiveLambda},
    {"OrvLabelTPS", TextIndex::LiveTps},
    {"OrvComboTipoAcc", TextIndex::IgnitionType, TextIndex::FourCylinders,
     TextIndex::FourCylindersInjectorSignal},
    {"OrvComboTipoSegnaleGiri", TextIndex::RpmSignal, TextIndex::RpmSignalStandard, TextIndex::RpmSignalWeak},
    {"OrvComboTipoCambio", TextIndex::ChangeoverType, TextIndex::ChangeoverOnDeceleration,
     TextIndex::ChangeoverOnAcceleration},
    {"OrvValEditTempCambio", TextIndex::ChangeoverTemperature},
    {"OrvValEditNGiriCambio", TextIndex::ChangeoverRpm},
    {"OrvValEditTempSovr", TextIndex::ChangeoverOverlapTime},
    {"OrvComboCommutatore", TextIndex::SwitchType, TextIndex::SwitchPushButtonOnly,
     TextIndex::SwitchWithIndicator},
    {"OrvComboTipoSensore", TextIndex::LevelSensorType, TextIndex::LevelSensorLandiRenzo,
     TextIndex::LevelSensor0To90Ohm},
    {"OrvComboTipoTPS", TextIndex::TpsType, TextIndex::TpsLinear0To5Volt, TextIndex::NoTps},
    {"OrvComboTipoSonda", TextIndex::LambdaProbeType, TextIndex::LambdaProbe0To1Volt,
     TextIndex::LambdaProbe08To16Volt},
    {"OrvValEditRitardoSonda", TextIndex::LambdaProbeReadingDelay},
    {"OrvComboTipoEmul", TextIndex::EmulationType, TextIndex::NoEmulation, TextIndex::CustomWaveEmulation},
    {"OrvCheckBoxAff", TextIndex::EnableFullThrottle},
    {"OrvValEditPosAff", TextIndex::FullThrottlePosition},
    {"OrvValEditTPSAff", TextIndex::FullThrottleTps},
    {"OrvCheckBoxCutOff", TextIndex::CutOff},
    {"OrvValEditGiriCutOff", TextIndex::CutOffRpm},
    {"OrvValEditPosCutOff", TextIndex::CutOffActuatorPosition},
    {"OrvCheckBoxDef", TextIndex::SetFixedDefault},
    {"OrvValEditPosDef", TextIndex::FixedDefaultPosition},
    {"OrvValEditMaxPos", TextIndex::ActuatorMaximumOpening},
    {"OrvValEditMinPos", TextIndex::ActuatorMinimumOpening},
    {"OrvCheckBoxFuoriGiri", TextIndex::EnableOverSpeed},
    {"ORVValueEditExFuoriGiri", TextIndex::OverSpeedRpmThreshold},
    {"OrvCheckBoxGuidaEco", TextIndex::EconomyDriving},
    {"OrvValEditIstMinTPS", TextIndex::TpsIdleHysteresis},
    {"ValueEditExRifLambdaMin", TextIndex::LambdaReferenceAtIdle},
    {"ValueEditExRifLambdaFuoriMin", TextIndex::LambdaReferenceOffIdle},
};

void SetColours(QWidget* widget, const QColor& background, const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TFormConfig::TFormConfig(TSerialDataModule* dataModule, TFormMain* formMain, int screenWidth, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFormConfig>()), m_module(dataModule), m_main(formMain),
      m_screenWidth(screenWidth)
{
    m_ui->setupUi(this);
    for (const QString& problem : BindControls(this, m_module))
        qWarning("TFormConfig: cannot bind %s", qPrintable(problem));
    SetUpLook();
    ScaleForm(this, m_screenWidth);
    MatchFieldHeights(this, m_ui->OrvValEditTempCambio->height());
    m_statusBar = new TLinkStatusBar(m_screenWidth, this);
    FitToScreen();
    ConnectControls();
    m_module->ApplyDefaults();
    CreatePopupMenu();
    CreateUndo();
    m_ui->PageControl->setTabVisible(m_ui->PageControl->indexOf(m_ui->TabSheet4), false);
}

TFormConfig::~TFormConfig()
{
    // The undo stack, a child, is destroyed after this window and announces its
    // clearing then: nothing of that may reach this half-destroyed window.
    for (QUndoStack* stack : findChildren<QUndoStack*>())
        stack->disconnect(this);
    if (m_main && m_main->ConfigurationWindow() == this)
        m_main->SetConfigurationWindow(nullptr);
}

QString TFormConfig::Text(int index) const
{
    return m_module->Translator()->GetString(index, 0);
}

// --- construction -------------------------------------------------------------

void TFormConfig::CreateUndo()
{
    m_undo = new TUndoRecorder(m_module, this);
    QUndoStack* stack = m_undo->Stack();
    m_history = new THistoryPanel(stack, m_module->Translator(), m_screenWidth, this);
    m_undoAction = new QAction(this);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = new QAction(this);
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    connect(m_undoAction, &QAction::triggered, stack, [this, stack] {
        if (m_module->IsUnitConnected())
            stack->undo();
    });
    connect(m_redoAction, &QAction::triggered, stack, [this, stack] {
        if (m_module->IsUnitConnected())
            stack->redo();
    });
    connect(stack, &QUndoStack::canUndoChanged, this, &TFormConfig::UpdateUndoActions);
    connect(stack, &QUndoStack::canRedoChanged, this, &TFormConfig::UpdateUndoActions);
    connect(stack, &QUndoStack::undoTextChanged, this, &TFormConfig::UpdateUndoActions);
    connect(stack, &QUndoStack::redoTextChanged, this, &TFormConfig::UpdateUndoActions);
    m_historyAction = new QAction(this);
    m_historyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    connect(m_historyAction, &QAction::triggered, m_history,
            [this] { m_history->setVisible(!m_history->isVisible()); });
    addActions({m_undoAction, m_redoAction, m_historyAction});
    // Also in the pop-up menu, where a fitter looks for them.
    m_popupMenu->addSeparator();
    m_popupMenu->addActions({m_undoAction, m_redoAction, m_historyAction});
    UpdateUndoActions();
}

// Undo, redo and the history's rows write to the unit: without one they stay
// shut (the history still shows what was changed). Each entry names the change
// it would undo or redo.
void TFormConfig::UpdateUndoActions()
{
    const bool connected = m_module->IsUnitConnected();
    const QUndoStack* stack = m_undo->Stack();
    m_undoAction->setEnabled(connected && stack->canUndo());
    m_redoAction->setEnabled(connected && stack->canRedo());
    m_history->setEnabled(connected);
    auto entry = [](const QString& command, const QString& change) {
        return change.isEmpty() ? command : command + QStringLiteral("  ") + change;
    };
    m_undoAction->setText(entry(Text(TextIndex::Undo), stack->undoText()));
    m_redoAction->setText(entry(Text(TextIndex::Redo), stack->redoText()));
}

void TFormConfig::SetUpLook()
{
    setFont(DesignFont(QStringLiteral("Tahoma"), 16, true));
    m_ui->PanelRealTime->setFont(DesignFont(QStringLiteral("Arial"), 16, true));
    SetColours(m_ui->PanelRealTime, DesktopColour, Qt::yellow);
    m_ui->LabelLimite->setFont(DesignFont(QStringLiteral("Arial"), 13, true));
    SetColours(m_ui->LabelLimite, HintBackground, Qt::white);

    m_lambdaLamps = {m_ui->LMDProgressFillLambda0, m_ui->LMDProgressFillLambda1,
                     m_ui->LMDProgressFillLambda2};
    m_tpsLamps = {m_ui->LMDProgressFillTPS0, m_ui->LMDProgressFillTPS1, m_ui->LMDProgressFillTPS2,
                  m_ui->LMDProgressFillTPS3};
    const QColor lambdaColours[] = {Green, Qt::yellow, Qt::red};
    const QColor tpsColours[] = {SkyBlue, MoneyGreen, Green, Qt::red};
    for (int i = 0; i < m_lambdaLamps.size(); ++i)
        m_lambdaLamps[i]->SetColor(lambdaColours[i]);
    for (int i = 0; i < m_tpsLamps.size(); ++i)
        m_tpsLamps[i]->SetColor(tpsColours[i]);
    for (TProgressFill* lamp : m_lambdaLamps + m_tpsLamps)
        SetColours(lamp, LampOffColour, Qt::black);
}

// The window fills the screen with only a close button in its frame. Its least
// size is the design's on a screen of this width, as far as the screen's free
// area allows: here the frame is not part of the size, and a minimum beyond the
// free area would push the status bar off the screen.
void TFormConfig::FitToScreen()
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const QSize room = screen()->availableGeometry().size();
    setMinimumSize(qMin(Scaled(808, m_screenWidth), room.width()),
                   qMin(Scaled(580, m_screenWidth), room.height()));
    setWindowState(Qt::WindowMaximized);
}

void TFormConfig::CreatePopupMenu()
{
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenuConfig"));
    if (m_main) {
        m_popupMenu->addAction(m_main->Action("ActionConnect"));
        m_popupMenu->addAction(m_main->Action("ActionDisconnect"));
        m_popupMenu->addAction(m_main->Action("ActionChart"));
    }
    m_popupMenu->addSeparator();
    TTranslator* translator = m_module->Translator();
    for (int language = 0; language < translator->MaxLanguages(); ++language) {
        QAction* entry = m_popupMenu->addAction(translator->GetFirstString(language));
        entry->setObjectName(QStringLiteral("MenuLingua") + QString::number(language));
        entry->setProperty("Tag", language);
        connect(entry, &QAction::triggered, this, [this, language] {
            if (m_main)
                m_main->SwitchLanguage(language);
        });
    }
    QTabWidget* pages = m_ui->PageControl;
    pages->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pages, &QWidget::customContextMenuRequested, this,
            [this, pages](const QPoint& at) { m_popupMenu->exec(pages->mapToGlobal(at)); });
}

void TFormConfig::ConnectControls()
{
    for (TValueEditEx* edit : findChildren<TValueEditEx*>()) {
        connect(edit, &TValueEditEx::OnEnter, this, [this, edit] { ShowLimitsHint(edit); });
        connect(edit, &TValueEditEx::OnExit, m_ui->LabelLimite, &QWidget::hide);
    }
    connect(m_ui->OrvComboCommutatore, &TOrvComboBox::OnChange, this, &TFormConfig::SwitchTypeChosen);
    connect(m_ui->OrvComboTipoEmul, &TOrvComboBox::OnChange, this, &TFormConfig::EmulationChosen);
    connect(m_ui->ButtonReset, &QPushButton::clicked, this, &TFormConfig::EraseConfiguration);
    // The dependent edits follow their box whatever changed it: the user, a
    // value read from the unit, or a flag written without a unit.
    for (TOrvCheckBox* box : {m_ui->OrvCheckBoxDef, m_ui->OrvCheckBoxAff, m_ui->OrvCheckBoxCutOff})
        connect(box, &QCheckBox::toggled, this, &TFormConfig::UpdateDependentEdits);
    connect(m_module, &TSerialDataModule::DependentEditsUpdateRequested, this,
            &TFormConfig::UpdateDependentEdits);
    connect(m_module, &TSerialDataModule::SwitchComboSyncRequested, this, &TFormConfig::SyncSwitchCombo);
    connect(m_module, &TSerialDataModule::BandLampChanged, this, &TFormConfig::ShowBandLamp);
    connect(m_module, &TSerialDataModule::LiveValuesCleared, this, &TFormConfig::ClearBandLamps);
    connect(m_module, &TSerialDataModule::EditNotWritten, this, &TFormConfig::EditWithoutUnit);
    // A box of option bits reads the unit before it writes: without a unit it
    // writes nothing, so its click is what tells.
    for (TOrvCheckBox* box : findChildren<TOrvCheckBox*>()) {
        connect(box, &TOrvCheckBox::OnClick, this, [this] {
            if (!m_module->IsUnitConnected())
                EditWithoutUnit();
        });
    }

    // Key preview: the window sees the keys of its controls before they do.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
}

// --- the window on the screen ---------------------------------------------------

void TFormConfig::ShowModal()
{
    exec();
}

void TFormConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_ui->PageControl->setCurrentWidget(m_ui->TabSheet1);
    UpdateDependentEdits();
    // Without a unit there are no live values to show, library or not.
    if (m_module->IsUnitConnected()) {
        m_statusBar->SetLinkText(m_module->ConnectedText());
    } else {
        m_module->ClearLiveValues();
        m_statusBar->SetLinkText(m_module->NotConnectedText());
    }
    SyncSwitchCombo();
    UpdateUndoActions();
}

// The change history is the window's: it closes with it (a minimised window keeps it).
void TFormConfig::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        m_history->hide();
}

// The pages take the room above the live panel, which sits above the status bar.
void TFormConfig::PlaceRegions()
{
    const int statusHeight = m_statusBar->sizeHint().height();
    const int panelHeight = m_ui->PanelRealTime->height();
    const int pagesHeight = qMax(0, height() - panelHeight - statusHeight);
    m_ui->PageControl->setGeometry(0, 0, width(), pagesHeight);
    m_ui->PanelRealTime->setGeometry(0, pagesHeight, width(), panelHeight);
    m_statusBar->setGeometry(0, pagesHeight + panelHeight, width(), statusHeight);
}

void TFormConfig::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceRegions();
}

void TFormConfig::SetLinkText(const QString& text)
{
    m_statusBar->SetLinkText(text);
}

bool TFormConfig::UpgradeBootLoaderChecked() const
{
    return m_ui->CheckBoxUpgrade->isChecked();
}

// --- texts ------------------------------------------------------------------------

void TFormConfig::RefreshInterfaceText()
{
    m_ui->ButtonReset->setText(Text(TextIndex::EraseEeprom));
    setWindowTitle(Text(TextIndex::VehicleConfiguration));
    m_history->SetTexts(Text(TextIndex::ChangeHistory), Text(TextIndex::VehicleConfiguration));
    UpdateUndoActions();
    m_historyAction->setText(Text(TextIndex::ChangeHistory));
    QTabWidget* pages = m_ui->PageControl;
    pages->setTabText(pages->indexOf(m_ui->TabSheet1), Text(TextIndex::VehicleConfigurationPage));
    pages->setTabText(pages->indexOf(m_ui->TabSheet2), Text(TextIndex::OptionalSettingsPage));
    pages->setTabText(pages->indexOf(m_ui->TabSheet3), Text(TextIndex::ActuatorPage));
    for (const ControlText& text : ControlTexts) {
        QWidget* control = findChild<QWidget*>(QLatin1String(text.control));
        if (TChildLabel* label = CaptionLabel(control))
            label->SetCaption(Text(text.caption));
        else if (auto* box = qobject_cast<QAbstractButton*>(control))
            box->setText(Text(text.caption));
        if (auto* list = qobject_cast<QComboBox*>(control); list && text.first <= text.last) {
            list->clear();
            for (int index = text.first; index <= text.last; ++index)
                list->addItem(Text(index));
        }
    }
    SyncSwitchCombo();
}

// --- the window's own logic -------------------------------------------------------

void TFormConfig::UpdateDependentEdits()
{
    const bool fullThrottle = m_ui->OrvCheckBoxAff->isChecked();
    m_ui->OrvValEditPosAff->setVisible(fullThrottle);
    m_ui->OrvValEditTPSAff->setVisible(fullThrottle);
    const bool cutOff = m_ui->OrvCheckBoxCutOff->isChecked();
    m_ui->OrvValEditGiriCutOff->setVisible(cutOff);
    m_ui->OrvValEditPosCutOff->setVisible(cutOff);
    m_ui->OrvValEditPosDef->setVisible(m_ui->OrvCheckBoxDef->isChecked());
}

// The hint "(min;max unit)" beside the field being edited.
void TFormConfig::ShowLimitsHint(const TValueEditEx* edit)
{
    const TOrvNumber* item = edit->Value();
    if (!item)
        return;
    QLabel* hint = m_ui->LabelLimite;
    hint->setParent(edit->parentWidget());
    const QString unit = item->MeasureUnit();
    hint->setText(QStringLiteral("(%1;%2%3)")
                      .arg(GeneralNumberText(item->ValueMin()), GeneralNumberText(item->ValueMax()),
                           unit.isEmpty() ? QString() : QLatin1Char(' ') + unit));
    hint->adjustSize();
    hint->move(edit->x() + edit->width() + HintGap, edit->y() + (edit->height() - hint->height()) / 2);
    hint->show();
}

void TFormConfig::SyncSwitchCombo()
{
    TOrvComboBox* list = m_ui->OrvComboCommutatore;
    const int kind = m_module->Number(QStringLiteral("TIPO_COMMUTATORE"))->GetInt() & SwitchMask;
    if (m_module->OrvConnection()->DllLoaded())
        list->setCurrentIndex(m_module->IsUnitConnected() ? -1 : 0);
    if (kind == PushButtonOnly)
        list->setCurrentIndex(0);
    else if (kind == WithIndicator)
        list->setCurrentIndex(1);
}

void TFormConfig::SwitchTypeChosen()
{
    // The choice is taken first: reading the item from the unit selects the
    // entry of the value it still holds.
    const int chosen = m_ui->OrvComboCommutatore->currentIndex();
    TOrvNumber* item = m_module->Number(QStringLiteral("TIPO_COMMUTATORE"));
    int value = item->GetInt() & ~SwitchMask;
    switch (chosen) {
    case 0:
        value |= PushButtonOnly;
        break;
    case 1:
        value |= WithIndicator;
        break;
    default:
        break;
    }
    item->SetInt(value);
}

void TFormConfig::EmulationChosen()
{
    if (m_ui->OrvComboTipoEmul->currentIndex() != ConstructedWave)
        return;
    TFormOndaCostruita dialog(m_module, m_screenWidth, this);
    dialog.exec();
}

void TFormConfig::EraseConfiguration()
{
    if (m_main)
        m_main->RunOperation([this] { Erase(); });
    else
        Erase();
}

void TFormConfig::Erase()
{
    TUserPrompts* prompts = m_module->Prompts();
    if (!prompts->AskYesNo(TMessageIcon::None, windowTitle(),
                           m_module->MessageText(TextIndex::EraseConfigurationQuestion), false))
        return;
    prompts->SetBusyCursor(true);
    if (!m_module->StopRefresher()) {
        prompts->SetBusyCursor(false);
        return;
    }
    TVehicleSession* vehicles = m_main ? m_main->Vehicles() : nullptr;
    if (TVehicleSession::RunOn(vehicles, TTimelineKind::Erase, QString(),
                               [this] { return m_module->EraseConfiguration(); }))
        UpdateDependentEdits();
    m_module->DataRefresher()->SetEnabled(true);
    prompts->SetBusyCursor(false);
}

// Told once the edit is over (a message box now would take the focus from the
// field being confirmed, which confirms it again); edits in a row are told once.
void TFormConfig::EditWithoutUnit()
{
    if (!isVisible() || std::exchange(m_noUnitNoticePending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_noUnitNoticePending = false;
            m_module->Prompts()->ShowMessage(TMessageIcon::Error, windowTitle(),
                                             Text(TextIndex::ChangeNotWrittenNoUnit));
        },
        Qt::QueuedConnection);
}

void TFormConfig::ClearBandLamps()
{
    for (TProgressFill* lamp : m_lambdaLamps + m_tpsLamps)
        lamp->SetPercent(0);
}

void TFormConfig::ShowBandLamp(TSerialDataModule::Band band, int lit)
{
    const QList<TProgressFill*>& lamps = band == TSerialDataModule::Band::Lambda ? m_lambdaLamps : m_tpsLamps;
    for (int i = 0; i < lamps.size(); ++i) {
        const int percent = i == lit ? 100 : 0;
        if (lamps[i]->Percent() != percent)
            lamps[i]->SetPercent(percent);
    }
}

// --- keys -----------------------------------------------------------------------

bool TFormConfig::FormKeyDown(const QKeyEvent* event)
{
    const int key = event->key();
    if (event->modifiers() == Qt::ControlModifier && (key == Qt::Key_C || key == Qt::Key_D)) {
        // Connect only without a connected unit (whether or not the link
        // library is loaded: connecting loads it), disconnect only with one.
        const bool connected = m_module->IsUnitConnected();
        if (m_main && key == Qt::Key_C && !connected)
            m_main->Action("ActionConnect")->trigger();
        else if (m_main && key == Qt::Key_D && connected)
            m_main->Action("ActionDisconnect")->trigger();
        return true;
    }
    switch (key) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_F6:
        if (m_main)
            m_main->ShowChart();
        return true;
    case Qt::Key_PageDown:
        SelectNeighbourPage(1);
        return true;
    case Qt::Key_PageUp:
        SelectNeighbourPage(-1);
        return true;
    default:
        return false;
    }
}

// The next (step 1) or previous (step -1) visible page, wrapping around.
void TFormConfig::SelectNeighbourPage(int step)
{
    QTabWidget* pages = m_ui->PageControl;
    const int count = pages->count();
    int index = pages->currentIndex();
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        if (pages->isTabVisible(index)) {
            pages->setCurrentIndex(index);
            return;
        }
    }
}

bool TFormConfig::eventFilter(QObject* watched, QEvent* event)
{
    // Keys of the window's own controls; an open list is a window of its own.
    // Escape in a numeric field first undoes the typing there; the field passes
    // it on to the window when there was none.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* control = qobject_cast<QWidget*>(watched);
        const bool fieldFirst = key->key() == Qt::Key_Escape && qobject_cast<const TNumberField*>(control);
        if (control && control->window() == this && !fieldFirst && FormKeyDown(key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormConfig::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event))
        QDialog::keyPressEvent(event);
}

// --- link state -------------------------------------------------------------------

bool TFormConfig::event(QEvent* event)
{
    if (const TWindowMessage* message = TWindowMessage::from(event)) {
        if (message->message() == WindowMessage::WMLinkState) {
            OnLinkState(message->lParam());
            return true;
        }
    }
    return QDialog::event(event);
}

void TFormConfig::OnLinkState(intptr_t state)
{
    if (state == 1) {
        if (isVisible())
            m_module->DataRefresher()->SetEnabled(true);
        m_statusBar->ShowConnected(m_module->ConnectedText(), *m_module->OrvConnection());
        // The fixed default position lies within the unit's actuator opening.
        TOrvNumber* defaultPosition = m_module->Number(QStringLiteral("POSIZIONE_DEFAULT"));
        defaultPosition->SetMaxValue(
            m_module->Number(QStringLiteral("MASSIMA_APERTURA_ATTUATORE"))->GetInt());
        defaultPosition->SetMinValue(m_module->Number(QStringLiteral("MINIMA_APERTURA_ATTUATORE"))->GetInt());
        for (const char* name : {"GiriPerCambio", "GiriCutOff", "GiriFuoriGiri"})
            m_module->Item(QString::fromLatin1(name))->Load();
        UpdateDependentEdits();
        m_ui->ButtonReset->setEnabled(true);
    } else if (state == 0) {
        m_module->DataRefresher()->SetEnabled(false);
        m_statusBar->ShowDisconnected(m_module->NotConnectedText());
        m_ui->ButtonReset->setEnabled(false);
        m_module->ClearLiveValues();
    }
    UpdateUndoActions();
    update();
}
