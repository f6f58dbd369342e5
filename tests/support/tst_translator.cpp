#include "support/Translator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A program folder holding a copy of the sample language store.
class TProgramFolder {
public:
    TProgramFolder() { QVERIFY(QDir(m_dir.path()).mkpath("Dizionario")); }

    // The language library name the program sets.
    QString DllName() const { return m_dir.path() + QStringLiteral("/Dizionario\\Languages.dll"); }
    QString StoreName() const { return m_dir.filePath("Dizionario/Languages.lng"); }

    void CopySample() const { QVERIFY(QFile::copy(SAMPLE_STORE, StoreName())); }
    void Write(const QByteArray& text) const
    {
        QFile file(StoreName());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray Read() const
    {
        QFile file(StoreName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// Records the missing-string questions and answers with "<id>".
struct TMissingRecorder {
    explicit TMissingRecorder(TTranslator& translator)
    {
        translator.OnMissingString = [this, &translator](QObject* sender, int id, QString& text) {
            QCOMPARE(sender, &translator);
            QVERIFY(text.isEmpty());
            asked << id;
            text = QStringLiteral("<%1>").arg(id);
        };
    }
    QList<int> asked;
};

} // namespace

class TestTranslator : public QObject {
    Q_OBJECT

private slots:
    void init();
    void loadsTheStoreBesideTheLibraryName();
    void languageSwitchAppliesCharsetAndCodePage();
    void loadingClampsTheCurrentLanguage();
    void missingStrings();
    void cutLengths_data();
    void cutLengths();
    void composedStrings_data();
    void composedStrings();
    void eightBitFormsAndFirstStrings();
    void setStringRewritesOneBlock();
    void setStringRefusals();
    void badStores_data();
    void badStores();
    void storeKeepsTextExactly();

private:
    std::unique_ptr<TProgramFolder> m_folder;
    std::unique_ptr<TTranslator> m_translator;
};

void TestTranslator::init()
{
    m_folder = std::make_unique<TProgramFolder>();
    m_folder->CopySample();
    m_translator = std::make_unique<TTranslator>();
    m_translator->SetDllName(m_folder->DllName());
}

void TestTranslator::loadsTheStoreBesideTheLibraryName()
{
    TTranslator& translator = *m_translator;
    QCOMPARE(translator.StoreFileName(), m_folder->StoreName());
    QVERIFY(!translator.IsLibraryLoaded());
    QCOMPARE(translator.MaxLanguages(), 1);
    QCOMPARE(translator.MaxStrings(), 1);

    QVERIFY(translator.LoadLanguageLibrary());
    QCOMPARE(translator.MaxLanguages(), 3);
    QCOMPARE(translator.MaxStrings(), 200);
    QCOMPARE(translator.GetString(5), "Connessione");
    QCOMPARE(translator.GetString(7), "Riga uno\nRiga due");

    translator.FreeLanguageLibrary();
    QCOMPARE(translator.MaxLanguages(), 1);
    QCOMPARE(translator.MaxStrings(), 1);
    QCOMPARE(translator.GetString(5, "none"), "none");

    // Renaming reloads only while a store is loaded.
    translator.SetDllName("elsewhere/Languages.dll");
    QVERIFY(!translator.IsLibraryLoaded());
    translator.SetDllName(m_folder->DllName());
    QVERIFY(translator.LoadLanguageLibrary());
    translator.SetDllName("elsewhere/Languages.dll");
    QVERIFY(!translator.IsLibraryLoaded());
}

void TestTranslator::languageSwitchAppliesCharsetAndCodePage()
{
    TTranslator& translator = *m_translator;
    QVERIFY(translator.LoadLanguageLibrary());
    QCOMPARE(translator.Charset(), 1);
    QCOMPARE(translator.CodePage(), 1252);

    translator.SetLinguaCorrente(2);
    QCOMPARE(translator.LinguaCorrente(), 2);
    QCOMPARE(translator.Charset(), 204);
    QCOMPARE(translator.CodePage(), 1251);
    QCOMPARE(translator.GetString(5), "Соединение");

    // String 1 of language 0 is a caption, not a number: the character set stays.
    translator.SetLinguaCorrente(0);
    QCOMPARE(translator.Charset(), 204);
    QCOMPARE(translator.CodePage(), 1252);

    translator.SetLinguaCorrente(3);
    translator.SetLinguaCorrente(-1);
    QCOMPARE(translator.LinguaCorrente(), 0);

    translator.SetCharset(3);
    QCOMPARE(translator.Charset(), 204);
    translator.SetCharset(238);
    QCOMPARE(translator.Charset(), 238);
    translator.SetCodePage(12345);
    QCOMPARE(translator.CodePage(), 1252);
    translator.SetCodePage(437);
    QCOMPARE(translator.CodePage(), 437);
}

void TestTranslator::loadingClampsTheCurrentLanguage()
{
    TTranslator& translator = *m_translator;
    QVERIFY(translator.LoadLanguageLibrary());
    translator.SetLinguaCorrente(2);
    m_folder->Write("languages=2\nstrings=10\n[1]\n5=second\n");
    QVERIFY(translator.LoadLanguageLibrary());
    QCOMPARE(translator.LinguaCorrente(), 1);
    QCOMPARE(translator.GetString(5), "second");

    // Freeing keeps the language until the next load clamps it.
    translator.FreeLanguageLibrary();
    QCOMPARE(translator.LinguaCorrente(), 1);
    QFile::remove(m_folder->StoreName());
    QVERIFY(!translator.LoadLanguageLibrary());
    QCOMPARE(translator.LinguaCorrente(), 0);
}

void TestTranslator::missingStrings()
{
    TTranslator& translator = *m_translator;
    QCOMPARE(translator.GetString(5), ""); // no store and no handler
    TMissingRecorder missing(translator);
    QVERIFY(translator.LoadLanguageLibrary());
    m_folder->Write(m_folder->Read() + "[0]\n9=\n");
    QVERIFY(translator.LoadLanguageLibrary());

    QCOMPARE(translator.GetString(4), "<4>");
    QCOMPARE(translator.GetString(9), "<9>"); // stored empty counts as missing
    QCOMPARE(translator.GetString(4, "fallback"), "fallback");
    QCOMPARE(translator.GetComposedString(4, "fallback %s", "x"), "fallback x");
    QCOMPARE(missing.asked, (QList<int>{4, 9}));

    // The index is not checked: beyond MaxStrings it reads the next language.
    QCOMPARE(translator.GetString(205), "Connection!");
    QCOMPARE(translator.GetString(-2147483647 - 1, "low"), "low");
    QCOMPARE(translator.GetString(2147483647, "high"), "high");
}

void TestTranslator::cutLengths_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fallback"); // a missing string's default text, cut alike
    QTest::newRow("cut") << 3 << "Con"
                         << "fal";
    QTest::newRow("zero: whole") << 0 << "Connessione"
                                 << "fallback";
    QTest::newRow("negative: whole") << -1 << "Connessione"
                                     << "fallback";
    QTest::newRow("longer than the string") << 50 << "Connessione"
                                            << "fallback";
}

void TestTranslator::cutLengths()
{
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QFETCH(QString, fallback);
    QVERIFY(m_translator->LoadLanguageLibrary());
    QCOMPARE(m_translator->GetString(5, maxLength), text);
    QCOMPARE(m_translator->GetString(5, "unused", maxLength), text);
    QCOMPARE(m_translator->GetString(4, "fallback", maxLength), fallback);
}

void TestTranslator::composedStrings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::newRow("first %s only") << 6 << "a.tcn" << 0 << "File a.tcn salvato in %s";
    QTest::newRow("empty parameter removes %s") << 6 << "" << 0 << "File  salvato in %s";
    QTest::newRow("no %s") << 5 << "x" << 0 << "Connessione";
    QTest::newRow("cut before composing") << 6 << "x" << 6 << "File %";
}

void TestTranslator::composedStrings()
{
    QFETCH(int, index);
    QFETCH(QString, parameter);
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QVERIFY(m_translator->LoadLanguageLibrary());
    QCOMPARE(m_translator->GetComposedString(index, parameter, maxLength), text);
}

void TestTranslator::eightBitFormsAndFirstStrings()
{
    TTranslator& translator = *m_translator;
    TMissingRecorder missing(translator);
    QVERIFY(translator.LoadLanguageLibrary());
    translator.SetLinguaCorrente(2);
    int charset = -1;
    const auto font = [&charset](int value) { charset = value; };

    QCOMPARE(translator.GetStringCP(5, font), QByteArray::fromHex("d1eee5e4e8ede5ede8e5"));
    QCOMPARE(charset, 204);
    QCOMPARE(translator.GetStringCP(4), QByteArray("<4>"));
    QCOMPARE(translator.GetStringCP(4, QByteArray("\xe0\xe1"), font), QByteArray("\xe0\xe1"));
    QCOMPARE(translator.GetFirstStringCP(2, font), QByteArray("&\xd0\xf3\xf1\xf1\xea\xe8\xe9"));

    // The display name of another language, without switching to it.
    QCOMPARE(translator.GetFirstString(1), "&English");
    QCOMPARE(translator.LinguaCorrente(), 2);

    // Out of range: the missing path, and the font is left alone.
    charset = -1;
    QCOMPARE(translator.GetFirstString(3), "<0>");
    QCOMPARE(translator.GetFirstStringCP(-1, font), QByteArray("<0>"));
    QCOMPARE(charset, -1);
    QCOMPARE(missing.asked, (QList<int>{4, 0, 0}));

    translator.SetLinguaCorrente(0);
    QCOMPARE(translator.GetStringCP(7), QByteArray("Riga uno\nRiga due"));
}

void TestTranslator::setStringRewritesOneBlock()
{
    TTranslator& translator = *m_translator;
    QVERIFY(translator.LoadLanguageLibrary());
    // String 5 of language 1 is identifier 205: block 13 holds 192 ... 207, that
    // is strings 192 ... 199 of language 0 and 0 ... 7 of language 1.
    QVERIFY(translator.SetString(5, "Connected\nnow", 1));
    QCOMPARE(translator.LinguaCorrente(), 1);
    QVERIFY(translator.IsLibraryLoaded());
    QCOMPARE(translator.GetString(5), "Connected\nnow");

    TLanguageStore written;
    QVERIFY(written.Load(m_folder->StoreName()));
    QVERIFY(written.IsIntact());
    QCOMPARE(written.String(205), "Connected\nnow");
    QCOMPARE(written.String(192), "Blocco 192");
    QCOMPARE(written.String(199), "Ultimo italiano");
    QCOMPARE(written.String(200), "&English");
    QCOMPARE(written.String(206), "File %s saved in %s");
    QCOMPARE(written.String(208), "Outside the block");
    QCOMPARE(written.String(405), "Соединение");
    QCOMPARE(written.String(193), "");

    // Without a loaded store the call loads it for itself and leaves it unloaded.
    translator.FreeLanguageLibrary();
    QVERIFY(translator.SetString(6, "Sixth", -1));
    QVERIFY(!translator.IsLibraryLoaded());
    QVERIFY(written.Load(m_folder->StoreName()));
    QCOMPARE(written.String(206), "Sixth");
}

void TestTranslator::setStringRefusals()
{
    TTranslator& translator = *m_translator;
    const QByteArray sample = m_folder->Read();
    QVERIFY(!translator.SetString(200, "x", 0));
    QVERIFY(!translator.IsLibraryLoaded());
    QVERIFY(!translator.SetString(1, "x", 3));
    QVERIFY(translator.LoadLanguageLibrary());
    QVERIFY(!translator.SetString(-1, "x", 0));
    QVERIFY(translator.IsLibraryLoaded());
    QCOMPARE(m_folder->Read(), sample);

    // A store with a line it could not read is not written back.
    const QByteArray damaged = sample + "[1]\nnot a string line\n";
    m_folder->Write(damaged);
    QVERIFY(!translator.SetString(5, "x", 1));
    QCOMPARE(m_folder->Read(), damaged);

    TTranslator noStore;
    QVERIFY(!noStore.SetString(0, "x", 0));
}

void TestTranslator::badStores_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("languages");
    QTest::addColumn<QString>("string5"); // string 5 of language 0

    QTest::newRow("sound") << QByteArray("languages=2\r\nstrings=10\r\n[0]\r\n5=five\r\n") << 2 << "five";
    QTest::newRow("empty file") << QByteArray() << 1 << "";
    QTest::newRow("no header") << QByteArray("[0]\n5=five\n") << 1 << "";
    QTest::newRow("no string count") << QByteArray("languages=2\n[0]\n5=five\n") << 1 << "";
    QTest::newRow("no languages") << QByteArray("languages=0\nstrings=10\n[0]\n5=five\n") << 1 << "";
    QTest::newRow("too many languages") << QByteArray("languages=128\nstrings=10\n[0]\n5=five\n") << 1 << "";
    QTest::newRow("count not a number") << QByteArray("languages=two\nstrings=10\n[0]\n5=five\n") << 1 << "";
    QTest::newRow("too many strings") << QByteArray("languages=1\nstrings=65537\n[0]\n5=five\n") << 1 << "";
    QTest::newRow("invalid UTF-8") << QByteArray("languages=1\nstrings=10\n[0]\n5=f\xffve\n") << 1 << "";
    QTest::newRow("bad lines are left out")
        << QByteArray(
               "languages=2\nstrings=10\nnoise\n[0]\n5=five\nsix\nx=1\n10=out\n[7]\n6=lost\n[1]\n-1=neg\n")
        << 2 << "five";
}

void TestTranslator::badStores()
{
    QFETCH(QByteArray, text);
    QFETCH(int, languages);
    QFETCH(QString, string5);
    m_folder->Write(text);
    TMissingRecorder missing(*m_translator);

    QVERIFY(m_translator->LoadLanguageLibrary());
    QCOMPARE(m_translator->MaxLanguages(), languages);
    QCOMPARE(m_translator->MaxStrings(), languages == 1 ? 1 : 10);
    QCOMPARE(m_translator->GetString(5, "<missing>"), string5.isEmpty() ? "<missing>" : string5);
    QCOMPARE(m_translator->GetString(6, "<missing>"), "<missing>");
    for (int id = 0; id < 30; ++id)
        QVERIFY(m_translator->GetString(id, "").isEmpty() || id == 5);
}

void TestTranslator::storeKeepsTextExactly()
{
    const QString texts[] = {"  blanks kept  ", "back\\slash \\n literal", "two\r\nlines", "x=y [0]",
                             QString(300, u'w')};
    TLanguageStore store;
    m_folder->Write("languages=1\nstrings=8\n");
    QVERIFY(store.Load(m_folder->StoreName()));
    for (int i = 0; i < 5; ++i)
        store.SetString(i, texts[i]);
    store.SetString(8, "beyond the store");
    QVERIFY(store.Save(m_folder->StoreName()));

    TLanguageStore reloaded;
    QVERIFY(reloaded.Load(m_folder->StoreName()));
    QVERIFY(reloaded.IsIntact());
    for (int i = 0; i < 5; ++i)
        QCOMPARE(reloaded.String(i), texts[i]);
    QCOMPARE(reloaded.String(8), "");

    // Lookups hold at most 254 characters.
    QVERIFY(m_translator->LoadLanguageLibrary());
    QCOMPARE(m_translator->GetString(4), QString(254, u'w'));
}

QTEST_GUILESS_MAIN(TestTranslator)
#include "tst_translator.moc"
