#pragma once

// The texts of a road-test check: the criteria's names (the identifiers of the
// command line and their captions), the verdicts, the figures and thresholds,
// and the reasons of the suggestions. Captions come from a text source (the
// language store's road-test texts, named in support/TextIndex.h, with the
// English text as fallback); without one everything is English. Numbers have
// a point as decimal separator, as in the command line's results.

#include "roadtest/RoadTestResult.h"
#include "roadtest/RoadTestThresholds.h"

#include <QString>
#include <functional>

class TRoadTestText {
public:
    // Answers string `index` of the language store, or `english` when it has none.
    using TSource = std::function<QString(int index, const QString& english)>;

    explicit TRoadTestText(TSource source = {}, const TRoadTestThresholds& thresholds = {});

    // "rpm-signal", "warm-up", …: the identifiers of the command line.
    static QString Identifier(TCriterionId id);
    // "pass", "warn", "fail".
    static QString Identifier(TVerdict verdict);

    QString Caption(TCriterionId id) const;
    QString Verdict(TVerdict verdict) const;
    QString Figure(const TCriterionResult& criterion) const;
    QString Threshold(const TCriterionResult& criterion) const;
    QString Reason(const TSuggestion& suggestion) const;
    // Why there is no verdict.
    QString NoVerdict(const TRoadTestResult& result) const;

    // String index of the language store, or the English text.
    QString Text(int index, const QString& english) const;

private:
    TSource m_source;
    TRoadTestThresholds m_limits;
};

// A number as the results write it: at most `decimals` decimals, no trailing zeros.
QString RoadTestNumber(double value, int decimals = 1);
