#include "support/TextValues.h"

#include <limits>

namespace {

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool ParseHex(QStringView digits, int& value)
{
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    quint32 result = 0;
    for (const QChar c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        result = result * 16 + static_cast<quint32>(digit);
    }
    value = static_cast<int>(result);
    return true;
}

bool ParseDecimal(QStringView text, int& value)
{
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return false;
    qint64 result = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
        result = result * 10 + (c.unicode() - u'0');
        if (result > qint64(std::numeric_limits<int>::max()) + 1)
            return false;
    }
    if (negative)
        result = -result;
    if (result > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(result);
    return true;
}

} // namespace

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlank(text.at(first)))
        ++first;
    while (last > first && IsBlank(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

bool ParseIntegerText(const QString& text, int& value)
{
    const QString trimmed = TrimBlanks(text);
    if (trimmed.startsWith(u'$'))
        return ParseHex(QStringView(trimmed).mid(1), value);
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return ParseHex(QStringView(trimmed).mid(2), value);
    return ParseDecimal(trimmed, value);
}

int IntegerTextOr(const QString& text, int defaultValue)
{
    int value = defaultValue;
    return ParseIntegerText(text, value) ? value : defaultValue;
}

QString NamedValue(const QStringList& lines, const QString& name, const QString& fallback)
{
    for (const QString& line : lines) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0 && QStringView(line).left(equals) == name)
            return line.mid(equals + 1);
    }
    return fallback;
}
