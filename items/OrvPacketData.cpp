#include "items/OrvPacketData.h"

#include "items/DataRefresher.h"
#include "items/Rounding.h"
#include "link/LinkInstance.h"
#include "link/WindowMessage.h"

#include <cstring>

namespace {

constexpr int MinimumInterval = 20;
constexpr int DirectReadCapacity = 251;

} // namespace

TOrvPacketData::TOrvPacketData(QObject* owner) : TOrvSerialData(KindPacket, owner)
{
    SetDescriptorBits(LinkDescriptor::PacketFlag, true);
    SetElementCount(1);
    SetReadOnly(true);
}

TOrvPacketData::~TOrvPacketData()
{
    Unregister();
}

void TOrvPacketData::Register()
{
    if (m_registered || !m_refresher)
        return;
    m_registered = m_refresher->AddRefresh(this, m_timeInterval, Descriptor(), -1);
    m_registeredDescriptor = Descriptor();
}

void TOrvPacketData::Unregister()
{
    if (m_registered && m_refresher)
        m_refresher->RemoveRefresh(this, m_registeredDescriptor, -1);
    m_registered = false;
}

void TOrvPacketData::SetActive(bool active)
{
    m_active = active;
    if (!m_refresher)
        return;
    Register();
    if (active)
        m_refresher->ResumeRefresh(this, Descriptor(), -1);
    else
        m_refresher->SuspendRefresh(this, Descriptor(), -1);
}

void TOrvPacketData::SetDataRefresher(TDataRefresher* refresher)
{
    Unregister();
    disconnect(m_refresherDestroyed);
    m_refresher = refresher;
    if (refresher)
        m_refresherDestroyed =
            connect(refresher, &QObject::destroyed, this, [this] { RefresherDestroyed(); });
    SetActive(m_active);
}

void TOrvPacketData::RefresherDestroyed()
{
    m_refresher = nullptr;
    m_active = false;
    m_registered = false;
}

void TOrvPacketData::SetTimeInterval(int milliseconds)
{
    if (milliseconds < MinimumInterval)
        return;
    m_timeInterval = milliseconds;
    if (m_registered)
        m_refresher->AddRefresh(this, m_timeInterval, Descriptor(), -1);
}

void TOrvPacketData::DescriptorChanged(uint32_t)
{
    if (!m_registered)
        return;
    Unregister();
    SetActive(m_active);
}

int TOrvPacketData::GetInt()
{
    return TruncToInt(GetDouble() + 0.5);
}

double TOrvPacketData::GetDouble()
{
    return ConvertValueToUser(m_raw);
}

void TOrvPacketData::InitData(double user)
{
    m_raw = ConvertValueToEcu(user, &m_raw);
    m_hasValue = true;
    NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
}

void TOrvPacketData::ClearValue()
{
    m_raw = 0;
    m_hasValue = false;
    NotifyData(WindowMessage::WMDataChanged, reinterpret_cast<uintptr_t>(this), 0);
}

void TOrvPacketData::UpdateData(const void* buffer)
{
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t received = 0;
    std::memcpy(&received, bytes, sizeof received);
    if (m_offset < 0 || m_offset + DataLength() > received)
        return;
    DoBeforeGetData();
    m_raw = RawFromBytes(bytes + sizeof received + m_offset);
    m_hasValue = true;
    DoGetData();
}

bool TOrvPacketData::Reload()
{
    SetLoadedFlag(false);
    TOrvConnection* connection = m_refresher ? m_refresher->Connection() : nullptr;
    if (!connection || !connection->LoadDll() || !connection->IsUnitConnected())
        return false;

    uint8_t area[4 + DirectReadCapacity + 1] = {};
    int length = DirectReadCapacity;
    bool ok = false;
    int flags = 0;
    {
        TConnectionLocker locker(connection);
        ok = connection->Instance()->ReadPacket(Descriptor(), area + 4, &length);
        flags = connection->Instance()->GetLastError();
    }
    if (ok) {
        const int32_t received = qBound(0, length, DirectReadCapacity);
        std::memcpy(area, &received, sizeof received);
        UpdateData(area);
    } else {
        DoError(false);
    }
    if (flags != 0)
        DoComError(flags);
    return ok;
}
