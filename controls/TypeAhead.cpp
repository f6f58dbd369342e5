#include "controls/TypeAhead.h"

#include <chrono>

namespace {

qint64 SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TTypeAhead::TTypeAhead() : m_clock(SteadyMilliseconds) {}

int TTypeAhead::Type(const QString& typed, const QStringList& entries, int shown)
{
    const qint64 now = m_clock();
    if (now - m_lastTyped >= Interval)
        m_prefix.clear();
    m_prefix += typed;
    m_lastTyped = now;

    auto matches = [this](const QString& entry) { return entry.startsWith(m_prefix, Qt::CaseInsensitive); };
    if (shown >= 0 && shown < entries.size() && matches(entries.at(shown)))
        return shown;
    for (int i = 0; i < entries.size(); ++i) {
        if (matches(entries.at(i)))
            return i;
    }
    return shown;
}
