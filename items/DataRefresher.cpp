#include "items/DataRefresher.h"

#include "items/OrvSerialData.h"
#include "items/RefreshThread.h"
#include "link/LinkInstance.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>

namespace {

constexpr int DefaultSleepTime = 20;
// The longest the thread sleeps when no client is active: a client that comes
// reschedules it anyway.
constexpr qint64 MaxIdleTime = 1000;
constexpr int ArrayCapacity = 64; // 32-bit words of a packet or array group's buffer, at least

// The 32-bit words a group's buffer needs: one for a single value; for a packet
// or an array at least ArrayCapacity, and always room for every element the
// descriptor counts (a row or a whole vector is read into it at once).
int GroupCapacity(uint32_t descriptor)
{
    if (!(descriptor & (LinkDescriptor::ArrayFlag | LinkDescriptor::PacketFlag)))
        return 1;
    return std::max(ArrayCapacity, LinkDescriptor::Count(descriptor) + 1);
}

QThread::Priority ToThreadPriority(TDataRefresher::TThreadPriority priority)
{
    switch (priority) {
    case TDataRefresher::tpIdle:
        return QThread::IdlePriority;
    case TDataRefresher::tpLowest:
        return QThread::LowestPriority;
    case TDataRefresher::tpLower:
        return QThread::LowPriority;
    case TDataRefresher::tpNormal:
        return QThread::NormalPriority;
    case TDataRefresher::tpHigher:
        return QThread::HighPriority;
    case TDataRefresher::tpHighest:
        return QThread::HighestPriority;
    case TDataRefresher::tpTimeCritical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

qint64 MonotonicMilliseconds()
{
    QElapsedTimer timer;
    timer.start();
    return timer.msecsSinceReference();
}

} // namespace

TDataRefresher::TDataRefresher(QObject* owner)
    : QObject(owner), m_clock(&MonotonicMilliseconds),
      m_thread(std::make_unique<TRefreshThread>(this, DefaultSleepTime))
{
    setObjectName(QStringLiteral("DataRefresher"));
    m_thread->start();
    m_thread->setPriority(ToThreadPriority(m_priority));
}

TDataRefresher::~TDataRefresher()
{
    RemoveAll();
    m_thread.reset();
}

int TDataRefresher::SleepTime() const
{
    return m_thread->SleepTime();
}

void TDataRefresher::SetSleepTime(int milliseconds)
{
    if (milliseconds > 0)
        m_thread->SetSleepTime(milliseconds);
}

void TDataRefresher::SetPriority(TThreadPriority priority)
{
    m_priority = priority;
    m_thread->setPriority(ToThreadPriority(priority));
}

// --- registration ---------------------------------------------------------

TDataRefresher::Group* TDataRefresher::FindGroup(uint32_t descriptor, int index)
{
    for (Group& group : m_groups) {
        if (group.descriptor == descriptor && group.index == index)
            return &group;
    }
    return nullptr;
}

TDataRefresher::Client* TDataRefresher::FindClient(QObject* component, uint32_t descriptor, int index)
{
    Group* group = FindGroup(descriptor, index);
    if (!group)
        return nullptr;
    for (Client& client : group->clients) {
        if (client.component == component)
            return &client;
    }
    return nullptr;
}

bool TDataRefresher::AddRefresh(QObject* component, int interval, uint32_t descriptor, int index)
{
    if (interval <= 0)
        return false;
    if (Client* client = FindClient(component, descriptor, index)) {
        client->interval = interval;
        client->lastDelivery = 0;
        m_thread->Reschedule();
        return true;
    }
    Group* group = FindGroup(descriptor, index);
    if (!group) {
        Group created;
        created.descriptor = descriptor;
        created.index = index;
        created.capacity = GroupCapacity(descriptor);
        created.buffer.assign(size_t(created.capacity), 0);
        m_groups.push_back(std::move(created));
        group = &m_groups.back();
    }
    Client client;
    client.interval = interval;
    client.component = component;
    group->clients.push_back(client);
    m_thread->Reschedule();
    return true;
}

void TDataRefresher::RemoveRefresh(QObject* component, uint32_t descriptor, int index)
{
    Group* group = FindGroup(descriptor, index);
    if (!group)
        return;
    auto& clients = group->clients;
    clients.erase(std::remove_if(clients.begin(), clients.end(),
                                 [component](const Client& c) { return c.component == component; }),
                  clients.end());
    if (clients.empty())
        m_groups.erase(m_groups.begin() + (group - m_groups.data()));
}

void TDataRefresher::SuspendRefresh(QObject* component, uint32_t descriptor, int index)
{
    if (Client* client = FindClient(component, descriptor, index))
        client->active = false;
}

void TDataRefresher::ResumeRefresh(QObject* component, uint32_t descriptor, int index)
{
    if (Client* client = FindClient(component, descriptor, index)) {
        client->active = true;
        m_thread->Reschedule();
    }
}

void TDataRefresher::RemoveAll()
{
    m_groups.clear();
}

// --- enabling -------------------------------------------------------------

void TDataRefresher::SetEnabled(bool enabled)
{
    m_thread->SetEnabled(enabled);
}

bool TDataRefresher::GetEnabled()
{
    QCoreApplication::sendPostedEvents(this, TRefreshThread::PassEvent);
    QCoreApplication::processEvents();
    return !m_thread->Suspended();
}

bool TDataRefresher::event(QEvent* event)
{
    if (event->type() != TRefreshThread::PassEvent)
        return QObject::event(event);
    RefreshPass(false);
    m_thread->PassDone(IdleTime());
    return true;
}

void TDataRefresher::ReloadAll()
{
    RefreshPass(true);
}

// --- the pass -------------------------------------------------------------

void TDataRefresher::RefreshPass(bool force)
{
    if (!m_thread->Enabled() || !m_connection || !m_connection->IsUnitConnected())
        return;
    const qint64 now = m_clock();
    // Deliveries may register or remove clients; walk by position and look the
    // group up again after each delivery.
    for (size_t g = 0; g < m_groups.size(); ++g) {
        const uint32_t descriptor = m_groups[g].descriptor;
        const int index = m_groups[g].index;
        bool read = false;
        for (size_t c = 0; g < m_groups.size() && c < m_groups[g].clients.size(); ++c) {
            Client& client = m_groups[g].clients[c];
            if (!client.active && !force)
                continue;
            if (!(client.lastDelivery + client.interval < now) && !force)
                continue;
            if (!read)
                read = ReadGroup(m_groups[g]);
            if (!read)
                continue;
            m_groups[g].clients[c].lastDelivery = now;
            QPointer<QObject> component = client.component;
            if (component)
                Deliver(component, m_groups[g]);
        }
        if (read)
            emit GroupDelivered(descriptor, index);
    }
}

// How long no active client is due, in milliseconds: a client is delivered at
// the first pass after its interval has run out. 0 without a unit, where every
// pass looks again.
int TDataRefresher::IdleTime() const
{
    if (!m_connection || !m_connection->IsUnitConnected())
        return 0;
    const qint64 now = m_clock();
    qint64 idle = MaxIdleTime;
    for (const Group& group : m_groups) {
        for (const Client& client : group.clients) {
            if (client.active)
                idle = qMin(idle, client.lastDelivery + client.interval + 1 - now);
        }
    }
    return int(qMax<qint64>(idle, 0));
}

bool TDataRefresher::ReadGroup(Group& group)
{
    LinkInstance* link = m_connection->Instance();
    int32_t* words = group.buffer.data();
    if (group.descriptor & LinkDescriptor::PacketFlag) {
        int length = group.capacity;
        const bool ok = link->ReadPacket(group.descriptor, reinterpret_cast<uint8_t*>(words + 1), &length);
        words[0] = ok ? length : 0;
        return ok;
    }
    if (group.index >= 0)
        return link->ReadIndexed(group.descriptor, words, group.index);
    return link->ReadValue(group.descriptor, words);
}

void TDataRefresher::Deliver(QObject* component, Group& group)
{
    // A copy, so that the receiver cannot disturb the group's buffer.
    const std::vector<int32_t> buffer = group.buffer;
    if (auto* item = qobject_cast<TOrvSerialData*>(component)) {
        item->UpdateData(buffer.data());
        return;
    }
    TWindowMessage message(WindowMessage::WMDataAvailable, reinterpret_cast<uintptr_t>(buffer.data()), 0);
    QCoreApplication::sendEvent(component, &message);
}
