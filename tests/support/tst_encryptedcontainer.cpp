#include "support/EncryptedContainer.h"
#include "support/UserPrompts.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray Magic = "ENCRYPTED_FILE_V_01.01";
constexpr int HeaderSize = 166;

// Records the messages shown; the container never asks or waits.
class TRecordingPrompts : public TUserPrompts {
public:
    QStringList messages;

    void ShowMessage(TMessageIcon icon, const QString& caption, const QString& text) override
    {
        messages
            << QStringLiteral("%1|%2|%3").arg(icon == TMessageIcon::Error ? "error" : "plain", caption, text);
    }
    bool AskYesNo(TMessageIcon, const QString&, const QString&, bool) override { return false; }
    void Wait(int) override {}
    void SetBusyCursor(bool) override {}
    std::unique_ptr<TWaitWindow> CreateWaitWindow() override { return nullptr; }
    bool UpgradeBootLoaderChecked() override { return false; }
};

// The header of the reference vectors: h[i] = (37 i + 11) mod 256, with the
// selector bytes optionally replaced by a fixed value.
QByteArray ReferenceHeader(int selectorFill = -1)
{
    QByteArray header;
    for (int i = 0; i < 144; ++i)
        header.append(static_cast<char>((37 * i + 11) % 256));
    if (selectorFill >= 0)
        header.replace(0, 16, QByteArray(16, static_cast<char>(selectorFill)));
    return header;
}

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 256);
    return bytes;
}

bool Decrypt(const QByteArray& container, TPlainBuffer& out)
{
    return DecryptImage(reinterpret_cast<const uchar*>(container.constData()), container.size(), out);
}

// The stream operations over byte arrays.
TContainerResult DecryptBytes(const QByteArray& container, QByteArray& content)
{
    QBuffer source;
    source.setData(container);
    source.open(QIODevice::ReadOnly);
    QBuffer target(&content);
    target.open(QIODevice::WriteOnly);
    return DecryptStream(&source, &target);
}

QByteArray EncryptBytes(const QByteArray& content, QRandomGenerator* random = nullptr)
{
    QBuffer source;
    source.setData(content);
    source.open(QIODevice::ReadOnly);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    return EncryptStream(&source, &target, random) == TContainerResult::Success ? target.data()
                                                                                : QByteArray();
}

QByteArray WriteFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(fileName));
    return bytes;
}

QByteArray ReadFile(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEncryptedContainer : public QObject {
    Q_OBJECT

private slots:
    void referenceVectors_data();
    void referenceVectors();
    void roundTrip_data();
    void roundTrip();
    void changedCiphertextByteChangesOneContentByte();
    void magicCheckedByTheStreamAndContainerReaders();
    void shortMissingAndNullInputsFail();
    void failedEncryptionKeepsExistingFile();

private:
    QTemporaryDir m_dir;
};

// Containers deciphered by an independent implementation of the format.
void TestEncryptedContainer::referenceVectors_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QByteArray>("ciphertext");

    QTest::newRow("mixed selector bits")
        << ReferenceHeader()
        << QByteArray::fromHex(
               "b7d15651205d9ea8380814ba40552f42486b657031f16e6a47f0ce19985b5beb5a3b7791541986");
    QTest::newRow("no selector bit: empty key phrase")
        << ReferenceHeader(0x00)
        << QByteArray::fromHex(
               "3e2f9c35f2d046715fde5546f68bc200169d48be46bed4a20f9ef1c4e36c7e398a205e6efe3b41");
    QTest::newRow("every selector bit: whole key area")
        << ReferenceHeader(0xFF)
        << QByteArray::fromHex(
               "c756f7e6acbe94fdc4927c0ba60689bbe78935080090b14114c8f2ab851ea8e5f7a507a2145956");
}

void TestEncryptedContainer::referenceVectors()
{
    QFETCH(QByteArray, header);
    QFETCH(QByteArray, ciphertext);
    const QByteArray content = "[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=4\r\n\r\n";
    const QByteArray container = Magic + header + ciphertext;

    TPlainBuffer plain;
    QVERIFY(Decrypt(container, plain));
    QCOMPARE(plain.Content(), content);
    // The plain layout: 32-bit little-endian length, then the content.
    QCOMPARE(plain.Size(), qsizetype(4 + content.size()));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(plain.Data()), 4), QByteArray::fromHex("27000000"));

    const QString fileName = m_dir.filePath("reference.tcn");
    WriteFile(fileName, container);
    TPlainBuffer fromFile;
    QVERIFY(DecryptFileToBuffer(fileName, fromFile));
    QCOMPARE(fromFile.Content(), content);

    QByteArray streamed;
    QCOMPARE(DecryptBytes(container, streamed), TContainerResult::Success);
    QCOMPARE(streamed, content);
}

void TestEncryptedContainer::roundTrip_data()
{
    QTest::addColumn<int>("size");
    // Around the 255-byte chunks the format is processed in.
    for (int size : {0, 1, 254, 255, 256, 510, 511, 100000})
        QTest::addRow("%d bytes", size) << size;
}

void TestEncryptedContainer::roundTrip()
{
    QFETCH(int, size);
    const QByteArray content = WriteFile(m_dir.filePath("plain.ini"), Pattern(size));
    const QString containerName = m_dir.filePath("round.tcn");
    QRandomGenerator random(size + 1);

    QVERIFY(EncryptFile(m_dir.filePath("plain.ini"), containerName, nullptr, &random));
    const QByteArray container = ReadFile(containerName);
    QCOMPARE(container.size(), HeaderSize + size);
    QVERIFY(container.startsWith(Magic));
    if (size > 16)
        QVERIFY(container.mid(HeaderSize) != content);
    TPlainBuffer plain;
    QVERIFY(DecryptFileToBuffer(containerName, plain));
    QCOMPARE(plain.Length(), size);
    QCOMPARE(plain.Content(), content);

    // The stream operations write and read the same format.
    const QByteArray enciphered = EncryptBytes(content, &random);
    QCOMPARE(enciphered.size(), HeaderSize + size);
    QVERIFY(Decrypt(enciphered, plain));
    QCOMPARE(plain.Content(), content);
}

void TestEncryptedContainer::changedCiphertextByteChangesOneContentByte()
{
    const QByteArray content = WriteFile(m_dir.filePath("plain.ini"), Pattern(600));
    QVERIFY(EncryptFile(m_dir.filePath("plain.ini"), m_dir.filePath("one.tcn")));
    QByteArray container = ReadFile(m_dir.filePath("one.tcn"));
    container[HeaderSize + 300] = static_cast<char>(container.at(HeaderSize + 300) ^ 0x5A);

    TPlainBuffer plain;
    QVERIFY(Decrypt(container, plain));
    QByteArray expected = content;
    expected[300] = static_cast<char>(expected.at(300) ^ 0x5A);
    QCOMPARE(plain.Content(), expected);
}

void TestEncryptedContainer::magicCheckedByTheStreamAndContainerReaders()
{
    const QByteArray enciphered = EncryptBytes(Pattern(40));
    QByteArray content;
    TPlainBuffer plain;

    QByteArray lowerCase = enciphered;
    lowerCase.replace(0, Magic.size(), Magic.toLower());
    QCOMPARE(DecryptBytes(lowerCase, content), TContainerResult::Success);
    QCOMPARE(content, Pattern(40));

    QByteArray damaged = enciphered;
    damaged[5] = 'X';
    QVERIFY(Decrypt(damaged, plain));
    QCOMPARE(plain.Content(), Pattern(40));
    content.clear();
    QCOMPARE(DecryptBytes(damaged, content), TContainerResult::NotAContainer);
    QVERIFY(content.isEmpty());
    // A whole magic but a short header is not a container either.
    QCOMPARE(DecryptBytes(Magic + QByteArray(100, 'k'), content), TContainerResult::NotAContainer);

    // The container reader of configuration files checks it too.
    QCOMPARE(DecryptContainer(lowerCase, plain), TContainerResult::Success);
    QCOMPARE(plain.Content(), Pattern(40));
    QCOMPARE(DecryptContainer(damaged, plain), TContainerResult::NotAContainer);
    QVERIFY(plain.IsNull());
    QCOMPARE(DecryptContainer(Magic + QByteArray(100, 'k'), plain), TContainerResult::NotAContainer);
}

void TestEncryptedContainer::shortMissingAndNullInputsFail()
{
    TPlainBuffer plain(QByteArray("left alone"));
    QVERIFY(!DecryptImage(nullptr, 200, plain));
    QCOMPARE(plain.Content(), QByteArray("left alone"));

    // Shorter than the header: refused, and no buffer is handed out.
    const QByteArray shortImage = Magic + QByteArray(143, 'k');
    QVERIFY(!Decrypt(shortImage, plain));
    QVERIFY(plain.IsNull());
    plain = TPlainBuffer(QByteArray("x"));
    QVERIFY(!DecryptImage(reinterpret_cast<const uchar*>(shortImage.constData()), -1, plain));
    QVERIFY(plain.IsNull());

    // An exactly header-sized container holds empty content.
    QVERIFY(Decrypt(Magic + ReferenceHeader(), plain));
    QCOMPARE(plain.Length(), 0);
    QCOMPARE(plain.Size(), qsizetype(4));

    WriteFile(m_dir.filePath("short.tcn"), shortImage);
    plain = TPlainBuffer(QByteArray("x"));
    QVERIFY(!DecryptFileToBuffer(m_dir.filePath("short.tcn"), plain));
    QVERIFY(plain.IsNull());
    QVERIFY(!DecryptFileToBuffer(m_dir.filePath("absent.tcn"), plain));
    QVERIFY(!DecryptFileToBuffer(m_dir.path(), plain));

    TRecordingPrompts prompts;
    QVERIFY(!EncryptFile(m_dir.filePath("absent.ini"), m_dir.filePath("new.tcn"), &prompts));
    QVERIFY(!QFile::exists(m_dir.filePath("new.tcn")));
    WriteFile(m_dir.filePath("plain.ini"), "x=1");
    QVERIFY(!EncryptFile(m_dir.filePath("plain.ini"), m_dir.filePath("no/such/folder.tcn"), &prompts));
    QVERIFY(prompts.messages.isEmpty());

    QBuffer device;
    QCOMPARE(DecryptStream(nullptr, &device), TContainerResult::MissingStream);
    QCOMPARE(DecryptStream(&device, nullptr), TContainerResult::MissingStream);
    QCOMPARE(EncryptStream(nullptr, &device), TContainerResult::MissingStream);
    QCOMPARE(EncryptStream(&device, nullptr), TContainerResult::MissingStream);
}

void TestEncryptedContainer::failedEncryptionKeepsExistingFile()
{
    // Reading the process's own memory at address 0 opens but fails with an I/O error.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFile::exists(unreadable))
        QSKIP("needs /proc/self/mem");
    const QTemporaryDir dir;
    const QString target = dir.filePath("kept.tcn");
    WriteFile(target, "previous container");
    TRecordingPrompts prompts;

    QVERIFY(!EncryptFile(unreadable, target, &prompts));
    QCOMPARE(ReadFile(target), QByteArray("previous container"));
    QCOMPARE(prompts.messages, QStringList{"error|Errore|Error during Crypt."});
    // No partial container is left beside it either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.tcn"});
}

QTEST_GUILESS_MAIN(TestEncryptedContainer)
#include "tst_encryptedcontainer.moc"
