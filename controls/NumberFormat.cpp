#include "controls/NumberFormat.h"

#include <QList>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int SignificantDigits = 15;

struct Token {
    enum Kind { Literal, Digit, Point, Exponent };
    Kind kind;
    QString text;            // Literal: the text; Exponent: "E" or "e"
    bool zero = false;       // Digit: "0" rather than "#"
    bool fraction = false;   // Digit: after the decimal separator
    bool alwaysSign = false; // Exponent: "+" rather than "-"
    int exponentWidth = 0;   // Exponent: minimum digits
};

struct Section {
    QList<Token> tokens;
    bool thousands = false;
    bool exponent = false;
    int integerPlaces = 0;
    int fractionPlaces = 0;
    int minIntegerDigits = 0;  // from the first "0" before the separator on
    int minFractionDigits = 0; // up to the last "0" after it
};

bool IsDigitPlace(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

QStringList SplitSections(const QString& pattern)
{
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        sections.last().append(c);
    }
    return sections;
}

Section ParseSection(const QString& text)
{
    Section s;
    bool seenPoint = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int end = text.indexOf(c, i + 1);
            if (end < 0)
                end = text.size();
            s.tokens.append({Token::Literal, text.mid(i + 1, end - i - 1)});
            i = end;
        } else if (IsDigitPlace(c)) {
            Token digit{Token::Digit, QString()};
            digit.zero = c == QLatin1Char('0');
            digit.fraction = seenPoint;
            s.tokens.append(digit);
        } else if (c == QLatin1Char('.')) {
            if (!seenPoint)
                s.tokens.append({Token::Point, QString()});
            seenPoint = true;
        } else if (c == QLatin1Char(',')) {
            s.thousands = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !s.exponent && i + 1 < text.size() &&
                   (text.at(i + 1) == QLatin1Char('+') || text.at(i + 1) == QLatin1Char('-'))) {
            Token exponent{Token::Exponent, QString(c)};
            exponent.alwaysSign = text.at(i + 1) == QLatin1Char('+');
            i += 2;
            while (i < text.size() && IsDigitPlace(text.at(i))) {
                ++exponent.exponentWidth;
                ++i;
            }
            --i;
            s.tokens.append(exponent);
            s.exponent = true;
        } else {
            s.tokens.append({Token::Literal, QString(c)});
        }
    }
    int integerIndex = 0;
    int fractionIndex = 0;
    int firstIntegerZero = -1;
    for (const Token& t : s.tokens) {
        if (t.kind != Token::Digit)
            continue;
        if (t.fraction) {
            ++fractionIndex;
            if (t.zero)
                s.minFractionDigits = fractionIndex;
        } else {
            if (t.zero && firstIntegerZero < 0)
                firstIntegerZero = integerIndex;
            ++integerIndex;
        }
    }
    s.integerPlaces = integerIndex;
    s.fractionPlaces = fractionIndex;
    s.minIntegerDigits = firstIntegerZero < 0 ? 0 : integerIndex - firstIntegerZero;
    return s;
}

// The magnitude's 15 significant digits and the power of ten of the first one.
QString SignificantDigitsOf(double magnitude, int& exponent)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", SignificantDigits - 1, magnitude);
    QString digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    }
    exponent = std::atoi(p + 1);
    return digits;
}

// Rounds the digit string, whose integer part is its first `point` digits, half
// away from zero to `decimals` decimals, and splits it into integer digits
// (without leading zeros) and exactly `decimals` fraction digits.
void RoundDigits(QString digits, int point, int decimals, QString& integer, QString& fraction)
{
    const int cut = point + decimals;
    if (digits.size() < cut)
        digits += QString(cut - digits.size(), QLatin1Char('0'));
    const bool up = digits.size() > cut && digits.at(cut) >= QLatin1Char('5');
    digits.truncate(cut);
    if (up) {
        int i = cut - 1;
        for (; i >= 0 && digits.at(i) == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        if (i >= 0) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
        } else {
            digits.prepend(QLatin1Char('1'));
            ++point;
        }
    }
    integer = digits.left(point);
    while (integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    fraction = digits.mid(point);
}

struct Digits {
    QString integer;
    QString fraction;
    int exponent = 0;
};

Digits PlainDigits(double magnitude, int decimals)
{
    Digits d;
    if (magnitude == 0) {
        d.fraction = QString(decimals, QLatin1Char('0'));
        return d;
    }
    int exponent = 0;
    const QString significant = SignificantDigitsOf(magnitude, exponent);
    if (exponent >= 0)
        RoundDigits(significant, exponent + 1, decimals, d.integer, d.fraction);
    else
        RoundDigits(QString(-exponent, QLatin1Char('0')) + significant, 1, decimals, d.integer, d.fraction);
    return d;
}

// One integer digit, then the fraction, times ten to the exponent.
Digits ScientificDigits(double magnitude, int decimals)
{
    Digits d;
    if (magnitude == 0) {
        d.fraction = QString(decimals, QLatin1Char('0'));
        return d;
    }
    const QString significant = SignificantDigitsOf(magnitude, d.exponent);
    RoundDigits(significant, 1, decimals, d.integer, d.fraction);
    if (d.integer.size() > 1) { // 9.99 rounded up to 10.0
        d.integer = QStringLiteral("1");
        d.fraction = QString(decimals, QLatin1Char('0'));
        ++d.exponent;
    }
    return d;
}

QString Grouped(const QString& integer, QChar separator)
{
    QString grouped;
    for (int i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % 3 == 0)
            grouped += separator;
        grouped += integer.at(i);
    }
    return grouped;
}

bool AllZero(const Digits& d)
{
    for (const QString* part : {&d.integer, &d.fraction}) {
        for (const QChar c : *part) {
            if (c != QLatin1Char('0'))
                return false;
        }
    }
    return true;
}

QString Compose(const Section& s, const Digits& d, const QLocale& locale)
{
    QString integer = d.integer;
    if (integer.size() < s.minIntegerDigits)
        integer.prepend(QString(s.minIntegerDigits - integer.size(), QLatin1Char('0')));
    QString fraction = d.fraction;
    while (fraction.size() > s.minFractionDigits && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString out;
    int integerPlace = 0;
    int fractionPlace = 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::Point:
            if (s.integerPlaces == 0) // the integer digits still have to be written
                out += integer;
            if (!fraction.isEmpty())
                out += DecimalSeparator(locale);
            break;
        case Token::Digit:
            if (t.fraction) {
                if (fractionPlace < fraction.size())
                    out += fraction.at(fractionPlace);
                ++fractionPlace;
            } else if (s.thousands) {
                if (integerPlace++ == 0)
                    out += Grouped(integer, ThousandsSeparator(locale));
            } else {
                // Digits are matched to places from the right; the first place
                // takes every digit the pattern has no place for.
                const int index = integer.size() - s.integerPlaces + integerPlace;
                if (integerPlace == 0)
                    out += integer.left(index + 1);
                else if (index >= 0)
                    out += integer.at(index);
                ++integerPlace;
            }
            break;
        case Token::Exponent: {
            out += t.text;
            if (d.exponent < 0)
                out += QLatin1Char('-');
            else if (t.alwaysSign)
                out += QLatin1Char('+');
            const QString digits = QString::number(std::abs(d.exponent));
            out += QString(qMax(0, t.exponentWidth - int(digits.size())), QLatin1Char('0')) + digits;
            break;
        }
        }
    }
    return out;
}

} // namespace

QString FormatDataNumber(double value, const QString& pattern, const QLocale& locale)
{
    if (pattern.isEmpty() || !std::isfinite(value))
        return GeneralNumberText(value, locale);

    const QStringList sections = SplitSections(pattern);
    QString chosen = sections.at(0);
    bool writeMinus = value < 0;
    if (value < 0 && sections.size() > 1 && !sections.at(1).isEmpty()) {
        chosen = sections.at(1);
        writeMinus = false;
    } else if (value == 0 && sections.size() > 2 && !sections.at(2).isEmpty()) {
        chosen = sections.at(2);
    }

    const Section section = ParseSection(chosen);
    const double magnitude = std::fabs(value);
    const Digits digits = section.exponent ? ScientificDigits(magnitude, section.fractionPlaces)
                                           : PlainDigits(magnitude, section.fractionPlaces);
    const QString text = Compose(section, digits, locale);
    return writeMinus && !AllZero(digits) ? QLatin1Char('-') + text : text;
}
