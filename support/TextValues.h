#pragma once

// Rules for settings held as text, shared by the INI store, the per-user
// settings, the translator and the texts of the map grid's dialogs.

#include <QString>
#include <QStringList>

// The text without leading and trailing blanks and control characters (every
// character up to and including the space).
QString TrimBlanks(const QString& text);

// Reads integer text as settings are written by hand or by older tools: blanks
// around it, then a decimal number with an optional sign, or a hexadecimal one
// with a "$" or "0x" prefix (up to 8 digits, taken as a 32-bit pattern, so
// "$FFFFFFFF" is -1). Anything else, or a decimal value outside the 32-bit range,
// fails and leaves value unchanged.
bool ParseIntegerText(const QString& text, int& value);

// The integer the text holds, or defaultValue when it holds none.
int IntegerTextOr(const QString& text, int defaultValue);

// The value of the first "name=value" line whose name is exactly name, or
// fallback when no line has that name.
QString NamedValue(const QStringList& lines, const QString& name, const QString& fallback);
