#pragma once

// TFormOndaCostruita, the constructed-wave dialog: the fitter sets how long the
// emulated lambda signal stays high and low, how long the emulated probe is
// seen as disconnected (the tri-state time) and how many waves are repeated.
// The three value edits write their items when a value is confirmed; the
// tri-state field is not bound, since the unit holds that time in two bytes
// (see EncodeTriStateTime), and writes both on Return.

#include <QDialog>
#include <memory>

namespace Ui {
class TFormOndaCostruita;
}
class TSerialDataModule;

// The tri-state time as the unit holds it: R (NUMERO_RIPETIZIONI_TRI) and V
// (NUMERO_VOLTE_TRI). The time is R − 1 whole periods of 5.12 s plus V ticks of
// 0.02 s, where V = 0 stands for one whole period (256 ticks).
struct TTriStateTime {
    int repetitions = 0; // R
    int ticks = 0;       // V
};

// The pair the unit stores for a time typed in seconds. The arithmetic keeps
// the precisions the unit's stored values were always made with (the time as a
// 32-bit float, the products in extended precision), so the same text gives
// the same bytes: 5.12 gives R 1, V 255. Times beyond R = 117 whole periods are
// held at R 117, V 0; negative times count as 0.
TTriStateTime EncodeTriStateTime(float seconds);

// The time in seconds, to two decimals, that a stored pair stands for.
double DecodeTriStateTime(int repetitions, int ticks);

class TFormOndaCostruita : public QDialog {
    Q_OBJECT

public:
    // Built for the given screen width (scaled from 800).
    TFormOndaCostruita(TSerialDataModule* dataModule, int screenWidth, QWidget* owner = nullptr);
    ~TFormOndaCostruita() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetUpLook();
    void StoreTriStateTime();
    void KeepWavesWithTriStateTime();
    void RestoreStandardWave();
    void ShowTriStateTime();
    TTriStateTime StoredTriStateTime() const;

    std::unique_ptr<Ui::TFormOndaCostruita> m_ui;
    TSerialDataModule* m_module;
};
