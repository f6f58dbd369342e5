#include "support/ConfigurationFile.h"

#include "support/EncryptedContainer.h"
#include "support/MemIniData.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <zlib.h>

namespace {

const QByteArray IntegrityHeader = QByteArrayLiteral("[CONTROLLO]");
const QString ConfigurationSection = QStringLiteral("CONFIGURAZIONE");

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Where the integrity section starts: its header at the start of a line, the
// last such; -1 when there is none.
qsizetype IntegrityStart(const QByteArray& content)
{
    qsizetype at = content.lastIndexOf(IntegrityHeader);
    while (at > 0 && !IsLineEnd(content.at(at - 1)))
        at = content.lastIndexOf(IntegrityHeader, at - 1);
    return at;
}

QByteArray Crc32Text(const QByteArray& text)
{
    const auto* bytes = reinterpret_cast<const Bytef*>(text.constData());
    const uLong crc = crc32_z(crc32_z(0, nullptr, 0), bytes, size_t(text.size()));
    return QByteArray::number(quint32(crc), 16).toUpper().rightJustified(8, '0');
}

// The integrity section from its header on: one CRC32 entry, then blank lines
// only. Damaged when something else follows a whole entry, Incomplete when the
// entry itself is cut short or missing.
TConfigFileStatus CheckIntegrity(const QByteArray& body, const QByteArray& section)
{
    static const QRegularExpression entry(QStringLiteral("\\A\\[CONTROLLO\\](?:\\r\\n|\\r|\\n)"
                                                         "CRC32=([0-9A-Fa-f]{8})(?:\\r\\n|\\r|\\n)"));
    const QString text = QString::fromLatin1(section);
    const QRegularExpressionMatch match = entry.match(text);
    if (!match.hasMatch())
        return TConfigFileStatus::Incomplete;
    if (!text.mid(match.capturedLength()).trimmed().isEmpty())
        return TConfigFileStatus::Damaged;
    return match.captured(1).toUpper().toLatin1() == Crc32Text(body) ? TConfigFileStatus::Ok
                                                                     : TConfigFileStatus::Damaged;
}

// Whether the text from an integrity header on holds nothing but the header, a
// CRC32 entry (whatever its value) and blank lines.
bool IsIntegrityOnly(const QByteArray& section)
{
    const QList<QByteArray> lines = section.mid(IntegrityHeader.size()).split('\n');
    return std::all_of(lines.cbegin(), lines.cend(), [](const QByteArray& line) {
        const QByteArray entry = line.trimmed();
        return entry.isEmpty() || entry.toUpper().startsWith("CRC32=");
    });
}

// A file without an integrity section is whole when its last line, ended by a
// line end, is the RIPROGRAMMAZIONE entry of the section COMANDI: every save
// writes that entry last.
bool EndsWithTheLastEntryOfASave(const QByteArray& content)
{
    if (content.isEmpty() || !IsLineEnd(content.back()))
        return false;
    QString section;
    QString lastLine;
    QString lastSection;
    for (const QByteArray& rawLine : content.split('\n')) {
        for (const QByteArray& part : rawLine.split('\r')) {
            const QString line = QString::fromLatin1(part).trimmed();
            if (line.isEmpty() || line.startsWith(u';'))
                continue;
            if (line.startsWith(u'[') && line.endsWith(u']'))
                section = line.mid(1, line.size() - 2).trimmed();
            lastLine = line;
            lastSection = section;
        }
    }
    static const QRegularExpression entry(QStringLiteral("\\ARIPROGRAMMAZIONE\\s*=\\s*\\d+\\z"),
                                          QRegularExpression::CaseInsensitiveOption);
    return lastSection.compare(QLatin1String("COMANDI"), Qt::CaseInsensitive) == 0 &&
           entry.match(lastLine).hasMatch();
}

bool HasConfigurationSection(const QByteArray& text)
{
    TPlainBuffer buffer(text);
    return TMemIniData(buffer).SectionExists(ConfigurationSection);
}

} // namespace

namespace ConfigurationFile {

TConfigFileStatus Read(const QString& fileName, TPlainBuffer& text)
{
    text.Reset();
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists())
        return TConfigFileStatus::Missing;
    if (info.isDir())
        return TConfigFileStatus::Folder;
    if (info.size() > MaxSize)
        return TConfigFileStatus::TooLarge;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return TConfigFileStatus::Unreadable;
    // At most one byte more than allowed: a file that grew since, or a device
    // that reports no size, is not read to its end.
    const QByteArray container = file.read(MaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return TConfigFileStatus::Unreadable;
    if (container.size() > MaxSize)
        return TConfigFileStatus::TooLarge;
    TPlainBuffer plain;
    if (DecryptContainer(container, plain) != TContainerResult::Success)
        return TConfigFileStatus::NotAConfiguration;
    QByteArray body;
    const TConfigFileStatus status = Check(plain.Content(), body);
    if (status == TConfigFileStatus::Ok)
        text = TPlainBuffer(body);
    return status;
}

TConfigFileStatus Check(const QByteArray& content, QByteArray& text)
{
    text.clear();
    const qsizetype integrity = IntegrityStart(content);
    const QByteArray body = integrity < 0 ? content : content.left(integrity);
    if (integrity >= 0) {
        const TConfigFileStatus status = CheckIntegrity(body, content.mid(integrity));
        if (status != TConfigFileStatus::Ok)
            return status;
    }
    if (!HasConfigurationSection(body))
        return TConfigFileStatus::NotAConfiguration;
    if (integrity < 0 && !EndsWithTheLastEntryOfASave(body))
        return TConfigFileStatus::Incomplete;
    text = body;
    return TConfigFileStatus::Ok;
}

QByteArray Sealed(const QByteArray& text)
{
    const qsizetype integrity = IntegrityStart(text);
    QByteArray body = integrity < 0 || !IsIntegrityOnly(text.mid(integrity)) ? text : text.left(integrity);
    if (!body.isEmpty() && !IsLineEnd(body.back()))
        body += "\r\n";
    return body + IntegrityHeader + "\r\nCRC32=" + Crc32Text(body) + "\r\n";
}

bool Write(const QString& fileName, const QByteArray& text, TUserPrompts* prompts, QRandomGenerator* random)
{
    return EncryptToFile(Sealed(text), fileName, prompts, random);
}

} // namespace ConfigurationFile
