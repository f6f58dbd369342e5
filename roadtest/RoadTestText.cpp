#include "roadtest/RoadTestText.h"

#include "support/TextIndex.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QString RoadTestNumber(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0"
    QString text = QLocale::c().toString(rounded, 'f', decimals);
    if (text.contains(u'.'))
        text.remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    return text;
}

namespace {

QString Percent(double share)
{
    return RoadTestNumber(share * 100, 0) + QStringLiteral(" %");
}

} // namespace

TRoadTestText::TRoadTestText(TSource source, const TRoadTestThresholds& thresholds)
    : m_source(std::move(source)), m_limits(thresholds)
{
}

QString TRoadTestText::Text(int index, const QString& english) const
{
    if (!m_source)
        return english;
    const QString text = m_source(index, english);
    return text.isEmpty() ? english : text;
}

QString TRoadTestText::Identifier(TCriterionId id)
{
    switch (id) {
    case TCriterionId::RpmSignal:
        return QStringLiteral("rpm-signal");
    case TCriterionId::WarmUp:
        return QStringLiteral("warm-up");
    case TCriterionId::LambdaSwitching:
        return QStringLiteral("lambda-switching");
    case TCriterionId::MixtureBalance:
        return QStringLiteral("mixture-balance");
    case TCriterionId::ActuatorAuthority:
        return QStringLiteral("actuator-authority");
    case TCriterionId::DefaultPosition:
        return QStringLiteral("default-position");
    case TCriterionId::Coverage:
        return QStringLiteral("coverage");
    }
    return QString();
}

QString TRoadTestText::Identifier(TVerdict verdict)
{
    switch (verdict) {
    case TVerdict::Pass:
        return QStringLiteral("pass");
    case TVerdict::Warn:
        return QStringLiteral("warn");
    case TVerdict::Fail:
        return QStringLiteral("fail");
    }
    return QString();
}

QString TRoadTestText::Caption(TCriterionId id) const
{
    switch (id) {
    case TCriterionId::RpmSignal:
        return Text(TextIndex::RpmSignalCriterion, QStringLiteral("Engine-speed signal"));
    case TCriterionId::WarmUp:
        return Text(TextIndex::WarmUpCriterion, QStringLiteral("Warm-up"));
    case TCriterionId::LambdaSwitching:
        return Text(TextIndex::LambdaSwitchingCriterion, QStringLiteral("Lambda switching"));
    case TCriterionId::MixtureBalance:
        return Text(TextIndex::MixtureBalanceCriterion, QStringLiteral("Mixture balance"));
    case TCriterionId::ActuatorAuthority:
        return Text(TextIndex::ActuatorAuthorityCriterion, QStringLiteral("Actuator authority"));
    case TCriterionId::DefaultPosition:
        return Text(TextIndex::DefaultPositionCriterion, QStringLiteral("Default position"));
    case TCriterionId::Coverage:
        return Text(TextIndex::CoverageCriterion, QStringLiteral("Coverage"));
    }
    return QString();
}

QString TRoadTestText::Verdict(TVerdict verdict) const
{
    switch (verdict) {
    case TVerdict::Pass:
        return Text(TextIndex::VerdictPass, QStringLiteral("Pass"));
    case TVerdict::Warn:
        return Text(TextIndex::VerdictWarning, QStringLiteral("Warning"));
    case TVerdict::Fail:
        return Text(TextIndex::VerdictFail, QStringLiteral("Fail"));
    }
    return QString();
}

QString TRoadTestText::Figure(const TCriterionResult& c) const
{
    const QString seconds = QStringLiteral(" s");
    switch (c.id) {
    case TCriterionId::RpmSignal:
        return RoadTestNumber(c.a) + seconds;
    case TCriterionId::WarmUp:
        return RoadTestNumber(c.a, 0) + QStringLiteral(" °C");
    case TCriterionId::LambdaSwitching:
        return RoadTestNumber(c.a, 2) + QStringLiteral(" /s, ") + RoadTestNumber(c.b) + seconds;
    case TCriterionId::MixtureBalance:
        return QStringLiteral("%1 %2, %3 %4")
            .arg(Text(TextIndex::MixtureLean, QStringLiteral("lean")), Percent(c.a),
                 Text(TextIndex::MixtureRich, QStringLiteral("rich")), Percent(c.b));
    case TCriterionId::ActuatorAuthority: {
        QString text = Percent(c.a);
        if (c.side != TActuatorSide::None) {
            const QString side = c.side == TActuatorSide::Lower
                                     ? Text(TextIndex::AtLowerLimit, QStringLiteral("lower limit"))
                                     : Text(TextIndex::AtUpperLimit, QStringLiteral("upper limit"));
            text += QStringLiteral(" (%1 %2 %3)").arg(side, c.item, Percent(c.b));
        }
        return text;
    }
    case TCriterionId::DefaultPosition:
        if (!c.known)
            return Text(TextIndex::NoSteadyClosedLoop, QStringLiteral("no steady closed loop"));
        return QStringLiteral("%1 / %2").arg(RoadTestNumber(c.a), RoadTestNumber(c.b));
    case TCriterionId::Coverage:
        return QStringLiteral("%1 %2 s, %3 %4 s, %5 %6 s")
            .arg(Text(TextIndex::CoverageIdle, QStringLiteral("idle")), RoadTestNumber(c.a, 0),
                 Text(TextIndex::CoverageCruise, QStringLiteral("cruise")), RoadTestNumber(c.b, 0),
                 Text(TextIndex::CoverageFullThrottle, QStringLiteral("full throttle")),
                 RoadTestNumber(c.c, 0));
    }
    return QString();
}

QString TRoadTestText::Threshold(const TCriterionResult& c) const
{
    const TRoadTestThresholds& t = m_limits;
    const QString fail = Verdict(TVerdict::Fail).toLower();
    switch (c.id) {
    case TCriterionId::RpmSignal:
        return QStringLiteral("< %1 s").arg(RoadTestNumber(t.rpmDropout));
    case TCriterionId::WarmUp:
        return QStringLiteral(">= %1 °C").arg(RoadTestNumber(c.b, 0));
    case TCriterionId::LambdaSwitching:
        return QStringLiteral("%1-%2 /s, < %3 s")
            .arg(RoadTestNumber(t.switchingMin), RoadTestNumber(t.switchingMax), RoadTestNumber(t.quietMax));
    case TCriterionId::MixtureBalance:
        return QStringLiteral("<= %1, %2 > %3").arg(Percent(t.mixtureWarn), fail, Percent(t.mixtureFail));
    case TCriterionId::ActuatorAuthority:
        return QStringLiteral("<= %1, %2 > %3").arg(Percent(t.authorityWarn), fail, Percent(t.authorityFail));
    case TCriterionId::DefaultPosition:
        return QStringLiteral("+/- %1").arg(RoadTestNumber(c.c));
    case TCriterionId::Coverage:
        return QStringLiteral(">= %1 s").arg(RoadTestNumber(t.coverageMin));
    }
    return QString();
}

QString TRoadTestText::Reason(const TSuggestion& s) const
{
    switch (s.kind) {
    case TSuggestionKind::DefaultPosition:
        return Text(TextIndex::DefaultPositionReason,
                    QStringLiteral("In steady closed loop the actuator settles at %1 steps."))
            .arg(RoadTestNumber(s.figure));
    case TSuggestionKind::WidenUpperLimit:
        return Text(TextIndex::WidenUpperLimitReason,
                    QStringLiteral("The actuator is held at this upper limit %1 of the closed-loop time."))
            .arg(Percent(s.figure));
    case TSuggestionKind::WidenLowerLimit:
        return Text(TextIndex::WidenLowerLimitReason,
                    QStringLiteral("The actuator is held at this lower limit %1 of the closed-loop time."))
            .arg(Percent(s.figure));
    case TSuggestionKind::InspectGasSupply:
        return Text(TextIndex::InspectGasSupplyReason,
                    QStringLiteral(
                        "The actuator is held at its upper limit %1 of the closed-loop time and the "
                        "limit can go no further: inspect the gas supply (pressure, filter, injectors)."))
            .arg(Percent(s.figure));
    case TSuggestionKind::InspectRichMixture:
        return Text(TextIndex::InspectRichMixtureReason,
                    QStringLiteral(
                        "The actuator is held at its lower limit %1 of the closed-loop time and the "
                        "limit can go no further: inspect the reducer's pressure and the injectors."))
            .arg(Percent(s.figure));
    case TSuggestionKind::InspectLambdaSensor:
        return Text(
            TextIndex::InspectLambdaSensorReason,
            QStringLiteral("The lambda sensor does not switch while the actuator is free: inspect the "
                           "sensor, its wiring and its heating."));
    case TSuggestionKind::InspectLambdaWiring:
        return Text(TextIndex::InspectLambdaWiringReason,
                    QStringLiteral("The lambda signal switches %1 times a second, faster than the loop can: "
                                   "inspect the sensor's wiring for interference."))
            .arg(RoadTestNumber(s.figure, 2));
    case TSuggestionKind::InspectSpeedSignal:
        return Text(TextIndex::InspectSpeedSignalReason,
                    QStringLiteral(
                        "The engine speed drops to 0 with the throttle open (for %1 s): inspect the "
                        "engine-speed wire and the speed signal type."))
            .arg(RoadTestNumber(s.figure));
    }
    return QString();
}

QString TRoadTestText::NoVerdict(const TRoadTestResult& result) const
{
    QString text =
        Text(TextIndex::TooLittleClosedLoop,
             QStringLiteral("Only %1 s of closed loop (engine running, warm, not at full throttle): "
                            "the check needs %2 s and gives no verdict."))
            .arg(RoadTestNumber(result.closedSeconds, 0), RoadTestNumber(m_limits.minClosedLoop, 0));
    if (result.loggedSeconds > 0 && result.highestTemperature < result.changeoverTemperature)
        text += u' ' + Text(TextIndex::ChangeoverTemperatureNotReached,
                            QStringLiteral("The engine did not reach the changeover temperature "
                                           "(highest %1 °C, changeover %2 °C)."))
                           .arg(RoadTestNumber(result.highestTemperature, 0),
                                RoadTestNumber(result.changeoverTemperature, 0));
    return text;
}
