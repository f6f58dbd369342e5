#include "link/OrvConnection.h"
#include "link/WindowMessage.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <dlfcn.h>

namespace {

// Whether a shared object of that file name is mapped into this process.
bool Mapped(const QString& fileName)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(fileName.toUtf8());
}

// Holds a fake link library loaded for the test's lifetime (through the dynamic
// loader itself, so that the component's own loading and unloading stay its own)
// and resolves its helper exports.
class FakeLibrary {
public:
    explicit FakeLibrary(const QString& dllName)
        : m_handle(dlopen(QFile::encodeName(TOrvConnection::LibraryFileFor(dllName)).constData(), RTLD_NOW))
    {
    }
    ~FakeLibrary()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    bool IsLoaded() const { return m_handle != nullptr; }
    int Count(const char* name) const
    {
        return reinterpret_cast<int (*)(const char*)>(dlsym(m_handle, "_FakeCount"))(name);
    }
    void SetConnected(bool connected) const
    {
        reinterpret_cast<void (*)(bool)>(dlsym(m_handle, "_FakeSetConnected"))(connected);
    }

private:
    void* m_handle;
};

} // namespace

class TestOrvConnection : public QObject {
    Q_OBJECT

private slots:
    void libraryFileFor_data();
    void libraryFileFor();
    void acceptsVersionFiveAndRefusesOlder_data();
    void acceptsVersionFiveAndRefusesOlder();
    void loadsOnceAndUnloadsClosingTheLink();
    void dllNameIsKeptWhileLoaded();
    void unloadWithoutLoadDoesNothing();
    void forwardsLibraryMessages();
    void lockIsReentrant();
};

void TestOrvConnection::libraryFileFor_data()
{
    QTest::addColumn<QString>("dllName");
    QTest::addColumn<QString>("expected");
    const QString bin = QCoreApplication::applicationDirPath() + '/';
    QTest::newRow("beside the program") << "FakeLinkV5.dll" << bin + "libFakeLinkV5.so";
    QTest::newRow("upper-case suffix") << "FakeLinkV5.DLL" << bin + "libFakeLinkV5.so";
    QTest::newRow("not beside the program") << "Absent.dll"
                                            << "libAbsent.so";
    QTest::newRow("folder kept") << "/opt/x/Absent.dll"
                                 << "/opt/x/libAbsent.so";
    QTest::newRow("backslash folder") << "Dir\\Absent.dll"
                                      << "Dir/libAbsent.so";
    QTest::newRow("shared object name as is") << "/opt/libX.so"
                                              << "/opt/libX.so";
    QTest::newRow("empty") << ""
                           << "";
}

void TestOrvConnection::libraryFileFor()
{
    QFETCH(QString, dllName);
    QFETCH(QString, expected);
    QCOMPARE(TOrvConnection::LibraryFileFor(dllName), expected);
}

void TestOrvConnection::acceptsVersionFiveAndRefusesOlder_data()
{
    QTest::addColumn<QString>("dllName");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("5.0.0.0") << "FakeLinkV5.dll" << true;
    QTest::newRow("4.9.9.9") << "FakeLinkV4.dll" << false;
    QTest::newRow("export missing") << "FakeLinkNoCreate.dll" << false;
    QTest::newRow("no such file") << "NoSuchLink.dll" << false;
    QTest::newRow("empty name") << "" << false;
}

void TestOrvConnection::acceptsVersionFiveAndRefusesOlder()
{
    QFETCH(QString, dllName);
    QFETCH(bool, accepted);
    TOrvConnection connection;
    connection.SetDllName(dllName);
    QCOMPARE(connection.LoadDll(), accepted);
    QCOMPARE(connection.DllLoaded(), accepted);
    QCOMPARE(connection.Instance() != nullptr, accepted);
    const QString file = TOrvConnection::LibraryFileFor(dllName).section('/', -1);
    if (!file.isEmpty())
        QCOMPARE(Mapped(file), accepted); // a refused library is freed at once
    FILE_VERSION_DATA version{};
    QCOMPARE(connection.GetDllVersion(&version), accepted);
    if (accepted) {
        QCOMPARE(version.Major, 5u);
        QVERIFY(!connection.GetDllVersion(nullptr));
    }
    // A refused library stays refused on every later call.
    QCOMPARE(connection.LoadDll(), accepted);
}

void TestOrvConnection::loadsOnceAndUnloadsClosingTheLink()
{
    const FakeLibrary fake("FakeLinkV5.dll");
    QVERIFY(fake.IsLoaded());
    auto count = [&fake](const char* name) { return fake.Count(name); };
    const int created = count("Create");

    TOrvConnection connection;
    connection.SetDllName("FakeLinkV5.dll");
    QVERIFY(connection.LoadDll());
    LinkInstance* first = connection.Instance();
    QVERIFY(connection.LoadDll());
    QCOMPARE(connection.Instance(), first);
    QCOMPARE(count("Create"), created + 1);

    // Not connected: the port is closed.
    const int closed = count("ClosePort");
    const int disconnected = count("DisconnectUnit");
    connection.UnloadDll();
    QCOMPARE(count("ClosePort"), closed + 1);
    QCOMPARE(count("DisconnectUnit"), disconnected);
    QCOMPARE(count("Destroy"), count("Create"));
    QVERIFY(!connection.DllLoaded());
    QVERIFY(!connection.Instance());

    // Connected: the unit is disconnected instead.
    QVERIFY(connection.LoadDll());
    fake.SetConnected(true);
    QVERIFY(connection.IsUnitConnected());
    connection.UnloadDll();
    QCOMPARE(count("DisconnectUnit"), disconnected + 1);
    QCOMPARE(count("ClosePort"), closed + 1);
}

void TestOrvConnection::dllNameIsKeptWhileLoaded()
{
    TOrvConnection connection;
    connection.SetDllName("FakeLinkV5.dll");
    QVERIFY(connection.LoadDll());
    connection.SetDllName("FakeLinkV4.dll");
    QCOMPARE(connection.DllName(), QStringLiteral("FakeLinkV5.dll"));
    connection.UnloadDll();
    connection.SetDllName("FakeLinkV4.dll");
    QCOMPARE(connection.DllName(), QStringLiteral("FakeLinkV4.dll"));
    QVERIFY(!connection.LoadDll());
}

void TestOrvConnection::unloadWithoutLoadDoesNothing()
{
    TOrvConnection connection;
    QCOMPARE(connection.DllName(), QStringLiteral("SerOrvDL.dll"));
    connection.UnloadDll();
    QVERIFY(!connection.DllLoaded());
    FILE_VERSION_DATA version{};
    QVERIFY(!connection.GetDllVersion(&version));
}

void TestOrvConnection::forwardsLibraryMessages()
{
    const FakeLibrary fake("FakeLinkV5.dll");
    QVERIFY(fake.IsLoaded());

    TOrvConnection connection;
    connection.SetDllName("FakeLinkV5.dll");
    QSignalSpy spy(&connection, &TOrvConnection::LinkMessage);
    QVERIFY(connection.LoadDll());
    fake.SetConnected(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), WindowMessage::WMLinkState);
    QCOMPARE(spy.at(0).at(2).value<qintptr>(), qintptr(1));

    // After unloading, the library no longer reaches the component.
    connection.UnloadDll();
    const int before = spy.count();
    fake.SetConnected(false);
    QCOMPARE(spy.count(), before);
}

void TestOrvConnection::lockIsReentrant()
{
    TOrvConnection connection;
    TConnectionLocker outer(&connection);
    TConnectionLocker inner(&connection);
    TConnectionLocker none(nullptr);
}

QTEST_GUILESS_MAIN(TestOrvConnection)
#include "tst_orvconnection.moc"
