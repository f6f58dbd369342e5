#include "app/FormOndaCostruita.h"

#include "app/FormScaling.h"
#include "controls/ControlBinding.h"
#include "items/OrvNumber.h"
#include "model/SerialDataModule.h"
#include "support/NumberText.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "ui_FormOndaCostruita.h"

#include <QShowEvent>
#include <cmath>

namespace {

// The unit's tri-state time: whole periods of 5.12 s and ticks of 0.02 s.
constexpr double Period = 5.12;
constexpr double Tick = 0.02;
constexpr int TicksPerSecond = 50;
constexpr int MostWholePeriods = 117;

const QString RepetitionsItem = QStringLiteral("NUMERO_RIPETIZIONI_TRI");
const QString TicksItem = QStringLiteral("NUMERO_VOLTE_TRI");

const QColor TextColour(0, 0, 155);

} // namespace

TTriStateTime EncodeTriStateTime(float seconds)
{
    const long double t = seconds > 0 ? seconds : 0.0f;
    const long double perPeriod = 1.0L / static_cast<long double>(Period);
    const long double whole = std::trunc(t * perPeriod);
    if (!(whole <= MostWholePeriods)) // also an infinite time
        return {MostWholePeriods, 0};
    const int a = static_cast<int>(whole);
    const int b = static_cast<int>(std::trunc((t - a * static_cast<long double>(Period)) * TicksPerSecond));
    return {b != 0 ? a + 1 : a, b & 0xFF};
}

double DecodeTriStateTime(int repetitions, int ticks)
{
    const int b = repetitions - 1;
    const long double rest =
        ticks != 0 ? ticks * static_cast<long double>(Tick) : static_cast<long double>(Period);
    const float x = static_cast<float>(b * static_cast<long double>(Period) + rest);
    // Two decimals, cutting toward zero after adding half a step, also below zero.
    const long double step = 0.01;
    return static_cast<double>(std::trunc(x / step + 0.5L) * step);
}

TFormOndaCostruita::TFormOndaCostruita(TSerialDataModule* dataModule, int screenWidth, QWidget* owner)
    : QDialog(owner), m_ui(std::make_unique<Ui::TFormOndaCostruita>()), m_module(dataModule)
{
    m_ui->setupUi(this);
    for (const QString& problem : BindControls(this, m_module))
        qWarning("TFormOndaCostruita: cannot bind %s", qPrintable(problem));
    SetUpLook();
    ScaleForm(this, screenWidth);
    MatchFieldHeights(this, m_ui->OrvValEditNVolteAlto->height());
    setFixedSize(size());

    TTranslator* translator = m_module->Translator();
    m_ui->OrvValEditNVolteAlto->EditLabel()->SetCaption(translator->GetString(TextIndex::WaveHighTime, 0));
    m_ui->OrvValueEditNVolteBasso->EditLabel()->SetCaption(translator->GetString(TextIndex::WaveLowTime, 0));
    m_ui->OrvValueEditNumeroOnde->EditLabel()->SetCaption(translator->GetString(TextIndex::NumberOfWaves, 0));
    m_ui->LabelTempoTristate->setText(translator->GetString(TextIndex::DisconnectedProbeTime, 0));

    connect(m_ui->NumericEditSondaSconnessa, &TNumericEdit::OnKeyDown, this, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            StoreTriStateTime();
    });
    connect(m_ui->OrvValueEditNumeroOnde, &TValueEditEx::OnKeyDown, this, [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            KeepWavesWithTriStateTime();
    });
    connect(m_ui->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->ButtonStandard, &QPushButton::clicked, this, &TFormOndaCostruita::RestoreStandardWave);
}

TFormOndaCostruita::~TFormOndaCostruita() = default;

void TFormOndaCostruita::SetUpLook()
{
    setFont(DesignFont(QStringLiteral("Arial"), 13, true));
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, TextColour);
    palette.setColor(QPalette::Text, TextColour);
    setPalette(palette);
}

void TFormOndaCostruita::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_ui->OrvValEditNVolteAlto->InitData();
    m_ui->OrvValueEditNVolteBasso->InitData();
    m_ui->OrvValueEditNumeroOnde->InitData();
    ShowTriStateTime();
}

TTriStateTime TFormOndaCostruita::StoredTriStateTime() const
{
    return {m_module->Number(RepetitionsItem)->GetInt(), m_module->Number(TicksItem)->GetInt()};
}

void TFormOndaCostruita::ShowTriStateTime()
{
    const TTriStateTime stored = StoredTriStateTime();
    m_ui->NumericEditSondaSconnessa->setText(
        GeneralNumberText(DecodeTriStateTime(stored.repetitions, stored.ticks)));
}

// Return in the tri-state field: the text as typed (the field clamps it only
// afterwards) goes to the two bytes. With ticks, the whole periods are written
// before the ticks and completed after them, as the unit has always been sent.
void TFormOndaCostruita::StoreTriStateTime()
{
    double typed = 0;
    if (!ParseNumberText(m_ui->NumericEditSondaSconnessa->text(), typed))
        typed = 0;
    const TTriStateTime time = EncodeTriStateTime(static_cast<float>(typed));
    TOrvNumber* repetitions = m_module->Number(RepetitionsItem);
    if (time.ticks != 0)
        repetitions->SetInt(time.repetitions - 1);
    else
        repetitions->SetInt(time.repetitions);
    m_module->Number(TicksItem)->SetInt(time.ticks);
    if (time.ticks != 0)
        repetitions->SetInt(time.repetitions);
}

// Return in the number of waves: while a tri-state time is set the unit needs
// at least one wave, so a 0 becomes 1 before the field commits it.
void TFormOndaCostruita::KeepWavesWithTriStateTime()
{
    TValueEditEx* waves = m_ui->OrvValueEditNumeroOnde;
    const int typed = waves->text().toInt(); // 0 when the text is not a whole number
    const TTriStateTime stored = StoredTriStateTime();
    if (typed == 0 && (stored.repetitions != 0 || stored.ticks != 0))
        waves->setText(QStringLiteral("1"));
}

void TFormOndaCostruita::RestoreStandardWave()
{
    if (!m_module->IsUnitConnected())
        return;
    for (const char* name : {"NUMERO_VOLTE_ALTO", "NUVERO_VOLTE_BASSO", "NUMERO_RIPETIZIONI_ONDA",
                             "NUMERO_VOLTE_TRI", "NUMERO_RIPETIZIONI_TRI"})
        m_module->Number(QString::fromLatin1(name))->ResetDefault(true);
    m_ui->NumericEditSondaSconnessa->setText(QStringLiteral("0"));
}
