// The language store the program ships (resources/Dizionario/Languages.lng),
// read the way the program reads it: through the translator, from the
// Dizionario folder beside the executable.

#include "support/LanguageStore.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QtTest>

namespace {

constexpr int LanguageCount = 6;
constexpr int StringsPerLanguage = 800;

QList<int> Range(int first, int last)
{
    QList<int> indexes;
    for (int i = first; i <= last; ++i)
        indexes << i;
    return indexes;
}

// Every string index the program asks for. 101, 144 and 148 are never asked for.
QList<int> UsedIndexes()
{
    return Range(0, 100) + QList<int>{102, 103, 104, 143} + Range(145, 147) + Range(149, 153) +
           QList<int>{220} + Range(300, 302) + Range(370, 374) + QList<int>{430} + Range(440, 443);
}

// The division sign between the ends of a range ("0÷5 Volt").
const QChar RangeSign(0x00F7);

// The choice lists of the configuration window: entry k of a list is string first + k.
struct TList {
    const char* name;
    int first;
    int last;
};
const TList Lists[] = {
    {"ignition type", TextIndex::FourCylinders, TextIndex::FourCylindersInjectorSignal},
    {"engine speed signal", TextIndex::RpmSignalStandard, TextIndex::RpmSignalWeak},
    {"changeover", TextIndex::ChangeoverOnDeceleration, TextIndex::ChangeoverOnAcceleration},
    {"fuel switch", TextIndex::SwitchPushButtonOnly, TextIndex::SwitchWithIndicator},
    {"level sensor", TextIndex::LevelSensorLandiRenzo, TextIndex::LevelSensor0To90Ohm},
    {"TPS", TextIndex::TpsLinear0To5Volt, TextIndex::NoTps},
    {"lambda probe", TextIndex::LambdaProbe0To1Volt, TextIndex::LambdaProbe08To16Volt},
    {"emulation", TextIndex::NoEmulation, TextIndex::CustomWaveEmulation},
};

QList<int> ListEntries()
{
    QList<int> indexes;
    for (const TList& list : Lists)
        indexes += Range(list.first, list.last);
    return indexes;
}

// The menu bar: File, Communication, Help.
const QList<int> MenuBar = {TextIndex::FileMenu, TextIndex::CommunicationMenu, TextIndex::HelpMenu};

// The one "&" marker of a text and the character it marks; -1 when none, -2 when
// the text has more than one or the marker marks nothing.
int AcceleratorAt(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    if (at < 0)
        return -1;
    if (at + 1 >= text.size() || text.indexOf(QLatin1Char('&'), at + 1) >= 0 || text.at(at + 1).isSpace())
        return -2;
    return int(at);
}

QChar Accelerator(const QString& text)
{
    const int at = AcceleratorAt(text);
    return at >= 0 ? text.at(at + 1).toLower() : QChar();
}

} // namespace

class TestLanguageStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void storeIsWholeAndClean();
    void everyUsedTextInEveryLanguage();
    void everyNamedTextInEveryLanguage();
    void languages_data();
    void languages();
    void languageAcceleratorsDiffer();
    void eightBitFormsKeepEveryCharacter();
    void textsFitTheirPlaces_data();
    void textsFitTheirPlaces();
    void listEntriesDiffer();
    void menuBarAccelerators();
    void rangesAndUnitsInEveryLanguage();
    void localeNames();

private:
    QString Text(int language, int index);

    TTranslator m_translator;
    TLanguageStore m_store;
};

void TestLanguageStore::initTestCase()
{
    // The name the program gives the language library; the store is read beside it.
    m_translator.SetDllName(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/Dizionario\\Languages.dll"));
    QVERIFY2(m_translator.LoadLanguageLibrary(), qPrintable(m_translator.StoreFileName()));
    QVERIFY(m_store.Load(m_translator.StoreFileName()));
}

QString TestLanguageStore::Text(int language, int index)
{
    m_translator.SetLinguaCorrente(language);
    return m_translator.GetString(index, QString());
}

void TestLanguageStore::storeIsWholeAndClean()
{
    // A line the store cannot understand is dropped without a word, and the
    // translator would refuse to write such a store back.
    QVERIFY(m_store.IsIntact());
    QCOMPARE(m_translator.MaxLanguages(), LanguageCount);
    QCOMPARE(m_translator.MaxStrings(), StringsPerLanguage);

    // Text as the user sees it: no stray escape, no control character but the
    // line breaks of messages, no blanks at either end, nothing the 254-character
    // lookup would cut.
    QStringList faults;
    for (int language = 0; language < LanguageCount; ++language) {
        for (int index = 0; index < StringsPerLanguage; ++index) {
            const QString text = m_store.String(qint64(language) * StringsPerLanguage + index);
            if (text.isEmpty())
                continue;
            const QString where = QStringLiteral("%1/%2").arg(language).arg(index);
            if (text.contains(QLatin1Char('\\')))
                faults << where + QStringLiteral(" backslash");
            for (QChar c : text) {
                if (c.category() == QChar::Other_Control && c != QLatin1Char('\n'))
                    faults << where + QStringLiteral(" control character");
            }
            if (text != text.trimmed())
                faults << where + QStringLiteral(" blanks at an end");
            if (text.size() > TTranslator::MaxStringLength)
                faults << where + QStringLiteral(" too long");
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::everyUsedTextInEveryLanguage()
{
    QStringList missing;
    for (int language = 0; language < LanguageCount; ++language) {
        for (int index : UsedIndexes()) {
            if (Text(language, index).isEmpty())
                missing << QStringLiteral("%1/%2").arg(language).arg(index);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing: ") + missing.join(QStringLiteral(", "))));
}

void TestLanguageStore::everyNamedTextInEveryLanguage()
{
    // support/TextIndex.h names every text the program shows: each name stands
    // for its own index, and that index has a text in every language.
    QFile header(QStringLiteral(TEXT_INDEX_HEADER));
    QVERIFY2(header.open(QIODevice::ReadOnly), TEXT_INDEX_HEADER);
    const QString source = QString::fromUtf8(header.readAll());
    const QRegularExpression constant(QStringLiteral(R"(constexpr\s+int\s+(\w+)\s*=\s*(\d+)\s*;)"));
    QHash<int, QString> names;
    QStringList faults;
    for (const QRegularExpressionMatch& match : constant.globalMatch(source)) {
        const QString name = match.captured(1);
        const int index = match.captured(2).toInt();
        if (names.contains(index))
            faults << QStringLiteral("%1 and %2 both name %3").arg(names.value(index), name).arg(index);
        names.insert(index, name);
        for (int language = 0; language < LanguageCount; ++language) {
            if (index >= StringsPerLanguage || Text(language, index).isEmpty())
                faults << QStringLiteral("%1 (%2) missing in language %3").arg(name).arg(index).arg(language);
        }
    }
    QVERIFY2(!names.isEmpty(), "no names read from " TEXT_INDEX_HEADER);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::languages_data()
{
    // The language index is stored in the user's settings and picks the flag
    // picture of the language button, so the order is fixed.
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("codePage");
    QTest::newRow("Italian") << 0 << QStringLiteral("Italiano") << 1252;
    QTest::newRow("English") << 1 << QStringLiteral("English") << 1252;
    QTest::newRow("Spanish") << 2 << QStringLiteral("Español") << 1252;
    QTest::newRow("French") << 3 << QStringLiteral("Français") << 1252;
    QTest::newRow("German") << 4 << QStringLiteral("Deutsch") << 1252;
    QTest::newRow("Russian") << 5 << QStringLiteral("Русский") << 1251;
}

void TestLanguageStore::languages()
{
    QFETCH(int, language);
    QFETCH(QString, name);
    QFETCH(int, codePage);

    // Display name with exactly one accelerator marker.
    QString display = m_translator.GetFirstString(language);
    QVERIFY2(AcceleratorAt(display) >= 0, qPrintable(display));
    QCOMPARE(display.remove(QLatin1Char('&')), name);

    // Switching to the language takes its code page; the caption (ProgramTitle) is
    // text, not a character set number, so the character set stays as it was.
    // Switching away first proves the code page comes from this language.
    m_translator.SetLinguaCorrente(language == 5 ? 0 : 5);
    const int charset = m_translator.Charset();
    m_translator.SetLinguaCorrente(language);
    QCOMPARE(m_translator.LinguaCorrente(), language);
    QCOMPARE(m_translator.CodePage(), codePage);
    QCOMPARE(m_translator.Charset(), charset);
    bool isNumber = false;
    m_translator.GetString(TextIndex::ProgramTitle, 0).toInt(&isNumber);
    QVERIFY(!isNumber);
}

void TestLanguageStore::languageAcceleratorsDiffer()
{
    // The language entries share one pop-up menu.
    QSet<QChar> seen;
    for (int language = 0; language < LanguageCount; ++language) {
        const QChar key = Accelerator(m_translator.GetFirstString(language));
        QVERIFY2(!seen.contains(key), qPrintable(m_translator.GetFirstString(language)));
        seen.insert(key);
    }
}

void TestLanguageStore::eightBitFormsKeepEveryCharacter()
{
    // The 8-bit forms convert to the language's code page; a character the code
    // page lacks would come out as a substitute. The one exception is the range
    // sign, which code page 1251 lacks; the program shows every text as wide
    // text, where it is kept.
    QStringList lost;
    for (int language = 0; language < LanguageCount; ++language) {
        m_translator.SetLinguaCorrente(language);
        QStringDecoder decoder(("CP" + QByteArray::number(m_translator.CodePage())).constData());
        QVERIFY(decoder.isValid());
        for (int index : UsedIndexes()) {
            const QString text = m_translator.GetString(index, 0);
            const QString back = decoder(m_translator.GetStringCP(index));
            QString expected = text;
            for (qsizetype i = 0; i < expected.size() && i < back.size(); ++i) {
                if (m_translator.CodePage() == 1251 && expected.at(i) == RangeSign)
                    expected[i] = back.at(i); // whatever stands in for it
            }
            if (back != expected)
                lost << QStringLiteral("%1/%2 \"%3\"").arg(language).arg(index).arg(text);
        }
        const QString name = m_translator.GetFirstString(language);
        if (QString(decoder(m_translator.GetFirstStringCP(language))) != name)
            lost << name;
    }
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(QStringLiteral(", "))));
}

void TestLanguageStore::textsFitTheirPlaces_data()
{
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<bool>("lineBreaks");

    // The four large entries of the main menu and its title.
    QTest::newRow("main menu") << QList<int>{3, 4, 5, 6, 7, 143} << 30 << false;
    // Captions: the column of labels, the status bar, page tabs, check boxes,
    // menu bar and window captions, the wave dialog.
    QTest::newRow("captions") << (QList<int>{1, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 23, 24, 25, 26, 27, 34,
                                             37} +
                                  Range(40, 44) + QList<int>{47, 51, 58, 65} + Range(69, 89) +
                                  QList<int>{92, 93, 95, 97, 98, 99, 100, 103, 104, 302})
                              << 40 << false;
    // Entries of the 250-pixel lists: about 30 characters of the bold font.
    QTest::newRow("list entries") << ListEntries() << 30 << false;
    // The one-line message of the wait window.
    QTest::newRow("wait messages") << QList<int>{20, 90, 91, 147, 150, 151, 152} << 55 << false;
    // Follows "100% " on the wait window's percentage line.
    QTest::newRow("percentage line") << QList<int>{21} << 20 << false;
    // Message boxes; 17 and 18 also stand as lines of one message.
    QTest::newRow("messages") << QList<int>{17, 18, 22, 94, 96, 102, 145, 146, 149, 153, 300, 301}
                              << int(TTranslator::MaxStringLength) << true;
}

void TestLanguageStore::textsFitTheirPlaces()
{
    QFETCH(QList<int>, indexes);
    QFETCH(int, maxLength);
    QFETCH(bool, lineBreaks);

    QStringList faults;
    for (int language = 0; language < LanguageCount; ++language) {
        for (int index : indexes) {
            const QString text = Text(language, index);
            if (text.size() > maxLength || (!lineBreaks && text.contains(QLatin1Char('\n'))))
                faults << QStringLiteral("%1/%2 \"%3\"").arg(language).arg(index).arg(text);
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::listEntriesDiffer()
{
    QStringList faults;
    for (int language = 0; language < LanguageCount; ++language) {
        for (const TList& list : Lists) {
            QSet<QString> seen;
            for (int index = list.first; index <= list.last; ++index) {
                const QString text = Text(language, index);
                if (seen.contains(text))
                    faults
                        << QStringLiteral("%1 %2: \"%3\"").arg(language).arg(QLatin1String(list.name), text);
                seen.insert(text);
            }
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::menuBarAccelerators()
{
    // At most one marker per menu bar entry, and no two entries with the same key.
    QStringList faults;
    for (int language = 0; language < LanguageCount; ++language) {
        QSet<QChar> seen;
        for (int index : MenuBar) {
            const QString text = Text(language, index);
            const QChar key = Accelerator(text);
            if (AcceleratorAt(text) == -2 || (!key.isNull() && seen.contains(key)))
                faults << QStringLiteral("%1/%2 \"%3\"").arg(language).arg(index).arg(text);
            if (!key.isNull())
                seen.insert(key);
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::rangesAndUnitsInEveryLanguage()
{
    // A range is written with the division sign in every language, as in the
    // Italian texts; the Russian texts give volts as "В".
    QStringList faults;
    for (int index : UsedIndexes()) {
        const bool range = Text(0, index).contains(RangeSign);
        for (int language = 1; language < LanguageCount; ++language) {
            const QString text = Text(language, index);
            if (range && !text.contains(RangeSign))
                faults << QStringLiteral("%1/%2 \"%3\"").arg(language).arg(index).arg(text);
        }
        const QString russian = Text(5, index);
        if (russian.contains(QStringLiteral("Volt"), Qt::CaseInsensitive) ||
            (range && !russian.contains(QStringLiteral(" В"))))
            faults << QStringLiteral("5/%1 \"%2\"").arg(index).arg(russian);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
}

void TestLanguageStore::localeNames()
{
    // LocaleName names the locale whose toolkit texts go with the language.
    const char* locales[] = {"it", "en", "es", "fr", "de", "ru"};
    for (int language = 0; language < LanguageCount; ++language)
        QCOMPARE(Text(language, TextIndex::LocaleName), QString::fromLatin1(locales[language]));
}

QTEST_GUILESS_MAIN(TestLanguageStore)
#include "tst_languagestore.moc"
