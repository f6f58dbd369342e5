#include "support/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace {

constexpr int SignificantDigits = 15;

QChar FirstChar(const QString& text, QChar fallback)
{
    return text.isEmpty() ? fallback : text.at(0);
}

} // namespace

QChar DecimalSeparator(const QLocale& locale)
{
    return FirstChar(locale.decimalPoint(), QLatin1Char('.'));
}

QChar ThousandsSeparator(const QLocale& locale)
{
    return FirstChar(locale.groupSeparator(), QLatin1Char(','));
}

QString GeneralNumberText(double value, const QLocale& locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    // The 15 significant digits, correctly rounded, and the decimal exponent of
    // the first one: value = d.dddddddddddddd * 10^exponent.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*e", SignificantDigits - 1, std::fabs(value));
    QString digits;
    const char* p = buffer;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    }
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    const QChar separator = DecimalSeparator(locale);
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= SignificantDigits || exponent < -4) {
        text += digits.at(0);
        if (digits.size() > 1)
            text += separator + digits.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent < 0) {
        text += QLatin1Char('0') + QString(separator) + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        text += digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        text += digits.left(exponent + 1) + separator + digits.mid(exponent + 1);
    }
    return text;
}

bool ParseNumberText(const QString& text, double& value, const QLocale& locale)
{
    const QString separator = QRegularExpression::escape(QString(DecimalSeparator(locale)));
    static thread_local QString cachedSeparator;
    static thread_local QRegularExpression pattern;
    if (cachedSeparator != separator) {
        cachedSeparator = separator;
        pattern.setPattern(QStringLiteral("^[+-]?(\\d+(%1\\d*)?|%1\\d+)([eE][+-]?\\d+)?$").arg(separator));
    }
    const QString trimmed = text.trimmed();
    if (!pattern.match(trimmed).hasMatch())
        return false;

    QString cText = trimmed;
    cText.replace(DecimalSeparator(locale), QLatin1Char('.'));
    bool ok = false;
    const double parsed = cText.toDouble(&ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}
