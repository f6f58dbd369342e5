#include "model/LiveSampler.h"

#include "datalog/LiveChannels.h"
#include "datalog/LogClock.h"
#include "items/DataRefresher.h"
#include "items/OrvPacketData.h"
#include "model/SerialDataModule.h"

TLiveSampler::TLiveSampler(TSerialDataModule* module, const TLogClock* clock, QObject* parent)
    : QObject(parent), m_clock(clock)
{
    for (const TLogChannel& channel : LiveChannels()) {
        TOrvPacketData* item = module->Packet(channel.name);
        Q_ASSERT(item);
        m_items << item;
        m_descriptors.insert(item->Descriptor());
    }
    connect(module->DataRefresher(), &TDataRefresher::GroupDelivered, this,
            [this](quint32 descriptor, int) { GroupDelivered(descriptor); });
}

void TLiveSampler::GroupDelivered(quint32 descriptor)
{
    if (!m_descriptors.contains(descriptor))
        return;
    TLogSample sample;
    sample.monotonicMs = m_clock->MonotonicMs();
    sample.time = m_clock->Now();
    sample.values.reserve(m_items.size());
    for (TOrvPacketData* item : std::as_const(m_items))
        sample.values << item->GetDouble();
    emit Sampled(sample);
}
