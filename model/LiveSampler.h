#pragma once

// TLiveSampler turns the live packet items into samples: each time the
// refresher has handed the live packet to the items, it takes their values
// (after the items' own rules ran: 0 RPM for a stopped engine) as one sample of
// the live channels, stamped by its clock. It reads nothing from the unit
// itself; whoever shows or records samples runs the refresher.

#include "datalog/LogSample.h"

#include <QList>
#include <QObject>
#include <QSet>

class TLogClock;
class TOrvPacketData;
class TSerialDataModule;

class TLiveSampler : public QObject {
    Q_OBJECT

public:
    // Neither the module nor the clock is owned; both outlive the sampler.
    TLiveSampler(TSerialDataModule* module, const TLogClock* clock, QObject* parent = nullptr);

signals:
    void Sampled(const TLogSample& sample);

private:
    void GroupDelivered(quint32 descriptor);

    const TLogClock* m_clock;
    QList<TOrvPacketData*> m_items; // in the order of the live channels
    QSet<quint32> m_descriptors;
};
