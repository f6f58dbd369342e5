#pragma once

// TCurrentVehicleButton names the current vehicle (plate, make, model) in the
// main window's status bar; a click asks for another one. After a connect it
// asks which vehicle is on the bench: the recorded vehicles closest to the
// unit's configuration first, a new vehicle (typed, recorded, then current),
// or none. Records that hold no vehicle yet (or cannot be opened) are not
// asked about at connect: a bench that does not keep records sees no question.

#include <QToolButton>

class TTranslator;
class TVehicleDialogs;
class TVehicleSession;

class TCurrentVehicleButton : public QToolButton {
    Q_OBJECT

public:
    TCurrentVehicleButton(TVehicleSession& session, TTranslator& translator, QWidget* parent);
    ~TCurrentVehicleButton() override;

    // The question seam; the toolkit's dialogs when null. Not owned.
    void SetDialogs(TVehicleDialogs* dialogs);
    void RefreshText();

    // After a connect: asks which vehicle is on the bench when the records
    // hold any, and records the connect on the one chosen.
    void AskAtConnect();
    // Asks which vehicle is current; false when the records could not be read
    // (the fitter is told why).
    bool Choose();

private:
    void CreateVehicle();

    TVehicleSession& m_session;
    TTranslator& m_translator;
    std::unique_ptr<TVehicleDialogs> m_ownDialogs;
    TVehicleDialogs* m_dialogs;
};
