#pragma once

// The type-ahead of the drop-down lists. Characters typed less than Interval ms
// after each other make one prefix; a longer pause starts a new one. The entry
// chosen is the first from the top that begins with the prefix, ignoring case,
// except that an entry shown which already begins with it stays: typing the
// start of the entry shown changes nothing. Without any match the shown entry
// stays as well.

#include <QStringList>
#include <functional>

class TTypeAhead {
public:
    static constexpr qint64 Interval = 500;
    // A millisecond tick count; the tests give their own.
    using TClock = std::function<qint64()>;

    TTypeAhead();

    void SetClock(TClock clock) { m_clock = std::move(clock); }
    QString Prefix() const { return m_prefix; }

    // Adds the typed text to the prefix and answers the entry to show (shown
    // when it stays).
    int Type(const QString& typed, const QStringList& entries, int shown);

private:
    TClock m_clock;
    QString m_prefix;
    qint64 m_lastTyped = 0;
};
