#include "support/LanguageStore.h"

#include "support/AtomicFile.h"
#include "support/TextValues.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <limits>

namespace {

QString Unescape(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (text.at(i) == u'\\' && (next == u'n' || next == u'r' || next == u'\\')) {
            result += next == u'n' ? u'\n' : next == u'r' ? u'\r' : u'\\';
            ++i;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

QString Escape(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            result += QLatin1String("\\\\");
        else if (c == u'\n')
            result += QLatin1String("\\n");
        else if (c == u'\r')
            result += QLatin1String("\\r");
        else
            result += c;
    }
    return result;
}

// A decimal number in first..last.
bool ParseInRange(const QString& text, int first, int last, int& value)
{
    bool ok = false;
    const int parsed = TrimBlanks(text).toInt(&ok, 10);
    if (!ok || parsed < first || parsed > last)
        return false;
    value = parsed;
    return true;
}

bool ParseHeaderLine(const QString& key, const QString& value, int& languages, int& strings)
{
    if (key == QLatin1String("languages"))
        return ParseInRange(value, 1, TLanguageStore::MaxLanguageCount, languages);
    if (key == QLatin1String("strings"))
        return ParseInRange(value, 1, TLanguageStore::MaxStringCount, strings);
    return false;
}

} // namespace

QString TLanguageStore::FileNameFor(const QString& libraryName)
{
    if (libraryName.isEmpty())
        return QString();
    const QFileInfo info(QString(libraryName).replace(u'\\', u'/'));
    return info.path() + u'/' + info.completeBaseName() + QLatin1String(".lng");
}

bool TLanguageStore::Load(const QString& fileName)
{
    *this = TLanguageStore();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        m_intact = false;
    else
        Parse(text);
    return true;
}

void TLanguageStore::Parse(const QString& text)
{
    int languages = 0;
    int strings = 0;
    bool inHeader = true;
    int language = -1; // the language of the string lines that follow, -1 for none
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = TrimBlanks(line.toString());
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            inHeader = false;
            language = -1;
            if (!ParseInRange(trimmed.mid(1, trimmed.size() - 2), 0, languages - 1, language))
                m_intact = false;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString key = TrimBlanks(line.left(qMax<qsizetype>(equals, 0)).toString());
        const QStringView value = line.mid(equals + 1);
        int index = 0;
        if (equals < 0) {
            m_intact = false;
        } else if (inHeader) {
            if (!ParseHeaderLine(key, value.toString(), languages, strings))
                m_intact = false;
        } else if (language >= 0) {
            // The lines under a "[k]" line found wrong are left out with it.
            if (ParseInRange(key, 0, strings - 1, index))
                SetText(language * strings + index, Unescape(value));
            else
                m_intact = false;
        }
    }
    if (languages < 1 || strings < 1) {
        m_intact = false;
        m_texts.clear();
        return;
    }
    m_languages = languages;
    m_strings = strings;
}

bool TLanguageStore::Save(const QString& fileName) const
{
    QString text = QStringLiteral("languages=%1\nstrings=%2\n").arg(m_languages).arg(m_strings);
    for (int language = 0; language < m_languages; ++language) {
        text += QStringLiteral("[%1]\n").arg(language);
        const int first = language * m_strings;
        for (auto it = m_texts.lowerBound(first); it != m_texts.end() && it.key() < first + m_strings; ++it)
            text += QString::number(it.key() - first) + u'=' + Escape(it.value()) + u'\n';
    }
    return AtomicFile::Write(fileName, text.toUtf8());
}

QString TLanguageStore::String(qint64 identifier) const
{
    return identifier < 0 || identifier > std::numeric_limits<int>::max()
               ? QString()
               : m_texts.value(static_cast<int>(identifier));
}

void TLanguageStore::SetString(qint64 identifier, const QString& text)
{
    if (identifier >= 0 && identifier < qint64(m_languages) * m_strings)
        SetText(static_cast<int>(identifier), text);
}

void TLanguageStore::SetText(int identifier, const QString& text)
{
    if (text.isEmpty())
        m_texts.remove(identifier);
    else
        m_texts.insert(identifier, text);
}
