#include "support/AtomicFile.h"

#include <QSaveFile>

namespace AtomicFile {

bool Commit(QSaveFile& file)
{
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool Write(const QString& fileName, const QByteArray& content)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size())
        file.cancelWriting();
    return Commit(file);
}

} // namespace AtomicFile
