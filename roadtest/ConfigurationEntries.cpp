#include "roadtest/ConfigurationEntries.h"

#include "items/OrvSerialData.h"
#include "support/EncryptedContainer.h"
#include "support/MemIniData.h"
#include "support/PlainBuffer.h"

#include <QStringList>

namespace ConfigurationEntries {

namespace {
const QString Section = QStringLiteral("CONFIGURAZIONE");
} // namespace

bool Read(const QString& fileName, QHash<QString, double>& entries, QString& error)
{
    TPlainBuffer buffer;
    if (!DecryptFileToBuffer(fileName, buffer)) {
        error = QStringLiteral("'%1' cannot be deciphered as a configuration file").arg(fileName);
        return false;
    }
    const TMemIniData store(buffer);
    const QByteArray content = buffer.Content();
    if (!store.SectionExists(Section) || !(content.endsWith('\n') || content.endsWith('\r'))) {
        error = QStringLiteral("'%1' holds no configuration").arg(fileName);
        return false;
    }
    QStringList keys;
    store.ReadSection(Section, keys);
    entries.clear();
    for (const QString& key : std::as_const(keys)) {
        double value = 0;
        if (IsFloatValue(store.ReadString(Section, key, QString()), value))
            entries.insert(key.toUpper(), value);
    }
    return true;
}

} // namespace ConfigurationEntries
