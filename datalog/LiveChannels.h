#pragma once

// The live values a log records, in the order of its columns (the order of
// 'tzr582-cli unit live'): each channel is named after the live item it comes
// from and carries that item's engineering unit.

#include <QList>
#include <QString>

struct TLogChannel {
    QString name; // the live item's component name, also the column's name
    QString unit; // empty for the bands, which have none
};

namespace LiveChannel {
enum Index { Rpm, Lambda, Tps, TpsIdle, Actuator, DefaultPosition, LambdaBand, TpsBand, Temperature, Count };

// The lambda band's values: the unit's own judgement of the mixture against the
// lambda reference it applies at the moment.
constexpr int Lean = 0;
constexpr int InBand = 1;
constexpr int Rich = 2;
} // namespace LiveChannel

const QList<TLogChannel>& LiveChannels();
