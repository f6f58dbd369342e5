#include "model/UnitConnector.h"

#include "items/DataRefresher.h"
#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/OrvConnection.h"
#include "model/SerialDataModule.h"
#include "model/UnitIdentity.h"
#include "support/TextIndex.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int OverSpeedOff = 20000;
constexpr int StopRefresherTimeout = 2000;

} // namespace

TUnitConnector::TUnitConnector(TSerialDataModule& module) : m_module(module) {}

bool TUnitConnector::ReadIdentity(LinkInstance& link)
{
    m_identity.fill(0);
    return link.ReadIdentity(m_identity.data());
}

bool TUnitConnector::IdentifyAndConnect(LinkInstance& link, int& result)
{
    using namespace UnitIdentity;
    if (!ReadIdentity(link)) {
        result = TSerialDataModule::NoAnswer;
        return false;
    }
    const bool bootLoader = m_identity[1] == BootLoaderKind;
    const uint8_t kind = bootLoader ? m_identity[4] : m_identity[1];
    const uint8_t model = bootLoader ? m_identity[5] : m_identity[2];
    if (m_identity[0] != SupportedFamily || kind != SupportedKind || model != SupportedModel) {
        result = TSerialDataModule::OtherUnit;
        return false;
    }
    return link.ConnectUnit() != 0;
}

int TUnitConnector::Connect(int port, int flags)
{
    if (m_module.IsUnitConnected())
        return 1;
    TOrvConnection* connection = m_module.m_connection;
    if (!connection->LoadDll())
        return TSerialDataModule::NoLinkLibrary;

    std::unique_ptr<TWaitWindow> wait =
        m_module.BeginWait(m_module.MessageText(TextIndex::ConnectionCaption),
                           m_module.MessageText(TextIndex::ConnectingPleaseWait));

    LinkInstance* link = connection->Instance();
    link->PrepareLink(0);
    link->SelectPort(port);
    if (flags & 1)
        link->UseAlternateMode();
    else
        link->UseStandardMode();
    link->ConfigureLink(LinkConfigure::Standard);

    int result = 0;
    const bool connected = IdentifyAndConnect(*link, result);
    // Another program connected to the unit, or holding its port, is told apart from a silent unit.
    if (!connected && (link->GetLastError() & LinkError::InUse))
        result = TSerialDataModule::InUse;

    if (!connected) {
        m_module.EndWait(wait);
        Release(false);
        return result;
    }

    TOrvNumber* overSpeed = m_module.Number("GiriFuoriGiri");
    overSpeed->SetDisableLimits(true);
    ReloadAllItems();
    if (!m_module.IsUnitConnected()) {
        m_module.EndWait(wait);
        overSpeed->SetDisableLimits(false);
        return TSerialDataModule::LinkLostReading;
    }
    ActivatePacketItems();
    m_module.m_refresher->SetEnabled(flags & 2);
    m_port = port;
    TurnOverSpeedOff();
    m_module.EndWait(wait);
    overSpeed->SetDisableLimits(false);
    emit m_module.ConfigurationReread();
    return 0;
}

void TUnitConnector::TurnOverSpeedOff()
{
    TOrvNumber* overSpeed = m_module.Number("GiriFuoriGiri");
    const int speed = overSpeed->GetInt();
    m_module.m_loading = true;
    if (speed < OverSpeedOff && speed > overSpeed->ValueMax())
        overSpeed->SetInt(OverSpeedOff);
    m_module.m_loading = false;
}

void TUnitConnector::Release(bool refresherOn)
{
    TOrvConnection* connection = m_module.m_connection;
    if (connection->DllLoaded()) {
        connection->Instance()->DisconnectUnit();
        connection->UnloadDll();
    }
    m_module.m_refresher->SetEnabled(refresherOn);
}

void TUnitConnector::ReloadAllItems()
{
    const QObjectList& components = m_module.children();
    const int n = components.size();
    for (int i = 0; i < n; ++i) {
        if (CurrentWaitWindow && CurrentWaitWindow->IsShown())
            CurrentWaitWindow->SetWaitProgress(i * 100 / n, true);
        if (auto* item = qobject_cast<TOrvSerialData*>(components.at(i)))
            item->Load();
    }
    emit m_module.ConfigurationReread();
}

void TUnitConnector::ActivatePacketItems()
{
    const QList<TOrvSerialData*>& items = m_module.m_itemOrder;
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        if (auto* packet = qobject_cast<TOrvPacketData*>(*it))
            packet->SetActive(true);
    }
}

bool TUnitConnector::StopRefresher()
{
    TDataRefresher* refresher = m_module.m_refresher;
    refresher->SetEnabled(false);
    QElapsedTimer timer;
    timer.start();
    bool running = refresher->GetEnabled();
    while (running && timer.elapsed() < StopRefresherTimeout) {
        QThread::yieldCurrentThread();
        running = refresher->GetEnabled();
    }
    if (running) {
        m_module.m_prompts->ShowMessage(TMessageIcon::Error, QStringLiteral("Comunication Error"),
                                        QStringLiteral("Error: it's impossible to suspend the thread (33)"));
        return false;
    }
    return true;
}
