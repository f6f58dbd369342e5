#pragma once

// Configuration files: the INI text of a unit's configuration inside the
// encrypted container (support/EncryptedContainer.h), and the checks every
// reader makes before it uses anything of a file.
//
// Every file the program writes ends with an integrity section after the
// configuration's own sections:
//
//     [CONTROLLO]
//     CRC32=1A2B3C4D
//
// holding the CRC-32 (zlib's) of all the text before the "[CONTROLLO]" line, in
// eight hexadecimal digits. A file written before there was one must end with
// the entry every save writes last, RIPROGRAMMAZIONE in the section COMANDI,
// followed by a line end. Either way a file cut short is refused whole.

#include "support/PlainBuffer.h"

#include <QByteArray>
#include <QString>

class QRandomGenerator;
class TUserPrompts;

// Why a configuration file was refused; Ok when it can be used.
enum class TConfigFileStatus {
    Ok,
    Missing,           // there is no file of that name
    Folder,            // the name is a folder
    Unreadable,        // the file cannot be opened or read
    TooLarge,          // the file is larger than ConfigurationFile::MaxSize
    NotAConfiguration, // no container, or no configuration section inside it
    Incomplete,        // cut short: no integrity entry, and not ending with the last entry of a save
    Damaged,           // the integrity entry does not match the text
};

namespace ConfigurationFile {

// Real configuration files are about 2 KB; anything above this is refused unread.
constexpr qint64 MaxSize = 1024 * 1024;

// Reads, deciphers and checks a configuration file. On Ok, text holds its INI
// text without the integrity section; otherwise text is null.
TConfigFileStatus Read(const QString& fileName, TPlainBuffer& text);

// Checks deciphered content as Read does (from NotAConfiguration on); on Ok,
// text holds the content without the integrity section.
TConfigFileStatus Check(const QByteArray& content, QByteArray& text);

// The text followed by a fresh integrity section; an integrity section the text
// ends with already is replaced, and a last line without a line end gets one.
QByteArray Sealed(const QByteArray& text);

// Seals the text and enciphers it into fileName, in memory (no plain copy is
// written anywhere); the file is replaced only once the new one is complete.
bool Write(const QString& fileName, const QByteArray& text, TUserPrompts* prompts = nullptr,
           QRandomGenerator* random = nullptr);

} // namespace ConfigurationFile
