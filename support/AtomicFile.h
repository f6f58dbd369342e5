#pragma once

// Every file the program writes either becomes its complete new content or
// stays exactly as it was, and a failure is reported.
//
// QSaveFile writes to a temporary file and renames it over the target on
// commit(). On Qt 6.4 commit() renames even when flushing the last buffered
// bytes fails (a full disk, a file size limit), which would replace a good file
// with a truncated one; so the buffer is flushed and checked first.

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace AtomicFile {

// Flushes what was written to file and renames it over its target; on failure
// the temporary file is discarded and the target keeps its old content.
bool Commit(QSaveFile& file);

// Writes content as the whole new content of fileName.
bool Write(const QString& fileName, const QByteArray& content);

} // namespace AtomicFile
