#include "app/CurrentVehicleButton.h"

#include "app/VehicleDialogs.h"
#include "app/VehicleSession.h"
#include "model/SerialDataModule.h"
#include "records/VehicleStore.h"
#include "support/TextIndex.h"
#include "support/Translator.h"
#include "support/UserPrompts.h"

TCurrentVehicleButton::TCurrentVehicleButton(TVehicleSession& session, TTranslator& translator,
                                             QWidget* parent)
    : QToolButton(parent), m_session(session), m_translator(translator),
      m_ownDialogs(std::make_unique<TQtVehicleDialogs>(translator)), m_dialogs(m_ownDialogs.get())
{
    setObjectName(QStringLiteral("CurrentVehicle"));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QToolButton::clicked, this, [this] { Choose(); });
    connect(&m_session, &TVehicleSession::VehicleChanged, this, &TCurrentVehicleButton::RefreshText);
    RefreshText();
}

TCurrentVehicleButton::~TCurrentVehicleButton() = default;

void TCurrentVehicleButton::SetDialogs(TVehicleDialogs* dialogs)
{
    m_dialogs = dialogs ? dialogs : m_ownDialogs.get();
}

void TCurrentVehicleButton::RefreshText()
{
    setText(m_session.VehicleText());
    setToolTip(m_translator.GetString(TextIndex::WhichVehicleQuestion, 0));
}

void TCurrentVehicleButton::AskAtConnect()
{
    QList<TVehicleCandidate> candidates;
    if (!m_session.Candidates(candidates) || candidates.isEmpty())
        return;
    if (Choose() && m_session.HasVehicle())
        m_session.RecordConnect();
}

bool TCurrentVehicleButton::Choose()
{
    QList<TVehicleCandidate> candidates;
    // Records that open but cannot be read are told as those that cannot be opened.
    if (!m_session.DatabaseOrTell())
        return false;
    if (!m_session.Candidates(candidates)) {
        m_session.Module().Prompts()->ShowMessage(TMessageIcon::Error,
                                                  m_translator.GetString(TextIndex::VehicleRecords, 0),
                                                  m_translator.GetString(TextIndex::RecordsCannotBeOpened, 0)
                                                      .replace(QLatin1String("%1"), m_session.Error()));
        return false;
    }
    const int answer = m_dialogs->ChooseVehicle(window(), candidates);
    if (answer >= 0 && answer < candidates.size())
        m_session.SetVehicle(candidates.at(answer).vehicle);
    else if (answer == TVehicleDialogs::NoVehicle)
        m_session.ClearVehicle();
    else if (answer == TVehicleDialogs::NewVehicle)
        CreateVehicle();
    return true;
}

void TCurrentVehicleButton::CreateVehicle()
{
    TVehicle vehicle;
    if (!m_dialogs->EditVehicle(window(), vehicle))
        return;
    TVehicleStore store(*m_session.Database());
    if (store.Add(vehicle))
        m_session.SetVehicle(vehicle);
    else
        m_session.Module().Prompts()->ShowMessage(TMessageIcon::Error,
                                                  m_translator.GetString(TextIndex::VehicleRecords, 0),
                                                  m_translator.GetString(TextIndex::VehicleNotSaved, 0)
                                                      .replace(QLatin1String("%1"), store.Error()));
}
