#pragma once

// The entries of a configuration file (the encrypted container the program
// saves a unit's configuration in), read without a unit: every entry of the
// configuration section whose text is a number, by file key in upper case.

#include <QHash>
#include <QString>

namespace ConfigurationEntries {

// False, with the reason, when the file cannot be deciphered or holds no
// configuration (no configuration section, or cut short in a line).
bool Read(const QString& fileName, QHash<QString, double>& entries, QString& error);

} // namespace ConfigurationEntries
