// A whole configuration file loaded by the data module into the simulated unit.
// The input is the file's INI text, put into a container as the program saves
// it (with its integrity section, so that the load reads the text whole).
// Whatever the text, the load must not crash, and every parameter of the unit
// that changed must hold a value its item allows: inside the catalogue's range,
// or an over-speed "off" value.

#include "fuzz/FuzzSupport.h"
#include "items/OrvNumber.h"
#include "model/Catalogue.h"
#include "model/QuietPrompts.h"
#include "model/SerialDataModule.h"
#include "support/ConfigurationFile.h"
#include "tests/common/SimUnit.h"

#include <QHash>
#include <QTemporaryDir>

namespace {

// Quiet prompts without the rules' pauses (the simulated unit needs none): a
// pause per actuator read would make each input take seconds.
class NoPausePrompts final : public TQuietPrompts {
public:
    void Wait(int) override {}
};

// The over-speed may also be "off": 12000 or 20000 RPM, as near as the
// ignition type's scale can hold them (20000 reads 19200 on some scales).
bool OverSpeedOff(TOrvNumber& item)
{
    const bool saved = item.DisableLimits();
    item.SetDisableLimits(true);
    const int raw = item.RawValue();
    int current = raw;
    const bool off =
        raw == item.ConvertValueToEcu(12000, &current) || raw == item.ConvertValueToEcu(20000, &current);
    item.SetDisableLimits(saved);
    return off;
}

bool Allowed(const Catalogue::NumberRow& row, TOrvNumber& item)
{
    const double value = item.GetDouble();
    if (row.limits.min == 0 && row.limits.max == 0)
        return true;
    if (QLatin1String(row.name) == QLatin1String("GiriFuoriGiri") && OverSpeedOff(item))
        return true;
    const double slack = 1e-9 * qMax(1.0, qAbs(value));
    return value >= row.limits.min - slack && value <= row.limits.max + slack;
}

QHash<QString, int> RawValues(TSerialDataModule& module)
{
    QHash<QString, int> raw;
    for (const Catalogue::NumberRow& row : Catalogue::Numbers()) {
        TOrvNumber* item = module.Number(QLatin1String(row.name));
        if (item && item->Load())
            raw.insert(item->objectName(), item->RawValue());
    }
    return raw;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    static SimUnitControl* const sim = FreshSimUnit();
    static NoPausePrompts prompts; // made before the module, so it outlives it
    static TSerialDataModule module;
    static const QTemporaryDir folder;
    static const bool setUp = [] {
        module.SetPrompts(&prompts);
        // The backup made before every load stays among this run's files.
        module.Backups().SetFolder(folder.filePath(QStringLiteral("backups")));
        module.Backups().SetRetention(3);
        return true;
    }();
    Q_UNUSED(setUp);
    static const bool connected = module.ConnectToUnit(4, 0) == 0;
    FuzzCheck(connected, "the simulated unit connects");

    sim->resetToFactory();
    module.ReloadAllItems();
    const QHash<QString, int> before = RawValues(module);

    const QString file = folder.filePath(QStringLiteral("fuzz.tcn"));
    FuzzCheck(ConfigurationFile::Write(file, FuzzBytes(data, size)), "configuration file written");
    module.LoadConfiguration(file);

    for (const Catalogue::NumberRow& row : Catalogue::Numbers()) {
        TOrvNumber* item = module.Number(QLatin1String(row.name));
        if (!item || !item->Load() || item->RawValue() == before.value(item->objectName()))
            continue;
        if (!Allowed(row, *item)) {
            qWarning("%s = %g outside %g .. %g", row.name, item->GetDouble(), row.limits.min, row.limits.max);
            FuzzCheck(false, "a loaded parameter holds a value its item allows");
        }
    }
    return 0;
}
