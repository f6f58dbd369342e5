// The in-memory INI store: any text parses; every name the store lists exists
// for the lookups; the store written back and parsed again is the same store;
// erasing every section it lists leaves it empty.

#include "fuzz/FuzzSupport.h"
#include "support/MemIniData.h"

namespace {

QStringList StoreLines(const TMemIniData& store)
{
    QStringList lines;
    store.GetStrings(lines);
    return lines;
}

void LookEverywhere(const TMemIniData& store)
{
    QStringList sections;
    store.ReadSections(sections);
    for (const QString& section : sections) {
        QStringList names;
        store.ReadSection(section, names);
        QStringList lines;
        store.ReadSectionValues(section, lines);
        FuzzCheck(names.size() == lines.size(), "a name for every line of a section");
        for (const QString& name : names) {
            if (name.isEmpty())
                continue;
            FuzzCheck(store.ValueExists(section, name), "every listed name exists");
            store.ReadString(section, name, QString());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    TPlainBuffer buffer(FuzzBytes(data, size));
    TMemIniData store(buffer);
    const QStringList parsed = StoreLines(store);
    LookEverywhere(store);

    store.UpdateFile();
    TMemIniData again(buffer);
    FuzzCheck(StoreLines(again) == parsed, "the store written back parses to the same store");

    QStringList sections;
    again.ReadSections(sections);
    for (const QString& section : sections)
        again.EraseSection(section);
    QStringList left;
    again.ReadSections(left);
    FuzzCheck(left.isEmpty(), "erasing every section empties the store");
    return 0;
}
