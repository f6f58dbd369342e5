// The data log without a unit: the loop figures on synthetic series with known
// answers, the samples held in memory, and the refusal of files that are not
// data logs.

#include "datalog/LiveChannels.h"
#include "datalog/LogReader.h"
#include "datalog/LogWriter.h"
#include "datalog/LoopFigures.h"
#include "datalog/SampleRing.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

// A sample row of the live channels with the given band and actuator.
std::vector<double> Row(int band, double actuator)
{
    std::vector<double> values(LiveChannel::Count, 0.0);
    values[LiveChannel::LambdaBand] = band;
    values[LiveChannel::Actuator] = actuator;
    return values;
}

} // namespace

class TestDataLog : public QObject {
    Q_OBJECT

private slots:
    void squareWaveFigures_data();
    void squareWaveFigures();
    void figuresCoverOnlyTheirStretch();
    void ringKeepsItsSpan();
    void pausesBecomeGaps_data();
    void pausesBecomeGaps();
    void figuresSkipGaps();
    void malformedLogsAreRefused_data();
    void malformedLogsAreRefused();
};

// A lambda band that alternates lean and rich at a known frequency (with a stay
// in band between the two sides), sampled at 10 per second for a minute; the
// actuator alternates between two positions with a known duty.
void TestDataLog::squareWaveFigures_data()
{
    QTest::addColumn<double>("frequency"); // full lean-rich periods per second
    QTest::addColumn<double>("richDuty");  // share of each period spent rich
    QTest::addColumn<bool>("visitBand");   // pass through the band between sides
    QTest::newRow("1 Hz, half rich") << 1.0 << 0.5 << false;
    QTest::newRow("0.5 Hz, 30 % rich") << 0.5 << 0.3 << false;
    QTest::newRow("1 Hz through the band") << 1.0 << 0.5 << true;
}

void TestDataLog::squareWaveFigures()
{
    QFETCH(double, frequency);
    QFETCH(double, richDuty);
    QFETCH(bool, visitBand);
    TSampleRing ring(LiveChannel::Count);
    const double seconds = 60;
    for (int i = 0; i < seconds * 10; ++i) {
        const double t = i / 10.0;
        const double phase = std::fmod(t * frequency, 1.0);
        const bool rich = phase < richDuty - 1e-9;
        // The tenth of a second after each change of side stays in band.
        const bool justChanged = visitBand && (std::fmod(t * frequency + 1e-9, 1.0) < 0.1 * frequency ||
                                               std::fabs(phase - richDuty) < 0.1 * frequency - 1e-9);
        const int band = justChanged ? LiveChannel::InBand : rich ? LiveChannel::Rich : LiveChannel::Lean;
        ring.Append(t, Row(band, rich ? 110 : 90).data());
    }
    const TLoopFigures figures = LoopFigures::Compute(ring, 0, seconds);
    QVERIFY(figures.valid);
    QCOMPARE(figures.seconds, 59.9);
    // Two crossings of the reference per period; the last change of side falls
    // at 60 s, after the last sample.
    QCOMPARE(figures.crossings, int(std::lround(2 * frequency * seconds)) - 1);
    QVERIFY(std::fabs(figures.switchingRate - 2 * frequency) < 0.05);
    const double inBand = visitBand ? 2 * 0.1 * frequency : 0;
    QVERIFY2(std::fabs(figures.inBandShare - inBand) < 0.01,
             qPrintable(QString::number(figures.inBandShare)));
    QVERIFY(std::fabs(figures.leanShare + figures.inBandShare + figures.richShare - 1) < 1e-9);
    if (!visitBand)
        QVERIFY(std::fabs(figures.richShare - richDuty) < 0.01);
    QVERIFY(std::fabs(figures.actuatorMean - (90 + 20 * richDuty)) < 0.5);
    QCOMPARE(figures.actuatorSpan, 20.0);
}

// A lean-in band-lean visit is no crossing; the figures see only their stretch
// and leave out a gap (ten seconds after a second apart).
void TestDataLog::figuresCoverOnlyTheirStretch()
{
    TSampleRing ring(LiveChannel::Count);
    const int bands[] = {0, 1, 0, 1, 2, 2, 2, 2};
    const double times[] = {0, 1, 2, 3, 4, 5, 6, 16};
    for (int i = 0; i < 8; ++i)
        ring.Append(times[i], Row(bands[i], i).data());
    TLoopFigures figures = LoopFigures::Compute(ring, 0, 4);
    QCOMPARE(figures.crossings, 1);
    QCOMPARE(figures.seconds, 4.0);
    QCOMPARE(figures.leanShare, 0.5);
    QCOMPARE(figures.inBandShare, 0.5);
    QCOMPARE(figures.actuatorSpan, 4.0);
    figures = LoopFigures::Compute(ring, 4, 16);
    QCOMPARE(figures.crossings, 0);
    QCOMPARE(figures.richShare, 1.0);
    // Positions 4 and 5 for a second each; nothing is known of the gap after 6.
    QCOMPARE(figures.seconds, 2.0);
    QCOMPARE(figures.actuatorMean, 4.5);
    QVERIFY(!LoopFigures::Compute(ring, 16, 20).valid);
}

void TestDataLog::ringKeepsItsSpan()
{
    TSampleRing ring(2, 10);
    for (int i = 0; i <= 3000; ++i) {
        const double values[] = {double(i), -double(i)};
        ring.Append(i * 0.1, values);
        if (i % 100 == 0)
            ring.AddMarker(i * 0.1, QString::number(i));
    }
    QCOMPARE(ring.Count(), 101);
    QCOMPARE(ring.FirstTime(), 290.0);
    QCOMPARE(ring.Value(0, 0), 2900.0);
    QCOMPARE(ring.Value(100, 1), -3000.0);
    QCOMPARE(ring.Markers().size(), 2);
    QCOMPARE(ring.Markers().first().note, QStringLiteral("2900"));
    QCOMPARE(ring.Nearest(295.04), 50);
    QCOMPARE(ring.LowerBound(1e9), ring.Count());
}

// Rows come at the given pauses; a pause longer than three of the recent ones
// is a gap, whatever the pace, and a few slow reads do not make one.
void TestDataLog::pausesBecomeGaps_data()
{
    QTest::addColumn<QList<double>>("pauses");
    QTest::addColumn<QList<int>>("gapsAfter"); // the rows a gap follows
    const auto steady = [](const QMap<int, double>& others) {
        QList<double> pauses(20, 0.1);
        for (auto it = others.cbegin(); it != others.cend(); ++it)
            pauses[it.key()] = it.value();
        return pauses;
    };
    QTest::newRow("steady") << steady({}) << QList<int>{};
    QTest::newRow("a second's pause") << steady({{10, 1.0}}) << QList<int>{10};
    QTest::newRow("under three intervals") << steady({{10, 0.29}}) << QList<int>{};
    QTest::newRow("slow reads among quick ones") << steady({{5, 0.25}, {6, 0.25}}) << QList<int>{};
    QTest::newRow("two gaps at 1 Hz") << QList<double>{1, 1, 1, 1, 5, 1, 1, 1, 60, 1} << QList<int>{4, 8};
    QTest::newRow("too early to tell") << QList<double>{0.1, 5, 0.1, 0.1} << QList<int>{};
}

void TestDataLog::pausesBecomeGaps()
{
    QFETCH(QList<double>, pauses);
    QFETCH(QList<int>, gapsAfter);
    TSampleRing ring(LiveChannel::Count);
    double time = 100;
    ring.Append(time, Row(0, 0).data());
    for (const double pause : pauses)
        ring.Append(time += pause, Row(0, 0).data());
    QList<int> found;
    for (int row = 0; row < ring.Count(); ++row) {
        if (ring.GapAfter(row))
            found << row;
    }
    QCOMPARE(found, gapsAfter);
    QCOMPARE(ring.Gaps().size(), gapsAfter.size());
    for (int gap = 0; gap < gapsAfter.size(); ++gap) {
        QCOMPARE(ring.Gaps().at(gap).from, ring.Time(gapsAfter.at(gap)));
        QCOMPARE(ring.Gaps().at(gap).to, ring.Time(gapsAfter.at(gap) + 1));
    }
}

// Ten seconds lean, the link lost for a minute, ten seconds rich: the figures
// cover the time between the rows read, see no crossing over the gap, and the gap
// carries the cause told before it (once).
void TestDataLog::figuresSkipGaps()
{
    TSampleRing ring(LiveChannel::Count);
    double time = 0;
    for (; time < 10; time += 0.5)
        ring.Append(time, Row(LiveChannel::Lean, 80).data());
    ring.SetNextGapCause(TSampleGap::Disconnected);
    for (time += 60; time < 80; time += 0.5)
        ring.Append(time, Row(LiveChannel::Rich, 120).data());
    ring.Append(time += 30, Row(LiveChannel::Rich, 120).data());
    QCOMPARE(ring.Gaps().size(), 2);
    QCOMPARE(ring.Gaps().at(0).cause, TSampleGap::Disconnected);
    QCOMPARE(ring.Gaps().at(1).cause, TSampleGap::Unknown);

    const TLoopFigures figures = LoopFigures::Compute(ring, 0, 80);
    QVERIFY(figures.valid);
    QCOMPARE(figures.seconds, 19.0);
    QCOMPARE(figures.crossings, 0);
    QVERIFY(std::fabs(figures.leanShare - 0.5) < 1e-9);
    QVERIFY(std::fabs(figures.actuatorMean - 100) < 1e-9);
}

void TestDataLog::malformedLogsAreRefused_data()
{
    QString header = QStringLiteral("elapsed [s],time");
    QString values;
    for (const TLogChannel& channel : LiveChannels()) {
        header += u',' + LogColumns::ChannelHeader(channel);
        values += QStringLiteral(",1");
    }
    header += QStringLiteral(",mark,note\r\n");
    const QString stamp = QStringLiteral("2026-01-02T03:04:05.000+01:00");
    const QString row0 = QStringLiteral("0.000,") + stamp + values + QStringLiteral(",,\r\n");
    const QString row1 =
        QStringLiteral("0.100,") + stamp + values + QStringLiteral(",1,\"a, \"\"b\"\"\"\r\n");

    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("reason"); // empty: the file is a log
    QTest::newRow("a log") << header + row0 + row1 << QString();
    QTest::newRow("empty") << QString() << "empty";
    QTest::newRow("configuration text") << "[CONFIGURAZIONE]\nA=1\n"
                                        << "header";
    QTest::newRow("a channel missing")
        << QString(header).replace(QStringLiteral("VAL_GIRI"), QStringLiteral("X")) + row0 << "VAL_GIRI";
    QTest::newRow("short row") << header + row0 + "0.2," + stamp + "\r\n"
                               << "line 3";
    QTest::newRow("not a number") << header +
                                         QString(row0).replace(QStringLiteral(",1,"), QStringLiteral(",x,"))
                                  << "line 2";
    QTest::newRow("comma decimals") << header + QString(row0).replace(QStringLiteral("0.000"),
                                                                      QStringLiteral("\"0,5\""))
                                    << "line 2";
    QTest::newRow("time goes back") << header + row1 + row0 << "goes back";
    QTest::newRow("bad time stamp") << header + QString(row0).replace(stamp, QStringLiteral("yesterday"))
                                    << "line 2";
    QTest::newRow("open quote") << header + row0 + "\"0.2,\r\n"
                                << "quoted";
}

void TestDataLog::malformedLogsAreRefused()
{
    QFETCH(QString, content);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    QFile file(folder.filePath("log.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content.toUtf8());
    file.close();
    TLogData data;
    QString error;
    const bool read = LogReader::Read(file.fileName(), data, error);
    QCOMPARE(read, reason.isEmpty());
    if (read) {
        QCOMPARE(data.samples.Count(), 2);
        QCOMPARE(data.samples.Markers().size(), 1);
        QCOMPARE(data.samples.Markers().first().note, QStringLiteral("a, \"b\""));
        QCOMPARE(data.start.offsetFromUtc(), 3600);
    } else {
        QVERIFY2(error.contains(reason), qPrintable(error));
    }
}

QTEST_GUILESS_MAIN(TestDataLog)
#include "tst_datalog.moc"
