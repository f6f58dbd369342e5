#pragma once

// TLogWriter writes a data log: CSV as RFC 4180 has it, UTF-8, numbers with a
// point as decimal separator. The header names the columns: "elapsed [s]"
// (seconds since the first row), "time" (ISO 8601 with milliseconds and the
// offset from UTC), one column per channel ("VALORE_LAMBDA [V]"), "mark" (1 on
// a row the user marked) and "note" (the marker's note). Every row goes to the
// file as it is written, so a crash loses nothing already handed over.

#include "datalog/LiveChannels.h"
#include "datalog/LogSample.h"

#include <QFile>
#include <QList>

namespace LogColumns {
const QString Elapsed = QStringLiteral("elapsed [s]");
const QString Time = QStringLiteral("time");
const QString Mark = QStringLiteral("mark");
const QString Note = QStringLiteral("note");
// "NAME [unit]", or the name alone for a channel without unit.
QString ChannelHeader(const TLogChannel& channel);
} // namespace LogColumns

class TLogWriter {
public:
    // The folder logs go to until the user chooses one: "TZR582 logs" in the
    // user's documents folder.
    static QString DefaultFolder();
    // A file name from the date and time the recording starts.
    static QString FileNameFor(const QDateTime& start);

    // Creates the file (replacing one of that name) and writes the header;
    // false with the reason when the file cannot be written.
    bool Open(const QString& fileName, const QList<TLogChannel>& channels, QString& error);
    bool IsOpen() const { return m_file.isOpen(); }
    QString FileName() const { return m_file.fileName(); }
    qint64 Rows() const { return m_rows; }

    // One row of the sample's values; a marked row carries mark 1 and the note.
    // False when the row could not be written (the file is then closed).
    bool Write(const TLogSample& sample, bool marked = false, const QString& note = QString());
    void Close();

private:
    QFile m_file;
    int m_channels = 0;
    qint64 m_originMs = 0;
    qint64 m_rows = 0;
};
