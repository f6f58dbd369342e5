#pragma once

// TFormConfig, the vehicle configuration window: three pages of controls bound
// to the unit's parameters, a panel of live values with band lamps, and a
// status bar like the main window's. Edits write the unit as soon as a value is
// confirmed (the controls and items see to that); the window's own logic is
// the limits hint beside the field being edited, the fields that depend on the
// option flags, the switch-type list, the erase command, the constructed-wave
// dialog, its keys and the link state.
//
// It is created hidden at start-up and shown modally by the main window, which
// runs the refresher while it shows. Ctrl+C and Ctrl+D run the main window's
// connect and disconnect commands, and the language entries of its pop-up menu
// the main window's language switch.

#include "app/ConfigurationWindow.h"
#include "model/SerialDataModule.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <memory>

namespace Ui {
class TFormConfig;
}
class TFormMain;
class THistoryPanel;
class TLinkStatusBar;
class TUndoRecorder;
class TProgressFill;
class TValueEditEx;

class TFormConfig : public QDialog, public TConfigurationWindow {
    Q_OBJECT

public:
    // The window is built for the given screen width (scaled from 800).
    TFormConfig(TSerialDataModule* dataModule, TFormMain* formMain, int screenWidth,
                QWidget* parent = nullptr);
    ~TFormConfig() override;

    // TConfigurationWindow
    QWidget* Widget() override { return this; }
    void ShowModal() override;
    void RefreshInterfaceText() override;
    void SetLinkText(const QString& text) override;
    QMenu* PopupMenuConfig() override { return m_popupMenu; }
    bool UpgradeBootLoaderChecked() const override;

    TLinkStatusBar* StatusBar() const { return m_statusBar; }
    // The changes made in this window: Ctrl+Z undoes one, Ctrl+Y redoes it,
    // Ctrl+H shows or hides their history, which closes with the window. Undo
    // and redo write to the unit: they answer only while a unit is connected.
    TUndoRecorder* UndoRecorder() const override { return m_undo; }
    THistoryPanel* HistoryPanel() const { return m_history; }

    // Shows the edits of the three option flags only while their flag is set.
    void UpdateDependentEdits();
    // Selects the switch-type entry that TIPO_COMMUTATORE stands for.
    void SyncSwitchCombo();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetUpLook();
    void FitToScreen();
    void CreatePopupMenu();
    void CreateUndo();
    void UpdateUndoActions();
    // An edit made without a connected unit reached no unit: the user is told why.
    void EditWithoutUnit();
    void ConnectControls();
    void PlaceRegions();
    bool FormKeyDown(const QKeyEvent* event);
    void SelectNeighbourPage(int step);
    void ShowLimitsHint(const TValueEditEx* edit);
    void SwitchTypeChosen();
    void EmulationChosen();
    void EraseConfiguration();
    void Erase();
    void ShowBandLamp(TSerialDataModule::Band band, int lit);
    void ClearBandLamps();
    void OnLinkState(intptr_t state);
    QString Text(int index) const;

    std::unique_ptr<Ui::TFormConfig> m_ui;
    TSerialDataModule* m_module;
    QPointer<TFormMain> m_main;
    int m_screenWidth;
    TLinkStatusBar* m_statusBar = nullptr;
    QMenu* m_popupMenu = nullptr;
    TUndoRecorder* m_undo = nullptr;
    THistoryPanel* m_history = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_historyAction = nullptr;
    QAction* m_redoAction = nullptr;
    bool m_noUnitNoticePending = false;
    QList<TProgressFill*> m_lambdaLamps;
    QList<TProgressFill*> m_tpsLamps;
};
