// The simulated unit's parts: the factory memory against the parameter
// catalogue, the engine model over whole cycles, the firmware image format.

#include "simunit/EngineModel.h"
#include "simunit/FactoryMemory.h"
#include "simunit/FirmwareImage.h"

#include <QtTest>

#include <cmath>
#include <set>

namespace {

// R(y) of spec Part 1.1: half away from zero.
int roundHalfAway(double y)
{
    return y >= 0 ? int(std::trunc(y + 0.5)) : int(std::trunc(y - 0.5));
}

enum class Conv { Identity, Formula, Table, SignMagnitude, InvertedBit4, Temperature };

struct CatalogueItem {
    int number;
    int address;
    int mask;
    Conv conv;
    double a, b, c, d; // formula coefficients
    double defaultValue;
    std::vector<std::pair<double, double>> table; // unit -> user
};

// The single-value items of spec Part 3.2 that live at an address, with their defaults.
// Item 56 (TempoDiCicchetto) shares byte 223 with item 30 (GiriPerCambio); the
// factory content holds the changeover speed there, so item 56 is left out.
const std::vector<CatalogueItem>& catalogue()
{
    const double B = 117000;
    static const std::vector<CatalogueItem> items = {
        {1, 163, 0x07, Conv::Identity, 1, 0, 0, 1, 4, {}},
        {2, 164, 0x10, Conv::Formula, 1, 0, 0, 16, 0, {}},
        {3, 163, 0x18, Conv::Formula, 1, 0, 0, 8, 0, {}},
        {4, 216, 0xFF, Conv::Formula, 4, -4, 0, 1000, 0.4, {}},
        {5, 164, 0xE0, Conv::Formula, 1, 0, 0, 32, 0, {}},
        {6, 165, 0xE0, Conv::Formula, 1, 0, 0, 32, 0, {}},
        {7, 205, 0xFF, Conv::Formula, 5, 0, 0, 1, 5, {}},
        {8, 207, 0xFF, Conv::Identity, 1, 0, 0, 1, 240, {}},
        {9, 208, 0xFF, Conv::Identity, 1, 0, 0, 1, 20, {}},
        {10, 162, 0xFF, Conv::Identity, 1, 0, 0, 1, 32, {}},
        {11, 167, 0xFF, Conv::Identity, 1, 0, 0, 1, 100, {}},
        {12, 166, 0xFF, Conv::Formula, 5, 0, 0, 255, 2.8, {}},
        {13, 206, 0xFF, Conv::Identity, 1, 0, 0, 1, 80, {}},
        {14, 168, 0xFF, Conv::Identity, 1, 0, 0, 1, 100, {}},
        {15, 164, 0x08, Conv::Identity, 1, 0, 0, 1, 0, {}},
        {16, 194, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.14, {}},
        {17, 161, 0xFF, Conv::Identity, 1, 0, 0, 1, 172, {}},
        {19, 224, 0xFF, Conv::Temperature, 5, 0, -5, 1275, 25, {}},
        {26, 226, 0xFF, Conv::Identity, 1, 0, 0, 1, 0, {}},
        {30, 223, 0xFF, Conv::Formula, 0, B, 1, 0, 2000, {}},
        {31, 213, 0xFF, Conv::Formula, 0, B, 1, 0, 3600, {}},
        {32, 204, 0xFF, Conv::Formula, 0, B, 1, 0, 1500, {}},
        {33, 225, 0xFF, Conv::Formula, 0, B, 1, 0, 20000, {}},
        {34, 164, 0x07, Conv::Table, 1, 0, 0, 1, 0, {{1, 0}, {2, 1}, {4, 2}}},
        {35, 169, 0xFF, Conv::Formula, 20, 0, 0, 1000, 0.36, {}},
        {36, 170, 0xFF, Conv::Formula, 20, 0, 0, 1000, 0.36, {}},
        {37, 171, 0xFF, Conv::Identity, 1, 0, 0, 1, 0, {}},
        {38, 172, 0xFF, Conv::Identity, 1, 0, 0, 1, 1, {}},
        {39, 173, 0xFF, Conv::Identity, 1, 0, 0, 1, 0, {}},
        {40, 199, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.55, {}},
        {41, 200, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.55, {}},
        {42, 198, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.55, {}},
        {43, 163, 0x60, Conv::Table, 1, 0, 0, 1, 2, {{0, 0}, {32, 1}, {64, 2}}},
        {44, 185, 0xFF, Conv::Identity, 1, 0, 0, 1, 25, {}},
        {45, 165, 0xFF, Conv::InvertedBit4, 1, 0, 0, 1, 16, {}},
        {46, 186, 0xFF, Conv::Identity, 1, 0, 0, 1, 8, {}},
        {47, 196, 0xFF, Conv::Formula, 5, 0, 0, 255, 2, {}},
        {48, 219, 0xFF, Conv::SignMagnitude, 1, 0, 0, 1, 0, {}},
        {49, 202, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.55, {}},
        {50, 212, 0xFF, Conv::Formula, 20, 0, 0, 1000, 0.2, {}},
        {51, 214, 0xFF, Conv::Identity, 1, 0, 0, 1, 4, {}},
        {52, 211, 0xFF, Conv::Identity, 1, 0, 0, 1, 4, {}},
        {53, 215, 0xFF, Conv::Formula, 5, 0, 0, 255, 3.5, {}},
        {54, 197, 0xFF, Conv::Formula, 5, 0, 0, 255, 3.5, {}},
        {55, 218, 0xFF, Conv::Identity, 1, 0, 0, 1, 100, {}},
        {57, 174, 0xFF, Conv::Identity, 1, 0, 0, 1, 60, {}},
        {58, 175, 0xFF, Conv::Identity, 1, 0, 0, 1, 80, {}},
        {59, 177, 0xFF, Conv::Identity, 1, 0, 0, 1, 35, {}},
        {60, 178, 0xFF, Conv::Identity, 1, 0, 0, 1, 60, {}},
        {61, 187, 0xFF, Conv::Identity, 1, 0, 0, 1, 25, {}},
        {62, 184, 0xFF, Conv::Identity, 1, 0, 0, 1, 25, {}},
        {63, 189, 0xFF, Conv::Identity, 1, 0, 0, 1, 255, {}},
        {64, 188, 0xFF, Conv::Identity, 1, 0, 0, 1, 255, {}},
        {65, 182, 0xFF, Conv::SignMagnitude, 1, 0, 0, 1, 0, {}},
        {66, 183, 0xFF, Conv::SignMagnitude, 1, 0, 0, 1, 5, {}},
        {67, 195, 0xFF, Conv::Formula, 5, 0, 0, 255, 1.4, {}},
        {68, 209, 0xFF, Conv::Identity, 1, 0, 0, 1, 120, {}},
        {69, 210, 0xFF, Conv::Identity, 1, 0, 0, 1, 1, {}},
        {70, 180, 0xFF, Conv::Identity, 1, 0, 0, 1, 80, {}},
        {71, 179, 0xFF, Conv::Identity, 1, 0, 0, 1, 20, {}},
        {72, 192, 0xFF, Conv::Formula, 0, B, 1, 0, 12000, {}},
        {73, 193, 0xFF, Conv::Formula, 0, B, 1, 0, 12000, {}},
        {74, 191, 0xFF, Conv::Identity, 1, 0, 0, 1, 10, {}},
        {75, 190, 0xFF, Conv::Identity, 1, 0, 0, 1, 10, {}},
        {76, 176, 0xFF, Conv::Identity, 1, 0, 0, 1, 20, {}},
        {77, 201, 0xFF, Conv::Formula, 5, 0, 0, 255, 0.55, {}},
    };
    return items;
}

// User value to unit value as spec Part 1.1 converts it (limits suspended).
int toUnit(const CatalogueItem& item)
{
    const double u = item.defaultValue;
    switch (item.conv) {
    case Conv::Identity:
        return int(std::trunc(u));
    case Conv::Formula:
        return roundHalfAway((item.b - u * item.d) / (u * item.c - item.a));
    case Conv::Table:
        for (const auto& [unit, user] : item.table)
            if (user == u)
                return roundHalfAway(unit);
        return -1;
    case Conv::SignMagnitude:
        return u >= 0 ? int(std::trunc(u)) : int(std::trunc(128 - u));
    case Conv::InvertedBit4:
        return int(std::trunc(u)) ^ 0x10;
    case Conv::Temperature: {
        const double r = EngineModel::TemperatureRatio(u);
        return roundHalfAway((item.b - r * item.d) / (r * item.c - item.a));
    }
    }
    return -1;
}

} // namespace

class TestSimUnitParts : public QObject {
    Q_OBJECT

private slots:
    void factoryMemoryFollowsTheCatalogue()
    {
        std::array<int, 256> expected{};
        std::array<int, 256> covered{};
        for (const CatalogueItem& item : catalogue()) {
            const int e = toUnit(item);
            QVERIFY2(e >= 0 && e <= 255, qPrintable(QString("item %1").arg(item.number)));
            auto& byte = expected[size_t(item.address)];
            byte = (byte & ~item.mask) | (e & item.mask);
            covered[size_t(item.address)] |= item.mask;
        }
        const auto& factory = FactoryMemory::bytes();
        for (int a = 0; a < 256; ++a)
            QVERIFY2(factory[size_t(a)] == expected[size_t(a)],
                     qPrintable(QString("byte %1: factory %2, catalogue %3")
                                    .arg(a)
                                    .arg(factory[size_t(a)])
                                    .arg(expected[size_t(a)])));
        // A few values stated by the spec and the brief.
        QCOMPARE(int(factory[161]), 172);
        QCOMPARE(int(factory[166]), 143); // TPS_PER_AFFONDATA 2.8 V
        QCOMPARE(int(factory[216]), 101); // TEMPO_SOVRAPPOSIZIONE 0.4 s
        QCOMPARE(int(factory[224]), 128); // 25 °C
        QCOMPARE(int(factory[225]), 6);   // GiriFuoriGiri 20000 RPM
        QCOMPARE(int(factory[223]), 59);  // GiriPerCambio 2000 RPM
        QCOMPARE(int(factory[165]), 0);   // FLAG_CONFIGURAZIONE_3 16 stored inverted
        QCOMPARE(int(factory[0]), 0);
        QCOMPARE(covered[163], 0x7F); // bit 7 of byte 163 belongs to no item
    }

    void temperatureBytes_data()
    {
        QTest::addColumn<double>("celsius");
        QTest::addColumn<int>("byte");
        QTest::newRow("25 C") << 25.0 << 128; // ratio 1.0
        QTest::newRow("20 C") << 20.0 << 142; // 1.2492
        QTest::newRow("85 C") << 85.0 << 25;  // 0.1076
        QTest::newRow("below the table") << -80.0 << 252;
        QTest::newRow("above the table") << 200.0 << 2;
    }
    void temperatureBytes()
    {
        QFETCH(double, celsius);
        QFETCH(int, byte);
        QCOMPARE(int(EngineModel::TemperatureByte(celsius)), byte);
    }

    void ignitionScales()
    {
        const int expected[8] = {120000, 96000, 80000, 60000, 120000, 120000, 80000, 120000};
        for (int t = 0; t < 8; ++t)
            QCOMPARE(EngineModel::IgnitionScale(t), expected[t]);
    }

    // Every probe kind and TPS kind over two whole cycles: the packet stays within its ranges.
    void engineCycleRanges()
    {
        for (int probe = 0; probe < 8; ++probe) {
            for (int tps = 0; tps < 8; ++tps) {
                auto memory = FactoryMemory::bytes();
                memory[165] = uint8_t(probe << 5);
                memory[164] = uint8_t((memory[164] & 0x1F) | (tps << 5));
                double lambdaMin = 99, lambdaMax = -1;
                for (int64_t t = 0; t < 2 * EngineModel::CycleMs; t += 50) {
                    const EngineSample s = EngineModel::Sample(t, memory.data());
                    const auto& p = s.packet;
                    const bool stopped = s.phase == EnginePhase::Stopped;
                    QCOMPARE(p[LivePacket::RpmPeriod] == 255, stopped);
                    QVERIFY(p[LivePacket::LambdaBand] <= 2);
                    QVERIFY(p[LivePacket::TpsBand] <= 3);
                    QVERIFY(p[LivePacket::Actuator] >= 20 && p[LivePacket::Actuator] <= 240);
                    QVERIFY(p[LivePacket::DefaultPosition] >= 20 && p[LivePacket::DefaultPosition] <= 240);
                    QVERIFY(s.lambdaVolts >= 0 && s.lambdaVolts <= 5);
                    if (!stopped) {
                        QVERIFY(s.rpm >= 800 && s.rpm <= 4900);
                        QCOMPARE(int(p[LivePacket::RpmPeriod]), int(std::lround(120000 / s.rpm)));
                    }
                    if (s.phase == EnginePhase::Idle || s.phase == EnginePhase::Cruise) {
                        lambdaMin = std::min(lambdaMin, s.lambdaVolts);
                        lambdaMax = std::max(lambdaMax, s.lambdaVolts);
                    }
                }
                if (probe == 0) { // 0-1 V probe: oscillates between about 0.1 and 0.9 V
                    QVERIFY(lambdaMin < 0.15 && lambdaMin > 0.099);
                    QVERIFY(lambdaMax > 0.85 && lambdaMax < 0.901);
                }
            }
        }
    }

    void engineLambdaAndActuatorMove()
    {
        const auto& memory = FactoryMemory::bytes();
        std::set<int> lambdas, actuators, bands;
        for (int64_t t = 10000; t < 20000; t += 50) { // idle, closed loop
            const auto p = EngineModel::Sample(t, memory.data()).packet;
            lambdas.insert(p[LivePacket::Lambda]);
            actuators.insert(p[LivePacket::Actuator]);
            bands.insert(p[LivePacket::LambdaBand]);
        }
        QVERIFY(lambdas.size() >= 6);
        QVERIFY(actuators.size() >= 5);
        QVERIFY(bands.count(0) && bands.count(2));
        // Bands of the throttle through one cycle.
        std::set<int> tpsBands;
        for (int64_t t = 0; t < EngineModel::CycleMs; t += 50)
            tpsBands.insert(EngineModel::Sample(t, memory.data()).packet[LivePacket::TpsBand]);
        QCOMPARE(tpsBands, (std::set<int>{0, 1, 2, 3}));
    }

    void engineWarmsUp()
    {
        const auto& memory = FactoryMemory::bytes();
        const EngineSample cold = EngineModel::Sample(0, memory.data());
        QVERIFY(qAbs(cold.temperatureC - 20) < 0.01);
        QCOMPARE(int(cold.packet[LivePacket::Temperature]), 142);
        int previous = 256;
        for (int64_t t = 0; t <= 6 * 60000; t += 10000) {
            const int byte = EngineModel::Sample(t, memory.data()).packet[LivePacket::Temperature];
            QVERIFY(byte <= previous); // warmer is a lower byte
            previous = byte;
        }
        const EngineSample warm = EngineModel::Sample(5 * 60000, memory.data());
        QVERIFY(warm.temperatureC > 82 && warm.temperatureC < 85);
    }

    void engineFollowsConfiguration()
    {
        auto memory = FactoryMemory::bytes();
        // Ignition type 3: B = 60000.
        memory[163] = uint8_t((memory[163] & ~0x07) | 3);
        const EngineSample s = EngineModel::Sample(30000, memory.data());
        QCOMPARE(int(s.packet[LivePacket::RpmPeriod]), int(std::lround(60000 / s.rpm)));
        // Fixed TPS idle value (FLAG_CONFIGURAZIONE_3 bit 1): the idle byte is ValoreMinimoTPS.
        memory[165] |= 0x02;
        QCOMPARE(int(EngineModel::Sample(30000, memory.data()).packet[LivePacket::TpsIdle]),
                 int(memory[195]));
        // TPS 5-0 V: the idle byte is inverted.
        memory = FactoryMemory::bytes();
        const int direct = EngineModel::Sample(10000, memory.data()).packet[LivePacket::Tps];
        memory[164] = uint8_t((memory[164] & 0x1F) | (1 << 5));
        QCOMPARE(int(EngineModel::Sample(10000, memory.data()).packet[LivePacket::Tps]), 255 - direct);
        // Narrow actuator limits hold the actuator.
        memory = FactoryMemory::bytes();
        memory[208] = 90;
        memory[207] = 95;
        for (int64_t t = 0; t < EngineModel::CycleMs; t += 100) {
            const int a = EngineModel::Sample(t, memory.data()).packet[LivePacket::Actuator];
            QVERIFY(a >= 90 && a <= 95);
        }
        // Full-throttle function: the actuator goes to POSIZIONE_IN_AFFONDATA.
        memory = FactoryMemory::bytes();
        memory[162] |= 0x01;
        memory[167] = 150;
        QCOMPARE(int(EngineModel::Sample(43000, memory.data()).packet[LivePacket::Actuator]), 150);
    }

    void firmwareImageSizes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("size");
        QTest::newRow("boot loader") << 1 << 3 << 3960;
        QTest::newRow("old application") << 2 << 139 << 21410;
        QTest::newRow("application") << 2 << 141 << 21406;
        QTest::newRow("smallest") << 2 << 1 << 20;
    }
    void firmwareImageSizes()
    {
        QFETCH(int, kind);
        QFETCH(int, version);
        QFETCH(int, size);
        const auto image = BuildFirmwareImage(FirmwareKind(kind), uint8_t(version), size_t(size));
        QCOMPARE(int(image.size()), size);
        FirmwareImageInfo info;
        QCOMPARE(CheckFirmwareImage(image.data(), image.size(), &info), FirmwareCheck::Ok);
        QCOMPARE(int(info.kind), kind);
        QCOMPARE(int(info.firmwareVersion), version);
        QCOMPARE(int(info.family), 11);
        QCOMPARE(int(info.unitKind), 36);
        QCOMPARE(int(info.model), 25);
        QCOMPARE(int(info.codeSize), size - 20);
        QCOMPARE(BuildFirmwareImage(FirmwareKind(kind), uint8_t(version), size_t(size)),
                 image); // deterministic
        const auto plain = FirmwarePlainBuffer(image);
        QCOMPARE(int(plain.size()), size + 4);
        QCOMPARE(int(plain[0] | plain[1] << 8 | plain[2] << 16 | plain[3] << 24), size);
    }

    void firmwareImageDefects()
    {
        QVERIFY(BuildFirmwareImage(FirmwareKind::Application, 140, 19).empty());
        const auto good = BuildFirmwareImage(FirmwareKind::Application, 140, 1000);
        QCOMPARE(FirmwareCrc32(reinterpret_cast<const uint8_t*>("123456789"), 9), 0xCBF43926u);
        auto check = [](std::vector<uint8_t> image) {
            return CheckFirmwareImage(image.data(), image.size());
        };
        QCOMPARE(check({good.begin(), good.begin() + 19}), FirmwareCheck::TooShort);
        QCOMPARE(check({good.begin(), good.end() - 1}), FirmwareCheck::SizeMismatch);
        for (size_t at : {size_t(0), size_t(4), size_t(5), size_t(6), size_t(20), size_t(999)}) {
            auto bad = good;
            bad[at] ^= 0x40;
            QVERIFY2(check(bad) != FirmwareCheck::Ok, qPrintable(QString("byte %1").arg(at)));
        }
        auto badKind = good;
        badKind[5] = 7;
        QCOMPARE(check(badKind), FirmwareCheck::BadKind);
        QCOMPARE(CheckFirmwareImage(nullptr, 100), FirmwareCheck::TooShort);
    }
};

QTEST_GUILESS_MAIN(TestSimUnitParts)
#include "tst_simunit_parts.moc"
