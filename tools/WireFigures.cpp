// tzr582-wire-figures: figures of the link over a serial line, measured over
// pseudo-terminals against tzr582-unit (beside this program).
//
//   1. a full reload at 19200 baud, the unit answering no sooner than the line
//      allows: its time against the time the line needs for its bytes, and its
//      exchanges against one per memory item;
//   2. reload, save, load and a firmware update on a line that drops 1 % of the
//      bytes and corrupts 1 %, each checked against the same operation on a
//      clean line;
//   3. the unit killed in the middle of a load: how long until the program
//      reports the lost link, the entries it names, and the connection again;
//   4. N exchanges (default 100 000) on the noisy line, counting every value
//      that came back wrong.
//
// Usage: tzr582-wire-figures [EXCHANGES [SECTIONS]]
//   SECTIONS: the sections to run, as digits (default 1234; "1" only the reload).

#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"
#include "model/QuietPrompts.h"
#include "model/SerialDataModule.h"
#include "seriallink/SerialLine.h"
#include "support/EncryptedContainer.h"
#include "support/PlainBuffer.h"
#include "wire/WireClient.h"
#include "wire/WireProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <array>
#include <atomic>
#include <cstdio>
#include <random>
#include <signal.h>
#include <thread>

namespace {

const QStringList Noise = {QStringLiteral("--drop"), QStringLiteral("1"),      QStringLiteral("--corrupt"),
                           QStringLiteral("1"),      QStringLiteral("--seed"), QStringLiteral("11")};

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class Unit {
public:
    ~Unit() { stop(); }
    bool start(const QString& folder, QStringList options, const QString& link = {})
    {
        options << QStringLiteral("--pty") << QStringLiteral("--data") << folder;
        if (!link.isEmpty())
            options << QStringLiteral("--link") << link;
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tzr582-unit"), options);
        while (m_process.waitForStarted(5000) && !m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return false;
        path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return !path.isEmpty();
    }
    // Stops the unit and gives its counts: requests, bytes in, bytes out.
    std::array<long long, 3> stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
        const QString text = QString::fromLocal8Bit(m_process.readAllStandardError());
        const auto match =
            QRegularExpression(QStringLiteral("(\\d+) requests.* (\\d+) bytes in, (\\d+) bytes out"))
                .match(text);
        if (!match.hasMatch())
            return {0, 0, 0};
        return {match.captured(1).toLongLong(), match.captured(2).toLongLong(),
                match.captured(3).toLongLong()};
    }
    qint64 pid() const { return m_process.processId(); }
    QString path;

private:
    QProcess m_process;
};

// Answers yes, records the messages, and counts the program's own pauses
// (the actuator rules pause 100 ms each) instead of making them, so that the
// figures show the link's time.
class FigurePrompts final : public TQuietPrompts {
public:
    void ShowMessage(TMessageIcon, const QString&, const QString& text) override { messages << text; }
    bool AskYesNo(TMessageIcon, const QString&, const QString&, bool) override { return true; }
    void Wait(int milliseconds) override { pausedMs += milliseconds; }
    QStringList messages;
    int pausedMs = 0;
};

QByteArray memoryOf(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("simunit-memory.bin")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray iniOf(const QString& file)
{
    TPlainBuffer buffer;
    return DecryptFileToBuffer(file, buffer) ? buffer.Content() : QByteArray();
}

// The unit's 256 memory bytes, read with one block read over the wire.
QByteArray readMemory(const QString& path)
{
    SerialLine line;
    if (line.open(path, 19200) != SerialLine::OpenResult::Opened)
        return {};
    WireClient client(line, WireTiming());
    QByteArray answer;
    client.exchange(WireCommand::Connect, {}, 1, 1, &answer);
    if (client.exchange(WireCommand::ReadBlock, WirePayloadWriter().u16(0).u16(256).data(), 257, 257,
                        &answer) != WireClient::Outcome::Answered)
        return {};
    const QByteArray memory = answer.mid(1);
    client.exchange(WireCommand::Disconnect, {}, 1, 1, &answer);
    return memory;
}

double secondsSince(const QElapsedTimer& clock)
{
    return clock.nsecsElapsed() / 1e9;
}

void reloadFigure()
{
    say(QStringLiteral("== 1. full reload at 19200 baud (the unit answers at the line's pace)"));
    QTemporaryDir folder;
    Unit unit;
    if (!unit.start(folder.path(),
                    {QStringLiteral("--pace"), QStringLiteral("--baud"), QStringLiteral("19200")}))
        return say(QStringLiteral("tzr582-unit did not start"));
    FigurePrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    module.OrvConnection()->SetLinkPort(unit.path, 19200);
    module.OrvConnection()->LoadDll(); // loading the library is not the reload
    QElapsedTimer clock;
    clock.start();
    const int result = module.ConnectToUnit(LinkPort::Usb, 0);
    const double seconds = secondsSince(clock);
    int memoryItems = 0;
    for (TOrvSerialData* item : module.Items())
        if (auto* number = qobject_cast<TOrvNumber*>(item); number && number->ByAddress())
            ++memoryItems;
    module.ReleaseLink(false);
    const auto counts = unit.stop();
    const double lineSeconds = double(counts[1] + counts[2]) * 10.0 / 19200.0;
    say(QStringLiteral("connect and reload: result %1, %2 s (the program's own pauses, %3 ms, not made)")
            .arg(result)
            .arg(seconds, 0, 'f', 3)
            .arg(prompts.pausedMs));
    say(QStringLiteral(
            "exchanges %1 (connect to disconnect; one per memory item would be %2 for the memory alone)")
            .arg(counts[0])
            .arg(memoryItems));
    say(QStringLiteral("line bytes %1 in + %2 out = %3 s at 19200 baud; time / line time = %4")
            .arg(counts[1])
            .arg(counts[2])
            .arg(lineSeconds, 0, 'f', 3)
            .arg(seconds / lineSeconds, 0, 'f', 3));
}

// The reference configuration: changed values saved on a clean line.
void makeReference(const QString& file)
{
    QTemporaryDir folder;
    Unit clean;
    clean.start(folder.path(), {});
    FigurePrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    module.OrvConnection()->SetLinkPort(clean.path, 19200);
    module.ConnectToUnit(LinkPort::Usb, 0);
    module.Number(QStringLiteral("TPS_PER_AFFONDATA"))->SetData(3.2);
    module.Number(QStringLiteral("RITARDO_LETTURA_SONDA"))->SetData(60);
    module.Number(QStringLiteral("TIPO_ACCENSIONE"))->SetData(2);
    module.SaveConfiguration(file);
    module.ReleaseLink(false);
}

struct SequenceResult {
    QByteArray memory; // the unit's memory after the load
    QByteArray saved;  // the INI text saved after the reload
};

// Connect and reload, load the reference, reload and save, update the
// firmware, on a unit started with options; the times are printed when told.
SequenceResult runSequence(const QString& reference, const QString& saveFile, const QStringList& options,
                           bool report)
{
    SequenceResult out;
    QTemporaryDir folder;
    Unit unit;
    if (!unit.start(folder.path(), options)) {
        say(QStringLiteral("tzr582-unit did not start"));
        return out;
    }
    FigurePrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    module.OrvConnection()->SetLinkPort(unit.path, 19200);
    auto note = [&](const QString& line) {
        if (report)
            say(line);
    };
    QElapsedTimer clock;
    clock.start();
    const int connected = module.ConnectToUnit(LinkPort::Usb, 0);
    note(QStringLiteral("connect and reload: result %1, connected %2, %3 s")
             .arg(connected)
             .arg(module.IsUnitConnected())
             .arg(secondsSince(clock), 0, 'f', 3));
    clock.restart();
    const bool loaded = module.LoadConfiguration(reference);
    out.memory = memoryOf(folder.path());
    note(QStringLiteral("load: %1, %2 s").arg(loaded).arg(secondsSince(clock), 0, 'f', 3));
    clock.restart();
    for (TOrvSerialData* item : module.Items())
        item->Load();
    const bool saved = module.SaveConfiguration(saveFile);
    out.saved = iniOf(saveFile);
    note(QStringLiteral("reload and save: %1, %2 s").arg(saved).arg(secondsSince(clock), 0, 'f', 3));
    clock.restart();
    prompts.messages.clear();
    module.ReprogramFirmware();
    uint8_t identity[8] = {};
    module.OrvConnection()->Instance()->ReadIdentity(identity);
    note(QStringLiteral("firmware update: \"%1\", firmware %2 after it, %3 s")
             .arg(prompts.messages.join(QStringLiteral(" / ")))
             .arg(identity[3])
             .arg(secondsSince(clock), 0, 'f', 3));
    module.ReleaseLink(false);
    const auto counts = unit.stop();
    note(QStringLiteral("the unit saw %1 requests (retries included), %2 bytes in, %3 bytes out")
             .arg(counts[0])
             .arg(counts[1])
             .arg(counts[2]));
    return out;
}

void noisyOperationsFigure()
{
    say(QStringLiteral(
        "== 2. reload, save, load, firmware update with 1 % of the bytes dropped and 1 % corrupted"));
    QTemporaryDir files;
    const QString reference = files.filePath(QStringLiteral("reference.tcn"));
    makeReference(reference);
    const SequenceResult clean =
        runSequence(reference, files.filePath(QStringLiteral("clean.tcn")), {}, false);
    const SequenceResult noisy =
        runSequence(reference, files.filePath(QStringLiteral("noisy.tcn")), Noise, true);
    say(QStringLiteral(
            "against the same operations on a clean line: memory after the load equal %1, saved file "
            "equal %2")
            .arg(!clean.memory.isEmpty() && noisy.memory == clean.memory)
            .arg(!clean.saved.isEmpty() && noisy.saved == clean.saved));
}

void killedUnitFigure()
{
    say(QStringLiteral("== 3. the unit killed in the middle of a load (19200 baud, paced)"));
    QTemporaryDir folder;
    QTemporaryDir files;
    const QString link = files.filePath(QStringLiteral("unit-port"));
    const QString file = files.filePath(QStringLiteral("unit.tcn"));
    const QStringList paced = {QStringLiteral("--pace"), QStringLiteral("--baud"), QStringLiteral("19200")};
    FigurePrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    module.OrvConnection()->SetLinkPort(link, 19200);
    Unit unit;
    unit.start(folder.path(), paced, link);
    module.ConnectToUnit(LinkPort::Usb, 0);
    module.SaveConfiguration(file);
    module.ReleaseLink(false);
    // Every byte of the unit one off from the file, so that the load has
    // every entry to write.
    QByteArray changed = readMemory(unit.path);
    unit.stop();
    const QString memoryFile = QDir(folder.path()).filePath(QStringLiteral("simunit-memory.bin"));
    for (char& byte : changed)
        byte = char(uint8_t(byte) ^ 1);
    QFile memory(memoryFile);
    if (!memory.open(QIODevice::WriteOnly) || memory.write(changed) != changed.size())
        return say(QStringLiteral("cannot write %1").arg(memoryFile));
    memory.close();
    unit.start(folder.path(), paced, link);
    module.ConnectToUnit(LinkPort::Usb, 0);

    QElapsedTimer clock;
    std::atomic<qint64> killedAt{-1};
    std::atomic<bool> loadDone{false};
    qint64 lostAt = -1;
    QObject::connect(module.OrvConnection(), &TOrvConnection::LinkMessage,
                     [&](int message, quintptr, qintptr lParam) {
                         if (message == WindowMessage::WMLinkState && lParam == 0 && lostAt < 0)
                             lostAt = clock.nsecsElapsed();
                     });
    const pid_t pid = pid_t(unit.pid());
    clock.start();
    // The unit dies once the load has written five of its bytes (the load
    // backs the unit up first, which writes nothing).
    std::thread killer([&] {
        while (!loadDone) {
            const QByteArray now = memoryOf(folder.path());
            int written = 0;
            for (int i = 0; i < qMin(now.size(), changed.size()); ++i)
                written += now[i] != changed[i];
            if (written >= 5) {
                killedAt = clock.nsecsElapsed();
                ::kill(pid, SIGKILL);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    prompts.messages.clear();
    const bool loaded = module.LoadConfiguration(file);
    const double loadSeconds = secondsSince(clock);
    loadDone = true;
    killer.join();
    unit.stop();
    const int named =
        prompts.messages.isEmpty() ? 0 : int(prompts.messages.last().count(QLatin1Char('\n'))) - 1;
    say(QStringLiteral(
            "load: %1, returned after %2 s; lost link reported %3 ms after the kill; entries named "
            "as not written: %4")
            .arg(killedAt < 0 ? QStringLiteral("%1 (finished before the kill)").arg(loaded)
                              : QString::number(loaded))
            .arg(loadSeconds, 0, 'f', 3)
            .arg(lostAt < 0 ? -1.0 : (lostAt - killedAt) / 1e6, 0, 'f', 1)
            .arg(named));
    Unit back;
    back.start(folder.path(), paced, link);
    const int again = module.ConnectToUnit(LinkPort::Usb, 0);
    say(QStringLiteral("the unit back on the same path: connect result %1, connected %2")
            .arg(again)
            .arg(module.IsUnitConnected()));
    module.ReleaseLink(false);
}

void exchangesFigure(long long total)
{
    say(QStringLiteral("== 4. %1 exchanges with 1 % of the bytes dropped and 1 % corrupted").arg(total));
    QTemporaryDir folder;
    Unit unit;
    if (!unit.start(folder.path(), Noise))
        return say(QStringLiteral("tzr582-unit did not start"));
    SerialLine line;
    if (line.open(unit.path, 19200) != SerialLine::OpenResult::Opened)
        return say(QStringLiteral("cannot open %1").arg(unit.path));
    WireTiming timing;
    timing.marginMs = 4; // the pseudo-terminal answers at once: short waits for the lost frames
    WireClient client(line, timing);
    QByteArray answer;
    client.exchange(WireCommand::Connect, {}, 1, 1, &answer);

    // Reads of the memory (factory content, as the file starts) and writes and
    // reads of the vector datum (8 bytes, code 10), each checked. A write given
    // up may or may not have reached the unit: its element is unknown (-1)
    // until it is written again.
    std::array<int, 8> vector = {10, 20, 30, 40, 50, 60, 70, 80};
    std::mt19937 random(3);
    long long wrong = 0, lost = 0, values = 0;
    QElapsedTimer clock;
    clock.start();
    // The memory as it starts, in blocks of 16 bytes: on this line a frame of
    // 256 bytes hardly ever arrives whole.
    QByteArray factory;
    for (int start = 0; start < 256; start += 16) {
        if (client.exchange(WireCommand::ReadBlock, WirePayloadWriter().u16(uint16_t(start)).u16(16).data(),
                            17, 17, &answer) != WireClient::Outcome::Answered)
            return say(QStringLiteral("the unit's memory could not be read"));
        factory += answer.mid(1);
    }
    for (long long i = 1; i < total; ++i) {
        const int kind = int(i % 4);
        QByteArray payload;
        int size = 0;
        uint8_t command = 0;
        const int index = int(random() % 8);
        const int value = int(random() % 256);
        const int address = int(random() % 240);
        switch (kind) {
        case 0:
            command = WireCommand::WriteIndexed;
            payload = WirePayloadWriter().u32(10).i32(index).i32(value).data();
            size = 2;
            break;
        case 1:
            command = WireCommand::ReadValue;
            payload = WirePayloadWriter().u32(0x08100 | 10).data();
            size = 1 + 32;
            break;
        case 2:
            command = WireCommand::ReadAddress;
            payload = WirePayloadWriter().u32(0).i32(address).data();
            size = 5;
            break;
        default:
            command = WireCommand::ReadBlock;
            payload = WirePayloadWriter().u16(uint16_t(address)).u16(16).data();
            size = 17;
            break;
        }
        if (client.exchange(command, payload, size, size, &answer) != WireClient::Outcome::Answered) {
            ++lost;
            if (kind == 0)
                vector[size_t(index)] = -1;
            continue;
        }
        WirePayloadReader in(answer);
        uint8_t status = 0;
        in.u8(&status);
        std::vector<int> got;
        switch (kind) {
        case 0:
            vector[size_t(index)] = value;
            break;
        case 1:
            in.values(8, &got);
            for (int k = 0; k < 8; ++k) {
                if (vector[size_t(k)] < 0)
                    continue;
                ++values;
                wrong += got[size_t(k)] != vector[size_t(k)];
            }
            break;
        case 2: {
            int32_t v = 0;
            in.i32(&v);
            ++values;
            wrong += v != uint8_t(factory[address]);
            break;
        }
        default:
            values += 16;
            wrong += answer.mid(1) != factory.mid(address, 16);
            break;
        }
    }
    const double seconds = secondsSince(clock);
    line.close();
    const auto counts = unit.stop();
    say(QStringLiteral(
            "exchanges %1, attempts %2 (%3 per exchange), exchanges given up %4, values checked %5, "
            "wrong values accepted %6, frames refused by the requester %7, %8 s")
            .arg(client.exchanges())
            .arg(client.attempts())
            .arg(double(client.attempts()) / double(client.exchanges()), 0, 'f', 3)
            .arg(lost)
            .arg(values)
            .arg(wrong)
            .arg(client.decoder().faults())
            .arg(seconds, 0, 'f', 1));
    say(QStringLiteral("the unit saw %1 requests, %2 bytes in, %3 bytes out")
            .arg(counts[0])
            .arg(counts[1])
            .arg(counts[2]));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the in-process simulated unit never touches the user's file
    const long long total = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 100000;
    const QString sections = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("1234");
    if (sections.contains(u'1'))
        reloadFigure();
    if (sections.contains(u'2'))
        noisyOperationsFigure();
    if (sections.contains(u'3'))
        killedUnitFigure();
    if (sections.contains(u'4'))
        exchangesFigure(total);
    return 0;
}
