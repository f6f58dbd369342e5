#include "support/Translator.h"

#include "support/TextValues.h"

#include <QStringEncoder>
#include <algorithm>
#include <array>

namespace {

constexpr int BlockSize = 16;
constexpr std::array<int, 19> KnownCharsets = {0,   1,   2,   77,  128, 129, 130, 134, 136, 161,
                                               162, 163, 177, 178, 186, 204, 222, 238, 255};

QByteArray CodePageName(int codePage)
{
    return "CP" + QByteArray::number(codePage);
}

QString ReplaceFirstParameter(QString text, const QString& parameter)
{
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    return at < 0 ? text : text.replace(at, 2, parameter);
}

} // namespace

TTranslator::TTranslator(QObject* parent) : QObject(parent) {}

void TTranslator::SetDllName(const QString& name)
{
    if (name == m_dllName)
        return;
    m_dllName = name;
    if (IsLibraryLoaded())
        LoadLanguageLibrary();
}

bool TTranslator::LoadLanguageLibrary()
{
    FreeLanguageLibrary();
    TLanguageStore store;
    if (store.Load(StoreFileName()))
        m_store = std::move(store);
    m_linguaCorrente = std::min(m_linguaCorrente, MaxLanguages() - 1);
    return IsLibraryLoaded();
}

void TTranslator::FreeLanguageLibrary()
{
    m_store.reset();
}

void TTranslator::SetLinguaCorrente(int language)
{
    if (language < 0 || language >= MaxLanguages())
        return;
    m_linguaCorrente = language;
    SetCharset(IntegerTextOr(GetString(1, 0), m_charset));
    SetCodePage(IntegerTextOr(GetString(2, 0), m_codePage));
}

void TTranslator::SetCodePage(int codePage)
{
    if (QStringEncoder(CodePageName(codePage).constData()).isValid())
        m_codePage = codePage;
}

void TTranslator::SetCharset(int charset)
{
    if (std::find(KnownCharsets.cbegin(), KnownCharsets.cend(), charset) != KnownCharsets.cend())
        m_charset = charset;
}

QString TTranslator::GetString(int index, int maxLength)
{
    QString text = Lookup(Identifier(m_linguaCorrente, index));
    if (text.isEmpty())
        text = DoMissingString(index);
    return maxLength > 0 ? text.left(maxLength) : text;
}

QString TTranslator::GetString(int index, const QString& defaultText, int maxLength)
{
    const QString text = Lookup(Identifier(m_linguaCorrente, index));
    const QString& result = text.isEmpty() ? defaultText : text;
    return maxLength > 0 ? result.left(maxLength) : result;
}

QByteArray TTranslator::GetStringCP(int index, const TCharsetTarget& font)
{
    if (font)
        font(m_charset);
    return ToCodePage(GetString(index));
}

QByteArray TTranslator::GetStringCP(int index, const QByteArray& defaultText, const TCharsetTarget& font)
{
    if (font)
        font(m_charset);
    const QString text = Lookup(Identifier(m_linguaCorrente, index));
    return text.isEmpty() ? defaultText : ToCodePage(text);
}

QString TTranslator::GetFirstString(int language)
{
    const QString text =
        language >= 0 && language < MaxLanguages() ? Lookup(Identifier(language, 0)) : QString();
    return text.isEmpty() ? DoMissingString(0) : text;
}

QByteArray TTranslator::GetFirstStringCP(int language, const TCharsetTarget& font)
{
    if (font && language >= 0 && language < MaxLanguages())
        font(m_charset);
    return ToCodePage(GetFirstString(language));
}

QString TTranslator::GetComposedString(int index, const QString& parameter, int maxLength)
{
    return ReplaceFirstParameter(GetString(index, maxLength), parameter);
}

QString TTranslator::GetComposedString(int index, const QString& defaultText, const QString& parameter,
                                       int maxLength)
{
    return ReplaceFirstParameter(GetString(index, defaultText, maxLength), parameter);
}

bool TTranslator::SetString(int index, const QString& text, int language)
{
    const bool wasLoaded = IsLibraryLoaded();
    if (!wasLoaded && !LoadLanguageLibrary())
        return false;
    // The file is updated as it is now, and only when every line of it was
    // understood, so that writing it back loses nothing.
    TLanguageStore updated;
    const bool writable = updated.Load(StoreFileName()) && updated.IsIntact();
    const int target = language >= 0 ? language : m_linguaCorrente;
    if (!writable || index >= MaxStrings() || language >= MaxLanguages() || Identifier(target, index) < 0) {
        if (!wasLoaded)
            FreeLanguageLibrary();
        return false;
    }
    if (language >= 0)
        SetLinguaCorrente(language);

    // The block of 16 identifiers holding the string is written whole: the new
    // string at its position, every other entry as it reads now.
    const qint64 identifier = Identifier(m_linguaCorrente, index);
    const qint64 first = identifier / BlockSize * BlockSize;
    const qint64 languageStart = Identifier(m_linguaCorrente, 0);
    for (qint64 id = first; id < first + BlockSize; ++id)
        updated.SetString(id, id == identifier ? text : GetString(static_cast<int>(id - languageStart)));
    const bool saved = updated.Save(StoreFileName());

    FreeLanguageLibrary();
    const bool reloaded = !wasLoaded || LoadLanguageLibrary();
    return saved && reloaded;
}

QString TTranslator::DoMissingString(int index)
{
    QString replacement;
    if (OnMissingString)
        OnMissingString(this, index, replacement);
    return replacement;
}

qint64 TTranslator::Identifier(int language, int index) const
{
    return qint64(language) * MaxStrings() + index;
}

QString TTranslator::Lookup(qint64 identifier) const
{
    return m_store ? m_store->String(identifier).left(MaxStringLength) : QString();
}

QByteArray TTranslator::ToCodePage(const QString& text) const
{
    QStringEncoder encoder(CodePageName(m_codePage).constData());
    return encoder.isValid() ? QByteArray(encoder(text)) : text.toLatin1();
}
