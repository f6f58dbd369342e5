#pragma once

// The records' schema as the steps that build it: step N takes a database from
// version N-1 to N. A new version of the program appends a step, never changes
// one already released, so every database reaches the newest schema by the
// steps it has not run yet.

#include <QList>
#include <QStringList>

namespace SchemaMigrations {

// The statements of each step, the first step first, with the dialect's
// placeholders (TSqlDialect::Expand).
const QList<QStringList>& Steps();
// The version the newest step makes.
int LatestVersion();

} // namespace SchemaMigrations
