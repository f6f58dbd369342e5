// The parameter catalogue and the rules that need no unit: conversions of the
// catalogue's items, custom conversions, band lamps, the stopped engine, and
// the operations over all items.

#include "items/OrvNumber.h"
#include "items/OrvPacketData.h"
#include "link/WindowMessage.h"
#include "model/SerialDataModule.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>

namespace {

// A live packet as the refresher hands it over: its length, then its bytes.
QByteArray Packet(std::initializer_list<int> bytes)
{
    QByteArray buffer(4, 0);
    buffer[0] = char(bytes.size());
    for (int b : bytes)
        buffer.append(char(b));
    buffer.append(64, 0);
    return buffer;
}

// Shows what a bound control would see when an item announces a change.
class ValueWatcher : public QObject {
public:
    explicit ValueWatcher(TOrvPacketData* item) : m_item(item) { item->AddNotificationList(this); }
    QList<double> seen;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Type(WindowMessage::WMDataChanged)) {
            seen << m_item->GetDouble();
            return true;
        }
        return QObject::event(event);
    }

private:
    TOrvPacketData* m_item;
};

double Rounded(double value)
{
    return std::round(value * 100) / 100;
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void componentOrder();
    void toUnit_data();
    void toUnit();
    void toUser_data();
    void toUser();
    void formProperties();
    void bandLamps();
    void stoppedEngine();
    void clearLiveValues();
    void defaultsWithLimitsSuspended();
};

void TestCatalogue::componentOrder()
{
    TSerialDataModule module;
    const QList<TOrvSerialData*> items = module.Items();
    QCOMPARE(items.size(), 77);
    QCOMPARE(items.first()->objectName(), QStringLiteral("TIPO_ACCENSIONE"));
    QCOMPARE(items.at(17)->objectName(), QStringLiteral("VALORE_LAMBDA"));
    QCOMPARE(items.at(31)->objectName(), QStringLiteral("GiriCutOff"));
    QCOMPARE(items.last()->objectName(), QStringLiteral("MaxRicco"));
    QCOMPARE(module.children().first(), static_cast<QObject*>(module.OrvConnection()));
    QCOMPARE(module.children().at(1), static_cast<QObject*>(module.DataRefresher()));
}

void TestCatalogue::toUnit_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("ignition");
    QTest::addColumn<double>("user");
    QTest::addColumn<int>("raw");

    QTest::newRow("full throttle TPS") << "TPS_PER_AFFONDATA" << -1 << 2.8 << 143;
    QTest::newRow("overlap time") << "TEMPO_SOVRAPPOSIZIONE" << -1 << 0.4 << 101;
    QTest::newRow("changeover speed, ignition 4") << "GiriPerCambio" << 4 << 2000.0 << 60;
    QTest::newRow("over-speed off, ignition 4") << "GiriFuoriGiri" << 4 << 20000.0 << 6;
    QTest::newRow("cut-off speed, ignition 3") << "GiriCutOff" << 3 << 1500.0 << 40;
    QTest::newRow("sensor delay") << "RITARDO_LETTURA_SONDA" << -1 << 1275.0 << 255;
    QTest::newRow("changeover temperature") << "TEMPERATURA_PER_CAMBIO" << -1 << 25.0 << 128;
    QTest::newRow("cold position -127") << "PosizioneASondaFredda" << -1 << -127.0 << 255;
    QTest::newRow("cold position 127") << "PosizioneASondaFredda" << -1 << 127.0 << 127;
    QTest::newRow("idle entry -5") << "FrazDefEntroMinimo" << -1 << -5.0 << 133;
    QTest::newRow("inverted bit 4") << "FLAG_CONFIGURAZIONE_3" << -1 << double(0x12) << 0x02;
    QTest::newRow("level sensor 0-90 ohm") << "TipoSensore" << -1 << 2.0 << 4;
}

void TestCatalogue::toUnit()
{
    QFETCH(QString, item);
    QFETCH(int, ignition);
    QFETCH(double, user);
    QFETCH(int, raw);
    TSerialDataModule module;
    if (ignition >= 0)
        module.ApplyIgnitionScale(ignition);
    TOrvNumber* number = module.Number(item);
    QVERIFY(number);
    number->SetDisableLimits(true);
    QCOMPARE(number->ConvertValueToEcu(user, nullptr), raw);
}

void TestCatalogue::toUser_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("raw");
    QTest::addColumn<double>("user");

    QTest::newRow("TPS byte 143") << "TPS_PER_AFFONDATA" << 143 << 2.8;
    QTest::newRow("temperature byte 128") << "VAL_TEMPERATURA" << 128 << 25.0;
    QTest::newRow("lambda byte 128") << "VALORE_LAMBDA" << 128 << 2.51;
    QTest::newRow("cold position byte 128") << "PosizioneASondaFredda" << 128 << 0.0;
    QTest::newRow("cold position byte 129") << "PosizioneASondaFredda" << 129 << -1.0;
    QTest::newRow("flag byte 0") << "FLAG_CONFIGURAZIONE_3" << 0 << 16.0;
    QTest::newRow("level sensor 3 matches nothing") << "TipoSensore" << 3 << -10000001.0;
    QTest::newRow("emulation bits 64") << "TIPO_EMULAZIONE" << 64 + 7 << 2.0;
    QTest::newRow("changeover kind bits 01") << "TIPO_CAMBIO" << 0x08 + 0x07 << 1.0;
}

void TestCatalogue::toUser()
{
    QFETCH(QString, item);
    QFETCH(int, raw);
    QFETCH(double, user);
    TSerialDataModule module;
    QCOMPARE(Rounded(module.Item(item)->ConvertValueToUser(raw)), user);
}

void TestCatalogue::formProperties()
{
    TSerialDataModule module;
    const TOrvNumber* command = module.Number("RIPROGRAMMAZIONE");
    QVERIFY(!command->ByAddress());
    QCOMPARE(command->SerialCode(), 0);
    QCOMPARE(command->FileSection(), QStringLiteral("COMANDI"));
    QCOMPARE(module.Number("GiriCutOffFiliGialli")->DataGroup(), 1);
    QCOMPARE(module.Number("TIPO_ACCENSIONE")->DataGroup(), 0);
    QCOMPARE(module.Number("TIPO_COMMUTATORE")->ConversionTableLength(), 2);
    QCOMPARE(module.Number("PosizioneASondaFredda")->ConversionTableLength(), 256);
    QCOMPARE(module.Number("PosizioneASondaFredda")->GetUserTableValue(255), -127.0);
    const TOrvPacketData* speed = module.Packet("VAL_GIRI");
    QCOMPARE(speed->TimeInterval(), 100);
    QVERIFY(speed->Active());
    QVERIFY(speed->Registered());
    QVERIFY(speed->ReadOnly());
}

void TestCatalogue::bandLamps()
{
    TSerialDataModule module;
    QSignalSpy lamps(&module, &TSerialDataModule::BandLampChanged);
    module.Packet("FASCIA_LAMBDA")->UpdateData(Packet({0, 0, 0, 0, 0, 0, 1, 3, 0}).constData());
    module.Packet("FASCIA_TPS")->UpdateData(Packet({0, 0, 0, 0, 0, 0, 1, 3, 0}).constData());
    module.Packet("FASCIA_TPS")->UpdateData(Packet({0, 0, 0, 0, 0, 0, 1, 5, 0}).constData());
    QCOMPARE(lamps.count(), 2); // band 5 has no lamp
    QCOMPARE(lamps.at(0).at(0).value<TSerialDataModule::Band>(), TSerialDataModule::Band::Lambda);
    QCOMPARE(lamps.at(0).at(1).toInt(), 1);
    QCOMPARE(lamps.at(1).at(0).value<TSerialDataModule::Band>(), TSerialDataModule::Band::Tps);
    QCOMPARE(lamps.at(1).at(1).toInt(), 3);
}

void TestCatalogue::stoppedEngine()
{
    TSerialDataModule module;
    module.ApplyIgnitionScale(4);
    TOrvPacketData* speed = module.Packet("VAL_GIRI");
    speed->UpdateData(Packet({255}).constData());
    QCOMPARE(speed->GetDouble(), 0.0);
    speed->UpdateData(Packet({60}).constData());
    QCOMPARE(speed->GetDouble(), 2000.0);
    // A packet too short for the item's offset leaves the value alone.
    module.Packet("VAL_TEMPERATURA")->UpdateData(Packet({128, 0, 0, 0, 0, 0, 0, 0, 128}).constData());
    module.Packet("VAL_TEMPERATURA")->UpdateData(Packet({60}).constData());
    QCOMPARE(module.Packet("VAL_TEMPERATURA")->GetDouble(), 25.0);
}

void TestCatalogue::clearLiveValues()
{
    TSerialDataModule module;
    TOrvPacketData* lambda = module.Packet("VALORE_LAMBDA");
    lambda->UpdateData(Packet({0, 128}).constData());
    ValueWatcher watcher(lambda);
    module.ClearLiveValues();
    QCOMPARE(watcher.seen, QList<double>{0.0});
    QCOMPARE(lambda->Transformation(), TOrvSerialData::ttFormula);
    QVERIFY(!lambda->DisableLimits());
}

void TestCatalogue::defaultsWithLimitsSuspended()
{
    TSerialDataModule module;
    module.ApplyIgnitionScale(4);
    module.ApplyDefaults();
    QCOMPARE(module.Number("GiriFuoriGiri")->RawValue(), 6); // 20000 RPM, above its limit of 8000
    QCOMPARE(module.Number("TIPO_EMULAZIONE")->RawValue() & 0x60, 64);
    QCOMPARE(module.Number("FLAG_CONFIGURAZIONE_3")->RawValue(), 0);
    QCOMPARE(module.Number("TEMPO_SOVRAPPOSIZIONE")->GetDouble(), 0.4);
    for (TOrvSerialData* item : module.Items())
        QVERIFY2(!item->DisableLimits(), qPrintable(item->objectName()));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
