// The language store: any file loads; an intact store saved and loaded again
// saves byte for byte the same; the translator's lookups answer in every
// language the store declares.

#include "fuzz/FuzzSupport.h"
#include "support/LanguageStore.h"
#include "support/Translator.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// Lookups of the first strings of every language and of its last one: enough to
// reach every path of the translator without making each input slow.
void LookUp(TTranslator& translator)
{
    const int strings = std::min(translator.MaxStrings(), 32);
    for (int language = 0; language < translator.MaxLanguages(); ++language) {
        translator.GetFirstString(language);
        translator.GetFirstStringCP(language, [](int) {});
        translator.SetLinguaCorrente(language);
        for (int index = 0; index < strings; ++index) {
            translator.GetString(index, QStringLiteral("-"), TTranslator::MaxStringLength);
            translator.GetStringCP(index);
            translator.GetComposedString(index, QStringLiteral("x"));
        }
        translator.GetString(translator.MaxStrings() - 1);
    }
}

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    static const QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("Languages.lng"));
    QFile file(input);
    FuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(FuzzBytes(data, size)) == qint64(size),
              "store file written");
    file.close();

    TLanguageStore store;
    FuzzCheck(store.Load(input), "a readable file loads");
    if (store.IsIntact()) {
        const QString first = folder.filePath(QStringLiteral("first.lng"));
        const QString second = folder.filePath(QStringLiteral("second.lng"));
        FuzzCheck(store.Save(first), "an intact store saves");
        TLanguageStore reloaded;
        FuzzCheck(reloaded.Load(first) && reloaded.IsIntact(), "a saved store loads intact");
        FuzzCheck(reloaded.Save(second) && ReadAll(first) == ReadAll(second),
                  "save and reload are byte-identical");
    }

    TTranslator translator;
    translator.SetDllName(folder.filePath(QStringLiteral("Languages.dll")));
    FuzzCheck(translator.LoadLanguageLibrary(), "the translator loads a readable store");
    LookUp(translator);
    return 0;
}
