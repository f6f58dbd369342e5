// Configuration-file entries of every item kind and shape: the first input byte
// picks the item (shape, form, element size, sign), the rest is the INI text it
// reads its entry from. An entry the item accepts, written again in the same
// form and read by a fresh item of that shape, gives the same raw values.

#include "fuzz/FuzzSupport.h"
#include "support/MemIniData.h"
#include "tests/common/ShapedItems.h"

namespace {

constexpr ItemShape Shapes[] = {
    {0, 1, 1, -1, -1}, {0, 1, 1, 3, -1},  {0, 1, 1, 3, 2},   {1, 1, 3, -1, -1}, {1, 1, 3, 2, -1},
    {1, 1, 2, -1, 4},  {2, 1, 1, -1, -1}, {2, 1, 3, -1, -1}, {2, 3, 1, -1, -1}, {2, 2, 3, -1, -1},
};
constexpr int ShapeCount = int(sizeof Shapes / sizeof Shapes[0]);

std::unique_ptr<TOrvSerialData> MakeItem(const ItemShape& s, int length, bool isSigned)
{
    std::unique_ptr<TOrvSerialData> item = MakeShapedItem(s);
    item->SetDataLength(length);
    item->SetDataSigned(isSigned);
    return item;
}

std::vector<int> Held(TOrvSerialData* item)
{
    if (auto* number = qobject_cast<TOrvNumber*>(item))
        return {number->RawValue()};
    return static_cast<TOrvArrayData*>(item)->RawValues();
}

bool ReadEntry(TOrvSerialData& item, TCustomIniFile& ini, bool hcf)
{
    return hcf ? item.ReadFromHCFFile(&ini) : item.ReadFromFile(&ini);
}

bool WriteEntry(TOrvSerialData& item, TCustomIniFile& ini, bool hcf)
{
    return hcf ? item.WriteToHCFFile(&ini) : item.WriteToFile(&ini);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    if (size == 0)
        return 0;
    const int pick = data[0];
    const ItemShape& shape = Shapes[pick % ShapeCount];
    const bool hcf = (pick / ShapeCount) % 2;
    const int length = (pick / (2 * ShapeCount)) % 2 + 1;
    const bool isSigned = (pick / (4 * ShapeCount)) % 2;

    TPlainBuffer text(FuzzBytes(data + 1, size - 1));
    TMemIniData input(text);
    auto item = MakeItem(shape, length, isSigned);
    if (!ReadEntry(*item, input, hcf))
        return 0;

    TPlainBuffer written;
    TMemIniData output(written);
    FuzzCheck(WriteEntry(*item, output, hcf), "an item that read its entry writes it");
    output.UpdateFile();
    TMemIniData reparsed(written);
    auto copy = MakeItem(shape, length, isSigned);
    FuzzCheck(ReadEntry(*copy, reparsed, hcf), "a written entry reads back");
    FuzzCheck(Held(copy.get()) == Held(item.get()), "a written entry reads back the same raw values");
    return 0;
}
