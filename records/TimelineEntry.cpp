#include "records/TimelineEntry.h"

namespace {

struct TKindFacts {
    TTimelineKind kind;
    const char* name;
    TTimelineGroup group;
};

const TKindFacts Kinds[] = {
    {TTimelineKind::Connect, "connect", TTimelineGroup::Other},
    {TTimelineKind::Save, "save", TTimelineGroup::Configurations},
    {TTimelineKind::Load, "load", TTimelineGroup::Configurations},
    {TTimelineKind::Restore, "restore", TTimelineGroup::Configurations},
    {TTimelineKind::Backup, "backup", TTimelineGroup::Backups},
    {TTimelineKind::Erase, "erase", TTimelineGroup::Other},
    {TTimelineKind::Log, "log", TTimelineGroup::Logs},
    {TTimelineKind::Firmware, "firmware", TTimelineGroup::Other},
    {TTimelineKind::Check, "check", TTimelineGroup::Checks},
    {TTimelineKind::Report, "report", TTimelineGroup::Checks},
    {TTimelineKind::Note, "note", TTimelineGroup::Notes},
    {TTimelineKind::Edit, "edit", TTimelineGroup::Other},
    {TTimelineKind::Configuration, "configuration", TTimelineGroup::Configurations},
};

} // namespace

QString TimelineKinds::Name(TTimelineKind kind)
{
    for (const TKindFacts& facts : Kinds) {
        if (facts.kind == kind)
            return QLatin1String(facts.name);
    }
    return QString();
}

bool TimelineKinds::FromName(const QString& name, TTimelineKind& kind)
{
    for (const TKindFacts& facts : Kinds) {
        if (name == QLatin1String(facts.name)) {
            kind = facts.kind;
            return true;
        }
    }
    return false;
}

TTimelineGroup TimelineKinds::Group(TTimelineKind kind)
{
    for (const TKindFacts& facts : Kinds) {
        if (facts.kind == kind)
            return facts.group;
    }
    return TTimelineGroup::Other;
}

bool TimelineKinds::HoldsConfiguration(TTimelineKind kind)
{
    return Group(kind) == TTimelineGroup::Configurations || kind == TTimelineKind::Backup;
}

QList<TTimelineKind> TimelineKinds::InGroup(TTimelineGroup group)
{
    QList<TTimelineKind> kinds;
    for (const TKindFacts& facts : Kinds) {
        if (facts.group == group)
            kinds << facts.kind;
    }
    return kinds;
}
