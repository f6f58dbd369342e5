// Recording the live values of the simulated unit: the samples the refresher's
// packets give, written as a data log and read back unchanged. The clocks of
// the log and of the unit's engine are moved by the test, so seconds of
// recording take no time.

#include "../common/ManualClock.h"
#include "../common/TestModule.h"
#include "datalog/LogReader.h"
#include "datalog/LogWriter.h"
#include "items/DataRefresher.h"
#include "model/LiveSampler.h"

#include <QTest>

class TestLiveRecording : public QObject {
    Q_OBJECT

private slots:
    void recordedLogReadsBackTheSamples();
};

void TestLiveRecording::recordedLogReadsBackTheSamples()
{
    TestModule test;
    QCOMPARE(test.module.ConnectToUnit(4, 0), 0);
    ManualClock clock;
    TLiveSampler sampler(&test.module, &clock);
    TLogWriter writer;
    QString error;
    const QString fileName = test.folder.filePath(TLogWriter::FileNameFor(clock.Now()));
    QVERIFY2(writer.Open(fileName, LiveChannels(), error), qPrintable(error));
    QList<TLogSample> samples;
    connect(&sampler, &TLiveSampler::Sampled, this, [&](const TLogSample& sample) {
        samples << sample;
        writer.Write(sample, samples.size() == 20,
                     samples.size() == 20 ? QStringLiteral("tip-in, \"hard\"") : QString());
    });

    // Five seconds from the engine's start into idle, a packet every 100 ms.
    TDataRefresher* refresher = test.module.DataRefresher();
    refresher->SetEnabled(true);
    for (int i = 0; i < 50; ++i) {
        test.sim->pinClock(5000 + 100 * i);
        refresher->ReloadAll();
        clock.Advance(100);
    }
    test.module.StopRefresher();
    writer.Close();
    QCOMPARE(samples.size(), 50);
    QCOMPARE(writer.Rows(), 50);
    // The engine started during the recording.
    QCOMPARE(samples.first().values.at(LiveChannel::Rpm), 0.0);
    QVERIFY(samples.last().values.at(LiveChannel::Rpm) > 500);

    TLogData data;
    QVERIFY2(LogReader::Read(fileName, data, error), qPrintable(error));
    QCOMPARE(data.start, clock.Now().addMSecs(-5000));
    QCOMPARE(data.samples.Count(), samples.size());
    for (int row = 0; row < samples.size(); ++row) {
        QCOMPARE(data.samples.Time(row), row / 10.0);
        for (int channel = 0; channel < LiveChannel::Count; ++channel)
            QCOMPARE(data.samples.Value(row, channel), samples.at(row).values.at(channel));
    }
    QCOMPARE(data.samples.Markers().size(), 1);
    QCOMPARE(data.samples.Markers().first().time, 1.9);
    QCOMPARE(data.samples.Markers().first().note, QStringLiteral("tip-in, \"hard\""));
}

QTEST_GUILESS_MAIN(TestLiveRecording)
#include "tst_liverecording.moc"
