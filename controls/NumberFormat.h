#pragma once

// Number text of the labels and the map grid.
//
// FormatDataNumber writes a number by a format pattern; an empty pattern gives
// the general number text (GeneralNumberText). In a pattern:
//   0        a digit of the number, or "0" where the number has none
//   #        a digit of the number, or nothing
//   .        the decimal separator (the locale's); only the first one counts
//   ,        anywhere: group the integer digits by thousands (the locale's separator)
//   E+ E- e+ e-  exponent form; the digit positions after it give the exponent's
//            minimum width; "+" always writes the exponent's sign, "-" only a minus
//   '...' "..."  literal text, written without the quotes
//   ;        separates up to three sections: positive;negative;zero. With one
//            section negative numbers take a minus in front; a negative section
//            is used instead, without a minus
// Any other character is written as it is. The number is rounded half away
// from zero to as many decimals as there are digit positions after the decimal
// separator; integer digits beyond the pattern's digit positions are all written.

#include "support/NumberText.h"

#include <QLocale>
#include <QString>

QString FormatDataNumber(double value, const QString& pattern, const QLocale& locale = QLocale());
