#include "roadtest/RoadTestCheck.h"

#include "datalog/LiveChannels.h"
#include "datalog/SampleRing.h"

#include <QHash>
#include <algorithm>
#include <cmath>

using S = TRoadTestSettings;

// One sample as the check sees it.
struct TRoadTestCheck::TRow {
    double time = 0;
    double hold = 0; // how long the sample stands
    bool running = false;
    bool offIdle = false; // the TPS off idle, whatever the engine does
    bool idle = false;
    bool full = false;
    bool closed = false;
    int band = -1; // the lambda band
    double actuator = 0;
    double unitDefault = 0; // the default position the unit applies at the moment
};

bool TRoadTestResult::Fails() const
{
    return std::any_of(criteria.cbegin(), criteria.cend(),
                       [](const TCriterionResult& criterion) { return criterion.verdict == TVerdict::Fail; });
}

const TCriterionResult* TRoadTestResult::Criterion(TCriterionId id) const
{
    for (const TCriterionResult& criterion : criteria) {
        if (criterion.id == id)
            return &criterion;
    }
    return nullptr;
}

TRoadTestCheck::TRoadTestCheck(const TRoadTestSettings& settings, const TRoadTestThresholds& thresholds)
    : m_settings(settings), m_limits(thresholds)
{
}

QList<TRoadTestCheck::TRow> TRoadTestCheck::Rows(const TSampleRing& samples, double from, double to) const
{
    using namespace LiveChannel;
    const int first = samples.LowerBound(from);
    const int end = samples.LowerBound(std::nextafter(to, TSampleRing::Unlimited));
    QList<TRow> rows;
    for (int i = first; i < end; ++i) {
        TRow row;
        row.time = samples.Time(i);
        row.hold = i + 1 < end ? std::min(samples.Time(i + 1) - row.time, m_limits.maxHold) : 0;
        const double tps = samples.Value(i, Tps);
        row.running = samples.Value(i, Rpm) > 0;
        row.full = row.running && tps >= m_settings.Value(S::FullThrottleTps);
        row.offIdle = tps > samples.Value(i, TpsIdle) + m_limits.tpsOffIdle;
        row.idle = row.running && !row.full && !row.offIdle;
        const bool warm = samples.Value(i, Temperature) >= m_settings.Value(S::ChangeoverTemperature);
        row.closed = row.running && warm && !row.full;
        row.band = int(std::lround(samples.Value(i, LambdaBand)));
        row.actuator = samples.Value(i, Actuator);
        row.unitDefault = samples.Value(i, LiveChannel::DefaultPosition);
        rows << row;
    }
    return rows;
}

TRoadTestResult TRoadTestCheck::Run(const TSampleRing& samples, double from, double to) const
{
    const QList<TRow> rows = Rows(samples, from, to);
    TRoadTestResult result;
    result.changeoverTemperature = m_settings.Value(S::ChangeoverTemperature);
    result.highestTemperature = -1e300;
    const int first = samples.LowerBound(from);
    for (int i = first; i < first + rows.size(); ++i)
        result.highestTemperature =
            std::max(result.highestTemperature, samples.Value(i, LiveChannel::Temperature));
    if (rows.isEmpty())
        result.highestTemperature = 0;
    for (const TRow& row : rows) {
        result.loggedSeconds += row.hold;
        if (row.closed)
            result.closedSeconds += row.hold;
    }
    result.judged = result.closedSeconds >= m_limits.minClosedLoop;
    if (!result.judged)
        return result;

    QList<double> crossings;
    result.criteria << RpmSignal(rows) << WarmUp(result) << LambdaSwitching(rows, crossings)
                    << MixtureBalance(rows, result.closedSeconds)
                    << ActuatorAuthority(rows, result.closedSeconds) << DefaultPosition(rows, crossings)
                    << Coverage(rows);
    Suggest(result);
    return result;
}

// The longest run of samples without engine speed while the TPS is off idle,
// once the engine has run: the speed signal was lost while driving.
TCriterionResult TRoadTestCheck::RpmSignal(const QList<TRow>& rows) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::RpmSignal;
    bool started = false;
    double run = 0;
    for (const TRow& row : rows) {
        started = started || row.running;
        if (started && !row.running && row.offIdle) {
            run += row.hold;
            criterion.a = std::max(criterion.a, run);
        } else {
            run = 0;
        }
    }
    criterion.verdict = criterion.a >= m_limits.rpmDropout ? TVerdict::Fail : TVerdict::Pass;
    return criterion;
}

TCriterionResult TRoadTestCheck::WarmUp(const TRoadTestResult& result) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::WarmUp;
    criterion.a = result.highestTemperature;
    criterion.b = result.changeoverTemperature;
    criterion.verdict = criterion.a >= criterion.b ? TVerdict::Pass : TVerdict::Warn;
    return criterion;
}

// Crossings of the reference: a change from lean to rich or back in closed
// loop (a visit to the band around the reference that returns to the side it
// came from is none). Leaving closed loop ends a stretch: it forgets the side,
// so that open loop (full throttle, a stop) makes no crossing.
TCriterionResult TRoadTestCheck::LambdaSwitching(const QList<TRow>& rows, QList<double>& crossings) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::LambdaSwitching;
    double closed = 0;
    double quiet = 0;
    int side = -1;
    for (const TRow& row : rows) {
        if (!row.closed) {
            side = -1;
            quiet = 0;
            continue;
        }
        if (row.band == LiveChannel::Lean || row.band == LiveChannel::Rich) {
            if (side >= 0 && row.band != side) {
                crossings << row.time;
                quiet = 0;
            }
            side = row.band;
        }
        quiet += row.hold;
        closed += row.hold;
        criterion.b = std::max(criterion.b, quiet);
    }
    criterion.a = closed > 0 ? crossings.size() / closed : 0;
    const bool rateGood = criterion.a >= m_limits.switchingMin && criterion.a <= m_limits.switchingMax;
    criterion.verdict = rateGood && criterion.b < m_limits.quietMax ? TVerdict::Pass : TVerdict::Fail;
    return criterion;
}

TCriterionResult TRoadTestCheck::MixtureBalance(const QList<TRow>& rows, double closedSeconds) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::MixtureBalance;
    for (const TRow& row : rows) {
        if (row.closed && row.band == LiveChannel::Lean)
            criterion.a += row.hold;
        else if (row.closed && row.band == LiveChannel::Rich)
            criterion.b += row.hold;
    }
    criterion.a /= closedSeconds;
    criterion.b /= closedSeconds;
    const double worst = std::max(criterion.a, criterion.b);
    criterion.verdict = worst > m_limits.mixtureFail   ? TVerdict::Fail
                        : worst > m_limits.mixtureWarn ? TVerdict::Warn
                                                       : TVerdict::Pass;
    return criterion;
}

// At idle the actuator moves within the idle limits around the default
// position the unit applies, off idle within the cruise limits; both inside
// the actuator's minimum and maximum. The limit that binds is the nearer one.
TCriterionResult TRoadTestCheck::ActuatorAuthority(const QList<TRow>& rows, double closedSeconds) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::ActuatorAuthority;
    const double low = m_settings.Value(S::ActuatorMin);
    const double high = m_settings.Value(S::ActuatorMax);
    QHash<int, double> byItem; // closed-loop time at each limit, by settings index
    double lowerTime = 0;
    double upperTime = 0;
    for (const TRow& row : rows) {
        if (!row.closed)
            continue;
        const S::Index below = row.idle ? S::IdleBelow : S::CruiseBelow;
        const S::Index above = row.idle ? S::IdleAbove : S::CruiseAbove;
        const double relativeLow = row.unitDefault - m_settings.Value(below);
        const double relativeHigh = row.unitDefault + m_settings.Value(above);
        if (row.actuator <= std::max(low, relativeLow) + m_limits.limitMargin) {
            byItem[relativeLow > low ? below : S::ActuatorMin] += row.hold;
            lowerTime += row.hold;
        } else if (row.actuator >= std::min(high, relativeHigh) - m_limits.limitMargin) {
            byItem[relativeHigh < high ? above : S::ActuatorMax] += row.hold;
            upperTime += row.hold;
        }
    }
    criterion.a = (lowerTime + upperTime) / closedSeconds;
    int named = -1;
    for (auto it = byItem.cbegin(); it != byItem.cend(); ++it) {
        if (named < 0 || it.value() > byItem.value(named) ||
            (it.value() == byItem.value(named) && it.key() < named))
            named = it.key();
    }
    for (int index = 0; index < S::Count; ++index) {
        if (!byItem.contains(index))
            continue;
        const bool lower = index == S::ActuatorMin || index == S::IdleBelow || index == S::CruiseBelow;
        criterion.limits << TLimitShare{S::ItemName(S::Index(index)),
                                        lower ? TActuatorSide::Lower : TActuatorSide::Upper,
                                        byItem.value(index) / closedSeconds};
    }
    if (named >= 0) {
        criterion.item = S::ItemName(S::Index(named));
        criterion.b = byItem.value(named) / closedSeconds;
        const bool lower = named == S::ActuatorMin || named == S::IdleBelow || named == S::CruiseBelow;
        criterion.side = lower ? TActuatorSide::Lower : TActuatorSide::Upper;
        criterion.c = (lower ? upperTime : lowerTime) / closedSeconds;
    }
    criterion.verdict = criterion.a > m_limits.authorityFail   ? TVerdict::Fail
                        : criterion.a > m_limits.authorityWarn ? TVerdict::Warn
                                                               : TVerdict::Pass;
    return criterion;
}

// Steady closed loop: the time between two crossings at most steadyGap apart,
// where the loop is working around its point. Its median actuator position is
// where the loop settles.
TCriterionResult TRoadTestCheck::DefaultPosition(const QList<TRow>& rows,
                                                 const QList<double>& crossings) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::DefaultPosition;
    criterion.b = m_settings.Value(S::DefaultPosition);
    criterion.c = m_limits.defaultOffset * ActuatorRange();
    std::vector<double> positions;
    qsizetype next = 0; // the first crossing after the row
    for (const TRow& row : rows) {
        while (next < crossings.size() && crossings.at(next) <= row.time)
            ++next;
        if (!row.closed || next == 0 || next == crossings.size())
            continue;
        if (crossings.at(next) - crossings.at(next - 1) <= m_limits.steadyGap)
            positions.push_back(row.actuator);
    }
    if (positions.empty()) {
        criterion.known = false;
        criterion.verdict = TVerdict::Warn;
        return criterion;
    }
    const auto middle = positions.begin() + std::ptrdiff_t(positions.size() / 2);
    std::nth_element(positions.begin(), middle, positions.end());
    criterion.a = *middle;
    if (positions.size() % 2 == 0)
        criterion.a = (criterion.a + *std::max_element(positions.begin(), middle)) / 2;
    criterion.verdict = std::abs(criterion.a - criterion.b) <= criterion.c ? TVerdict::Pass : TVerdict::Warn;
    return criterion;
}

TCriterionResult TRoadTestCheck::Coverage(const QList<TRow>& rows) const
{
    TCriterionResult criterion;
    criterion.id = TCriterionId::Coverage;
    for (const TRow& row : rows) {
        if (row.idle)
            criterion.a += row.hold;
        else if (row.full)
            criterion.c += row.hold;
        else if (row.running)
            criterion.b += row.hold;
    }
    const double least = std::min({criterion.a, criterion.b, criterion.c});
    criterion.verdict = least >= m_limits.coverageMin - 1e-9 ? TVerdict::Pass : TVerdict::Warn;
    return criterion;
}

double TRoadTestCheck::ActuatorRange() const
{
    return std::max(0.0, m_settings.Value(S::ActuatorMax) - m_settings.Value(S::ActuatorMin));
}

void TRoadTestCheck::Suggest(TRoadTestResult& result) const
{
    const TCriterionResult* speed = result.Criterion(TCriterionId::RpmSignal);
    const TCriterionResult* switching = result.Criterion(TCriterionId::LambdaSwitching);
    const TCriterionResult* authority = result.Criterion(TCriterionId::ActuatorAuthority);
    const TCriterionResult* position = result.Criterion(TCriterionId::DefaultPosition);

    if (speed->verdict == TVerdict::Fail)
        result.suggestions << TSuggestion{TSuggestionKind::InspectSpeedSignal, {}, 0, 0, speed->a};
    if (switching->verdict == TVerdict::Fail) {
        if (switching->a > m_limits.switchingMax)
            result.suggestions << TSuggestion{TSuggestionKind::InspectLambdaWiring, {}, 0, 0, switching->a};
        else if (authority->verdict == TVerdict::Pass)
            result.suggestions << TSuggestion{TSuggestionKind::InspectLambdaSensor, {}, 0, 0, switching->a};
    }

    if (position->verdict == TVerdict::Warn && position->known) {
        TRoadTestParameter parameter = m_settings.Parameter(S::DefaultPosition);
        // The default position stays within the actuator's limits, as the unit keeps it.
        parameter.min = std::max(parameter.min, m_settings.Value(S::ActuatorMin));
        parameter.max = std::min(parameter.max, m_settings.Value(S::ActuatorMax));
        const double proposed = parameter.Snapped(position->a);
        if (proposed != parameter.value)
            result.suggestions << TSuggestion{TSuggestionKind::DefaultPosition,
                                              S::ItemName(S::DefaultPosition), parameter.value, proposed,
                                              position->a};
    }

    if (authority->verdict == TVerdict::Pass)
        return;
    // Every limit the loop was held at for a noticeable share of the time.
    for (const TLimitShare& limit : authority->limits) {
        if (limit.share < m_limits.authorityWarn)
            continue;
        const bool lower = limit.side == TActuatorSide::Lower;
        S::Index index = S::Count;
        for (int i = 0; i < S::Count; ++i) {
            if (S::ItemName(S::Index(i)) == limit.item)
                index = S::Index(i);
        }
        // The idle and cruise limits lie around the default position: when the
        // default moves towards the limit the loop ran into, they follow it.
        const bool relative = index != S::ActuatorMin && index != S::ActuatorMax;
        const bool defaultFollows = std::any_of(
            result.suggestions.cbegin(), result.suggestions.cend(), [lower](const TSuggestion& s) {
                return s.kind == TSuggestionKind::DefaultPosition && (s.proposed < s.current) == lower;
            });
        if (relative && defaultFollows)
            continue;
        const TRoadTestParameter& parameter = m_settings.Parameter(index);
        // The actuator's minimum moves down, every other limit up (the
        // relative ones give the loop more room the further they reach).
        const double move = std::max(parameter.step, m_limits.limitMove * ActuatorRange());
        const double proposed = parameter.Snapped(parameter.value + (index == S::ActuatorMin ? -move : move));
        const TSuggestionKind inspection =
            lower ? TSuggestionKind::InspectRichMixture : TSuggestionKind::InspectGasSupply;
        const bool inspected =
            std::any_of(result.suggestions.cbegin(), result.suggestions.cend(),
                        [inspection](const TSuggestion& s) { return s.kind == inspection; });
        if (proposed != parameter.value)
            result.suggestions << TSuggestion{lower ? TSuggestionKind::WidenLowerLimit
                                                    : TSuggestionKind::WidenUpperLimit,
                                              limit.item, parameter.value, proposed, limit.share};
        else if (!inspected)
            result.suggestions << TSuggestion{inspection, {}, 0, 0, limit.share};
    }
}
