// Runs a fuzz target over its seed corpus without libFuzzer: every file named on
// the command line, or found in a folder named there, goes once through
// LLVMFuzzerTestOneInput. A broken target stops with an abort or a failed check,
// so the ordinary test suite notices it without clang's fuzzing runtime.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

QStringList CorpusFiles(const QString& argument)
{
    const QFileInfo info(argument);
    if (!info.isDir())
        return {argument};
    QStringList files;
    const QDir folder(argument);
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
        files << folder.filePath(name);
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString& name : CorpusFiles(QString::fromLocal8Bit(argv[i]))) {
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(name));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs run\n", inputs);
    return inputs > 0 ? 0 : 1;
}
