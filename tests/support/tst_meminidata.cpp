#include "support/MemIniData.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A store over its own buffer, loaded from 8-bit text.
struct TStore {
    explicit TStore(const QByteArray& text) : buffer(text), ini(buffer) {}
    QStringList Lines() const
    {
        QStringList lines;
        ini.GetStrings(lines);
        return lines;
    }

    TPlainBuffer buffer;
    TMemIniData ini;
};

} // namespace

class TestMemIniData : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void parse_data();
    void parse();
    void lookup_data();
    void lookup();
    void writesReachTheLastOccurrence();
    void typedValues_data();
    void typedValues();
    void typedWrites();
    void existence();
    void nullAndEmptyBuffers();
    void updateFileReplacesTheBuffer();
    void saveToFile();
    void largeGarbageParses();
};

// The store as GetStrings gives it back after parsing a text.
void TestMemIniData::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("text before the first section is ignored")
        << QByteArray("x=1\nfree text\n[A]\ny=2") << QStringList{"[A]", "y=2", ""};
    QTest::newRow("comments and blank lines are skipped, # is ordinary")
        << QByteArray("[A]\n  ; c=1\n\n \t \n#h=2") << QStringList{"[A]", "#h=2", ""};
    QTest::newRow("blanks inside brackets")
        << QByteArray("  [  Sec One  ]  \nx=1") << QStringList{"[Sec One]", "x=1", ""};
    QTest::newRow("a lone [ is an ordinary line")
        << QByteArray("[A]\n[\n[B") << QStringList{"[A]", "[", "[B", ""};
    QTest::newRow("blanks before = go, after = stay")
        << QByteArray("[A]\n  key  =  value  \n") << QStringList{"[A]", "key=  value", ""};
    QTest::newRow("only the first = splits")
        << QByteArray("[A]\na = b = c") << QStringList{"[A]", "a= b = c", ""};
    QTest::newRow("line without = kept trimmed")
        << QByteArray("[A]\n  loose  ") << QStringList{"[A]", "loose", ""};
    QTest::newRow("CR LF, CR and LF all end lines")
        << QByteArray("[A]\r\na=1\rb=2\nc=3\r\n\r\n") << QStringList{"[A]", "a=1", "b=2", "c=3", ""};
    QTest::newRow("a zero byte ends the text")
        << QByteArray("[A]\na=1\0b=2", 11) << QStringList{"[A]", "a=1", ""};
    QTest::newRow("duplicate sections are both kept")
        << QByteArray("[A]\na=1\n[B]\n[a]\na=2")
        << QStringList{"[A]", "a=1", "", "[B]", "", "[a]", "a=2", ""};
    QTest::newRow("8-bit text survives") << QByteArray("[A]\nt=\xb0"
                                                       "C\xe8")
                                         << QStringList{"[A]", "t=°Cè", ""};
}

void TestMemIniData::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    const TStore store(text);
    QCOMPARE(store.Lines(), lines);
}

void TestMemIniData::lookup_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("ident");
    QTest::addColumn<QString>("value");

    const auto row = [](const char* name, const QByteArray& text, bool caseSensitive, const QString& section,
                        const QString& ident, const QString& value) {
        QTest::newRow(name) << text << caseSensitive << section << ident << value;
    };
    const QByteArray text = "[A]\nx=1\nloose\n[B]\ny=b\n[A]\nz=later\n";
    const QString none = "<default>";
    row("found", text, false, "B", "y", "b");
    row("value keeps leading blanks", "[A]\nKey= spaced", false, "A", "Key", " spaced");
    row("a repeated section: only the later one is seen", text, false, "A", "x", none);
    row("the later one is found", text, false, "a", "z", "later");
    row("a repeated name: the later line", "[A]\nx=1\nx=2", false, "A", "x", "2");
    row("case ignored by default", text, false, "b", "Y", "b");
    row("case sensitive: other case not found", text, true, "B", "Y", none);
    row("case sensitive: section of other case not found", text, true, "b", "y", none);
    row("absent section", text, false, "C", "y", none);
    row("a line without = has no name", text, false, "A", "loose", none);
    row("empty value is a value", "[A]\nx=", false, "A", "x", "");
}

void TestMemIniData::lookup()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, section);
    QFETCH(QString, ident);
    QFETCH(QString, value);
    TStore store(text);
    store.ini.SetCaseSensitive(caseSensitive);
    QCOMPARE(store.ini.ReadString(section, ident, "<default>"), value);
}

void TestMemIniData::writesReachTheLastOccurrence()
{
    TStore store("[A]\nx=1\nx=2\n[B]\nq=0\n[a]\ny=3\ny=4\n");
    store.ini.WriteString("A", "y", "new");
    store.ini.WriteString("A", "w", " padded ");
    store.ini.WriteString("C", "c", "1");
    QCOMPARE(store.Lines(), (QStringList{"[A]", "x=1", "x=2", "", "[B]", "q=0", "", "[a]", "y=3", "y=new",
                                         "w= padded ", "", "[C]", "c=1", ""}));

    store.ini.DeleteKey("A", "Y");
    store.ini.EraseSection("a");
    store.ini.DeleteKey("absent", "x");
    store.ini.EraseSection("absent");
    QCOMPARE(store.Lines(), (QStringList{"[A]", "x=1", "x=2", "", "[B]", "q=0", "", "[C]", "c=1", ""}));

    QStringList sections{"stale"};
    store.ini.ReadSections(sections);
    QCOMPARE(sections, (QStringList{"A", "B", "C"}));
    QStringList values{"stale"};
    store.ini.ReadSectionValues("a", values);
    QCOMPARE(values, (QStringList{"x=1", "x=2"}));
    store.ini.ReadSectionValues("absent", values);
    QVERIFY(values.isEmpty());
}

void TestMemIniData::typedValues_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("integer");   // read with default 7
    QTest::addColumn<bool>("flag");     // read with default true
    QTest::addColumn<double>("number"); // read with default -1

    QTest::newRow("decimal") << "12" << 12 << true << 12.0;
    QTest::newRow("zero") << "0" << 0 << false << 0.0;
    QTest::newRow("signs") << "-5" << -5 << true << -5.0;
    QTest::newRow("plus") << "+3" << 3 << true << 3.0;
    QTest::newRow("blanks around") << " 42 " << 42 << true << 42.0;
    QTest::newRow("dollar hex") << "$1F" << 31 << true << -1.0;
    QTest::newRow("0x hex") << "0x1f" << 31 << true << -1.0;
    QTest::newRow("32-bit hex pattern") << "$FFFFFFFF" << -1 << true << -1.0;
    QTest::newRow("hex too long") << "$100000000" << 7 << true << -1.0;
    QTest::newRow("bare 0x") << "0x" << 7 << true << -1.0;
    QTest::newRow("fraction") << "0.4" << 7 << true << 0.4;
    QTest::newRow("exponent") << "1E-5" << 7 << true << 1e-5;
    QTest::newRow("word") << "abc" << 7 << true << -1.0;
    QTest::newRow("empty") << "" << 7 << true << -1.0;
    QTest::newRow("out of 32-bit range") << "2147483648" << 7 << true << 2147483648.0;
    QTest::newRow("lowest 32-bit") << "-2147483648" << int(-2147483648LL) << true << -2147483648.0;
}

void TestMemIniData::typedValues()
{
    QFETCH(QString, text);
    QFETCH(int, integer);
    QFETCH(bool, flag);
    QFETCH(double, number);
    TStore store("[S]");
    store.ini.WriteString("S", "v", text);
    QCOMPARE(store.ini.ReadInteger("S", "v", 7), integer);
    QCOMPARE(store.ini.ReadBool("S", "v", true), flag);
    QCOMPARE(store.ini.ReadFloat("S", "v", -1), number);
    // An absent entry gives the defaults.
    QCOMPARE(store.ini.ReadInteger("S", "absent", 7), 7);
    QCOMPARE(store.ini.ReadBool("S", "absent", false), false);
    QCOMPARE(store.ini.ReadFloat("S", "absent", 2.5), 2.5);
}

void TestMemIniData::typedWrites()
{
    TStore store("");
    store.ini.WriteInteger("S", "i", -3);
    store.ini.WriteBool("S", "t", true);
    store.ini.WriteBool("S", "f", false);
    store.ini.WriteFloat("S", "x", 0.4);
    store.ini.WriteFloat("S", "y", 1e-5);
    QCOMPARE(store.Lines(), (QStringList{"[S]", "i=-3", "t=1", "f=0", "x=0.4", "y=1E-5", ""}));

    QLocale::setDefault(QLocale(QLocale::Italian));
    store.ini.WriteFloat("S", "x", 0.4);
    QCOMPARE(store.ini.ReadString("S", "x", ""), "0,4");
    QCOMPARE(store.ini.ReadFloat("S", "x", 0), 0.4);
    QLocale::setDefault(QLocale::c());
}

void TestMemIniData::existence()
{
    const TStore store("[Config]\nTipo=4\nloose\n[Empty]\n");
    QVERIFY(store.ini.ValueExists("Config", "Tipo"));
    QVERIFY(store.ini.ValueExists("CONFIG", "TIPO"));
    QVERIFY(!store.ini.ValueExists("Config", "Giri"));
    QVERIFY(!store.ini.ValueExists("Other", "Tipo"));
    QVERIFY(store.ini.SectionExists("config"));
    QVERIFY(store.ini.SectionExists("Empty"));
    QVERIFY(!store.ini.SectionExists("Other"));

    QStringList names;
    store.ini.ReadSection("Config", names);
    QCOMPARE(names, (QStringList{"Tipo", ""}));
}

void TestMemIniData::nullAndEmptyBuffers()
{
    TPlainBuffer null;
    TMemIniData fromNull(null);
    QStringList sections{"stale"};
    fromNull.ReadSections(sections);
    QVERIFY(sections.isEmpty());

    TPlainBuffer empty = TPlainBuffer::WithLength(0);
    TMemIniData fromEmpty(empty);
    fromEmpty.ReadSections(sections);
    QVERIFY(sections.isEmpty());

    // Reloading follows the buffer; a null buffer clears the store.
    TStore store("[A]\nx=1");
    store.buffer.Reset();
    store.ini.LoadValues();
    QVERIFY(store.Lines().isEmpty());
}

void TestMemIniData::updateFileReplacesTheBuffer()
{
    TPlainBuffer buffer;
    TMemIniData ini(buffer);
    ini.WriteString("A", "x", "1");
    ini.UpdateFile();

    QCOMPARE(buffer.Length(), 12);
    QCOMPARE(buffer.Content(), QByteArray("[A]\r\nx=1\r\n\r\n"));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buffer.Data()), buffer.Size()),
             QByteArray("\x0c\0\0\0[A]\r\nx=1\r\n\r\n\0", 4 + 12 + 1));

    // What UpdateFile writes loads back as the same store.
    ini.WriteString("B", "y", " two");
    ini.UpdateFile();
    const TMemIniData reloaded(buffer);
    QStringList original, copy;
    ini.GetStrings(original);
    reloaded.GetStrings(copy);
    QCOMPARE(copy, original);

    // GetStrings appends; an empty store gives no lines.
    TPlainBuffer none;
    QStringList lines{"kept"};
    TMemIniData(none).GetStrings(lines);
    QCOMPARE(lines, QStringList{"kept"});
}

void TestMemIniData::saveToFile()
{
    const QTemporaryDir dir;
    const TStore store("[A]\nx=\xe8");
    const QString fileName = dir.filePath("plain.ini");
    QVERIFY(store.ini.SaveToFile(fileName));
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[A]\r\nx=\xe8\r\n\r\n"));
    QVERIFY(!store.ini.SaveToFile(dir.filePath("no/such/folder/plain.ini")));
}

void TestMemIniData::largeGarbageParses()
{
    // 10 MB of bytes drawn from the characters that steer the parser.
    const char alphabet[] = "[]=;# \t\r\nab\x01\xff";
    QRandomGenerator random(582);
    QByteArray text(10 * 1024 * 1024, '\0');
    for (char& c : text)
        c = alphabet[random.bounded(int(sizeof alphabet - 1))];
    TStore store(text);
    QStringList sections;
    store.ini.ReadSections(sections);
    QVERIFY(!sections.isEmpty());
    store.ini.UpdateFile();
    QVERIFY(store.buffer.Length() > 0);
}

QTEST_GUILESS_MAIN(TestMemIniData)
#include "tst_meminidata.moc"
