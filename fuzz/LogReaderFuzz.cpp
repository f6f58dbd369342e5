// The data-log reader: any file is either refused with a reason or read into
// samples whose times never go back, one value per live channel.

#include "datalog/LogReader.h"
#include "fuzz/FuzzSupport.h"

#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    QTemporaryFile file;
    if (!file.open() || file.write(FuzzBytes(data, size)) != qint64(size) || !file.flush())
        return 0;
    TLogData log;
    QString error;
    if (!LogReader::Read(file.fileName(), log, error)) {
        FuzzCheck(!error.isEmpty(), "a refused log names the reason");
        return 0;
    }
    FuzzCheck(log.samples.Channels() == LiveChannel::Count, "a value for every live channel");
    for (int row = 1; row < log.samples.Count(); ++row)
        FuzzCheck(log.samples.Time(row) >= log.samples.Time(row - 1), "the times never go back");
    return 0;
}
