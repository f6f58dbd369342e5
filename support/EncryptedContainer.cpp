#include "support/EncryptedContainer.h"

#include "support/AtomicFile.h"
#include "support/UserPrompts.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <array>
#include <limits>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

namespace {

constexpr char Magic[] = "ENCRYPTED_FILE_V_01.01";
constexpr qint64 MagicSize = sizeof Magic - 1;
constexpr int SelectorSize = 16;
constexpr qint64 KeyMaterialSize = SelectorSize + 128;
constexpr qint64 HeaderSize = MagicSize + KeyMaterialSize;
// The format processes content 255 bytes at a time; RC4 is one keystream, so
// the chunk size changes no byte of the result, only how much is held at once.
constexpr qint64 ChunkSize = 255;

using TKeyMaterial = std::array<uint8_t, KeyMaterialSize>;

// The RC4 state keyed from a container's selector bytes and key area.
arcfour_ctx CipherFor(const TKeyMaterial& material)
{
    const uint8_t* selectors = material.data();
    const uint8_t* keyArea = material.data() + SelectorSize;
    std::array<uint8_t, KeyMaterialSize> phrase;
    size_t phraseLength = 0;
    for (int j = 0; j < SelectorSize; ++j) {
        for (int b = 0; b < 8; ++b) {
            if (selectors[j] >> b & 1)
                phrase[phraseLength++] = keyArea[8 * j + b];
        }
    }
    md5_ctx md5;
    md5_init(&md5);
    md5_update(&md5, phraseLength, phrase.data());
    uint8_t key[MD5_DIGEST_SIZE];
    md5_digest(&md5, sizeof key, key);

    arcfour_ctx cipher;
    arcfour_set_key(&cipher, sizeof key, key);
    return cipher;
}

bool ReadExactly(QIODevice& source, void* data, qint64 size)
{
    return source.read(static_cast<char*>(data), size) == size;
}

bool ReadKeyMaterial(QIODevice& source, TKeyMaterial& material)
{
    return ReadExactly(source, material.data(), KeyMaterialSize);
}

bool IsMagic(const char* magic)
{
    return qstrnicmp(magic, MagicSize, Magic, MagicSize) == 0;
}

// The readers of the application: header, then the whole ciphertext into the
// plain buffer at once, deciphered in place. The magic is checked when asked.
bool DecryptToBuffer(QIODevice& source, TPlainBuffer& out, bool checkMagic = false)
{
    out.Reset();
    char magic[MagicSize];
    TKeyMaterial material;
    const qint64 length = source.size() - HeaderSize;
    if (length < 0 || length > std::numeric_limits<qint32>::max() || !ReadExactly(source, magic, MagicSize) ||
        (checkMagic && !IsMagic(magic)) || !ReadKeyMaterial(source, material))
        return false;

    TPlainBuffer plain = TPlainBuffer::WithLength(static_cast<qint32>(length));
    if (!ReadExactly(source, plain.ContentData(), length))
        return false;
    arcfour_ctx cipher = CipherFor(material);
    arcfour_crypt(&cipher, length, plain.ContentData(), plain.ContentData());
    out = plain;
    return true;
}

// Runs the rest of source through the cipher into target, one chunk at a time.
bool CryptRest(QIODevice& source, QIODevice& target, arcfour_ctx& cipher)
{
    uint8_t chunk[ChunkSize];
    for (;;) {
        const qint64 read = source.read(reinterpret_cast<char*>(chunk), ChunkSize);
        if (read < 0)
            return false;
        if (read == 0)
            return true;
        arcfour_crypt(&cipher, read, chunk, chunk);
        if (target.write(reinterpret_cast<const char*>(chunk), read) != read)
            return false;
    }
}

bool Encipher(QIODevice& source, QIODevice& target, QRandomGenerator* random)
{
    if (!random)
        random = QRandomGenerator::global();
    TKeyMaterial material;
    for (uint8_t& byte : material)
        byte = static_cast<uint8_t>(random->generate());

    if (target.write(Magic, MagicSize) != MagicSize ||
        target.write(reinterpret_cast<const char*>(material.data()), KeyMaterialSize) != KeyMaterialSize)
        return false;
    arcfour_ctx cipher = CipherFor(material);
    return CryptRest(source, target, cipher);
}

// Enciphers an open source into a container file that replaces any file of that
// name only once it is complete.
bool EncipherToFile(QIODevice& source, const QString& containerFileName, TUserPrompts* prompts,
                    QRandomGenerator* random)
{
    QSaveFile target(containerFileName);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    if (!Encipher(source, target, random)) {
        if (prompts)
            prompts->ShowMessage(TMessageIcon::Error, QStringLiteral("Errore"),
                                 QStringLiteral("Error during Crypt."));
        return false;
    }
    return AtomicFile::Commit(target);
}

} // namespace

bool DecryptImage(const uchar* image, qint32 size, TPlainBuffer& out)
{
    if (!image)
        return false;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(image), qMax(size, 0));
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    return DecryptToBuffer(source, out);
}

bool DecryptFileToBuffer(const QString& fileName, TPlainBuffer& out)
{
    out.Reset();
    QFile source(fileName);
    return source.open(QIODevice::ReadOnly) && DecryptToBuffer(source, out);
}

TContainerResult DecryptContainer(const QByteArray& container, TPlainBuffer& out)
{
    QByteArray bytes = container;
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    return DecryptToBuffer(source, out, true) ? TContainerResult::Success : TContainerResult::NotAContainer;
}

bool EncryptFile(const QString& plainFileName, const QString& containerFileName, TUserPrompts* prompts,
                 QRandomGenerator* random)
{
    QFile source(plainFileName);
    return source.open(QIODevice::ReadOnly) && EncipherToFile(source, containerFileName, prompts, random);
}

bool EncryptToFile(const QByteArray& content, const QString& containerFileName, TUserPrompts* prompts,
                   QRandomGenerator* random)
{
    QByteArray bytes = content;
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    return EncipherToFile(source, containerFileName, prompts, random);
}

TContainerResult DecryptStream(QIODevice* source, QIODevice* target)
{
    if (!source || !target)
        return TContainerResult::MissingStream;
    char magic[MagicSize];
    TKeyMaterial material;
    if (!ReadExactly(*source, magic, MagicSize) || !IsMagic(magic) || !ReadKeyMaterial(*source, material))
        return TContainerResult::NotAContainer;
    arcfour_ctx cipher = CipherFor(material);
    return CryptRest(*source, *target, cipher) ? TContainerResult::Success : TContainerResult::DecipherFailed;
}

TContainerResult EncryptStream(QIODevice* source, QIODevice* target, QRandomGenerator* random)
{
    if (!source || !target)
        return TContainerResult::MissingStream;
    return Encipher(*source, *target, random) ? TContainerResult::Success : TContainerResult::EncipherFailed;
}
