#pragma once

// The encrypted container of configuration files and firmware images.
//
// Layout: the 22 ASCII bytes "ENCRYPTED_FILE_V_01.01", 16 random selector bytes
// S[0..15], a 128-byte random key area K[0..127], then the content enciphered
// with RC4; the content length is the container size minus the 166 header bytes.
// The key phrase takes, for j = 0..15 and bit b = 0..7 (least significant first),
// K[8j + b] whenever bit b of S[j] is set; the RC4 key is the 16-byte MD5 digest
// of that phrase. One keystream runs over the whole content. Everything needed to
// decipher a container is inside it.
//
// The readers hand the content out as a TPlainBuffer. DecryptImage and
// DecryptFileToBuffer do not check the magic (a container with a damaged magic
// still deciphers); DecryptContainer and DecryptStream do, without regard to
// letter case.

#include "support/PlainBuffer.h"

#include <QString>

class QIODevice;
class QRandomGenerator;
class TUserPrompts;

// Result codes of the stream operations. Hashing and keying cannot fail here, so
// the codes 3 to 6, failures of a cryptographic service, never occur.
enum class TContainerResult : quint8 {
    Success = 0,
    MissingStream = 1,  // the source or the target is null
    NotAContainer = 2,  // the source does not start with the magic and a whole header
    DecipherFailed = 7, // reading the source or writing the target failed while deciphering
    EncipherFailed = 8, // the same while enciphering; the target then holds a partial container
};

// Deciphers a whole container held in memory (a firmware image) into out.
// False, with out untouched, when image is null; false, with out null, when the
// image is shorter than the header.
bool DecryptImage(const uchar* image, qint32 size, TPlainBuffer& out);

// Deciphers a container file into out. False, with out null, when the file does
// not exist, cannot be opened or read, or is shorter than the header.
bool DecryptFileToBuffer(const QString& fileName, TPlainBuffer& out);

// Deciphers a whole container held in memory into out, after checking its magic.
// NotAContainer, with out null, when the container is shorter than the header or
// does not start with the magic.
TContainerResult DecryptContainer(const QByteArray& container, TPlainBuffer& out);

// Enciphers the whole plain file into a new container file, replacing any file of
// that name only once the container is complete, so a failure never leaves a
// truncated container behind. False, silently, when the plain file does not exist
// or either file cannot be opened; a failure while writing the container is also
// shown through prompts (when given) before false is returned. The header bytes
// come from random, or from the global generator when none is given.
bool EncryptFile(const QString& plainFileName, const QString& containerFileName,
                 TUserPrompts* prompts = nullptr, QRandomGenerator* random = nullptr);

// Enciphers content held in memory into a new container file, as EncryptFile
// does: no plain copy of the content is written anywhere.
bool EncryptToFile(const QByteArray& content, const QString& containerFileName,
                   TUserPrompts* prompts = nullptr, QRandomGenerator* random = nullptr);

// Deciphers the container read from source (from its position to its end) and
// appends the content to target. Neither device is closed.
TContainerResult DecryptStream(QIODevice* source, QIODevice* target);

// Writes a complete container to target: magic, fresh header bytes, and the
// ciphertext of source from its position to its end. Neither device is closed.
TContainerResult EncryptStream(QIODevice* source, QIODevice* target, QRandomGenerator* random = nullptr);
