// The simulated unit's parts: the engine model over whole cycles and the
// firmware image format. (The factory memory is checked against the program's
// own catalogue in the data-module tests.)

#include "simunit/EngineModel.h"
#include "simunit/FactoryMemory.h"
#include "simunit/FirmwareImage.h"

#include <QtTest>

#include <cmath>
#include <set>

class TestSimUnitParts : public QObject {
    Q_OBJECT

private slots:
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
#include "tst_simunitparts.moc"
