#pragma once

// Number text as the user sees it and types it.
//
// GeneralNumberText writes a number in general format: the shortest text with at
// most 15 significant digits, the locale's decimal separator, no thousands
// separators and no trailing zeros; very small (below 0.0001) and very large
// (16 or more integer digits) magnitudes take exponent form, such as 1E-5.
//
// ParseNumberText reads such text back with the locale's conversion: optional
// blanks, an optional sign, digits with at most one decimal separator and an
// optional exponent. Anything else (empty text, a lone "-", thousands
// separators) fails.
//
// Both use the default QLocale unless one is given.

#include <QLocale>
#include <QString>

QString GeneralNumberText(double value, const QLocale& locale = QLocale());
bool ParseNumberText(const QString& text, double& value, const QLocale& locale = QLocale());

// The locale's decimal separator as one character.
QChar DecimalSeparator(const QLocale& locale = QLocale());
// The locale's thousands separator as one character.
QChar ThousandsSeparator(const QLocale& locale = QLocale());
