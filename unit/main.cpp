// tzr582-unit: the simulated control unit as a program of its own, answering
// the wire protocol on a serial port or on a pseudo-terminal it creates.

#include "simunit/SimulatedUnit.h"
#include "simunit/UnitLock.h"
#include "unit/LineFaults.h"
#include "unit/UnitPort.h"
#include "unit/UnitServer.h"
#include "wire/WireFrame.h"
#include "wire/WireProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

struct Options {
    QString port;
    bool pty = false;
    QString link;
    QString dataFolder;
    int baud = 19200;
    bool pace = false;
    double drop = 0;
    double corrupt = 0;
    int delayMs = 0;
    long long silentAfter = -1;
    long long exitAfter = -1;
    int ignoredAddress = -1;
    bool bootLoader = false;
    unsigned seed = 1;
    EngineBehaviour engine = EngineBehaviour::Healthy;
};

bool parse(QCoreApplication& app, Options* o)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves the simulated TZR582 control unit over a serial line (wire/PROTOCOL.md)."));
    parser.addHelpOption();
    const QCommandLineOption pty(
        QStringLiteral("pty"), QStringLiteral("Create a pseudo-terminal and print the path to connect to."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Serve on this serial port."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also make PATH a symbolic link to the pseudo-terminal."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption data(
        QStringLiteral("data"),
        QStringLiteral("Folder of the unit's memory file (default: the user's data folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Line rate (default 19200)."),
                                  QStringLiteral("N"), QStringLiteral("19200"));
    const QCommandLineOption pace(
        QStringLiteral("pace"),
        QStringLiteral("Answer no sooner than the line rate allows (for a pseudo-terminal)."));
    const QCommandLineOption drop(QStringLiteral("drop"),
                                  QStringLiteral("Drop this percentage of the bytes."),
                                  QStringLiteral("PERCENT"), QStringLiteral("0"));
    const QCommandLineOption corrupt(QStringLiteral("corrupt"),
                                     QStringLiteral("Corrupt this percentage of the bytes."),
                                     QStringLiteral("PERCENT"), QStringLiteral("0"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("Wait MS before each answer."),
                                   QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption silent(QStringLiteral("silent-after"),
                                    QStringLiteral("Stop answering after N requests."), QStringLiteral("N"));
    const QCommandLineOption exitAfter(QStringLiteral("exit-after"),
                                       QStringLiteral("Exit at once when request N + 1 arrives."),
                                       QStringLiteral("N"));
    const QCommandLineOption ignoreWrite(
        QStringLiteral("ignore-write"),
        QStringLiteral("Answer writes to memory byte ADDRESS as done without storing them."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption bootLoader(
        QStringLiteral("boot-loader"),
        QStringLiteral("Start in the boot loader, as a unit whose firmware update was cut short."));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the faults (default 1)."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption engine(
        QStringLiteral("engine"),
        QStringLiteral(
            "How the engine behaves: healthy, lean, dead-sensor or far-default (default healthy)."),
        QStringLiteral("NAME"), QStringLiteral("healthy"));
    parser.addOptions({pty, port, link, data, baud, pace, drop, corrupt, delay, silent, exitAfter,
                       ignoreWrite, bootLoader, seed, engine});
    parser.process(app);

    o->pty = parser.isSet(pty);
    o->port = parser.value(port);
    if (o->pty == !o->port.isEmpty()) {
        std::fprintf(stderr, "tzr582-unit: give either --pty or --port PATH\n");
        return false;
    }
    o->link = parser.value(link);
    o->dataFolder = parser.value(data);
    o->baud = parser.value(baud).toInt();
    o->pace = parser.isSet(pace);
    o->drop = parser.value(drop).toDouble() / 100.0;
    o->corrupt = parser.value(corrupt).toDouble() / 100.0;
    o->delayMs = parser.value(delay).toInt();
    o->silentAfter = parser.isSet(silent) ? parser.value(silent).toLongLong() : -1;
    o->exitAfter = parser.isSet(exitAfter) ? parser.value(exitAfter).toLongLong() : -1;
    o->seed = parser.value(seed).toUInt();
    if (!EngineModel::BehaviourFromName(qPrintable(parser.value(engine)), &o->engine)) {
        std::fprintf(stderr, "tzr582-unit: no engine behaviour is called '%s'\n",
                     qPrintable(parser.value(engine)));
        return false;
    }
    o->bootLoader = parser.isSet(bootLoader);
    bool addressOk = true;
    if (parser.isSet(ignoreWrite)) {
        o->ignoredAddress = parser.value(ignoreWrite).toInt(&addressOk);
        addressOk = addressOk && o->ignoredAddress >= 0;
    }
    if (o->baud <= 0) {
        std::fprintf(stderr, "tzr582-unit: the line rate must be positive\n");
        return false;
    }
    if (!addressOk || o->ignoredAddress > 255) {
        std::fprintf(stderr, "tzr582-unit: --ignore-write needs a memory address from 0 to 255\n");
        return false;
    }
    return true;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tzr582-unit"));
    Options o;
    if (!parse(app, &o))
        return 2;

    SimulatedUnit unit;
    unit.setEngineBehaviour(o.engine);
    if (!o.dataFolder.isEmpty())
        unit.setDataFolder(o.dataFolder);
    UnitLock lock;
    if (!lock.acquire(UnitLock::PathFor(unit.memoryFilePath()))) {
        std::fprintf(stderr, "tzr582-unit: the simulated unit (%s) is in use by another program\n",
                     qPrintable(unit.memoryFilePath()));
        return 1;
    }
    unit.reloadMemory();
    unit.setBootLoaderMode(o.bootLoader);

    UnitPort port;
    QString path = o.port;
    QString error;
    const bool opened = o.pty ? port.openPty(&path, &error) : port.openSerial(o.port, o.baud, &error);
    if (!opened) {
        std::fprintf(stderr, "tzr582-unit: cannot open %s: %s\n",
                     qPrintable(o.pty ? QStringLiteral("a pseudo-terminal") : o.port), qPrintable(error));
        return 1;
    }
    if (!o.link.isEmpty()) {
        QFile::remove(o.link);
        if (!QFile::link(path, o.link)) {
            std::fprintf(stderr, "tzr582-unit: cannot make the link %s\n", qPrintable(o.link));
            return 1;
        }
    }
    std::printf("%s\n", qPrintable(o.link.isEmpty() ? path : o.link));
    std::fflush(stdout);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    UnitServer server(unit);
    server.ignoreWritesTo(o.ignoredAddress);
    LineFaults faults(o.drop, o.corrupt, o.seed);
    WireDecoder decoder;
    const double byteTimeUs = 10e6 / o.baud;
    long long requests = 0;
    long long bytesIn = 0;
    long long bytesOut = 0;
    char buffer[4096];
    while (!g_stop) {
        pollfd p{port.fd(), POLLIN, 0};
        const int ready = ::poll(&p, 1, 500);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue;
        const ssize_t n = ::read(port.fd(), buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break; // the serial port went away
        bytesIn += n;
        const int faultsBefore = decoder.faults();
        decoder.feed(faults.apply(QByteArray(buffer, int(n))));
        if (decoder.faults() != faultsBefore && !(o.silentAfter >= 0 && requests >= o.silentAfter)) {
            // A damaged frame: the requester sends it again at once.
            const QByteArray nak = Wire::EncodeFrame(WireFrame{0, WireCommand::Nak, {}});
            bytesOut += nak.size();
            if (!writeAll(port.fd(), faults.apply(nak)))
                g_stop = 1;
        }
        WireFrame request;
        while (decoder.take(&request)) {
            ++requests;
            if (o.exitAfter >= 0 && requests > o.exitAfter)
                _exit(3); // dies in the middle of a transfer, as a unit whose power is cut
            if (o.silentAfter >= 0 && requests > o.silentAfter)
                continue;
            const QByteArray answer = Wire::EncodeFrame(server.answer(request));
            int waitUs = o.delayMs * 1000;
            if (o.pace)
                waitUs += int((Wire::LineSize(request) + answer.size()) * byteTimeUs);
            if (waitUs > 0)
                QThread::usleep(unsigned(waitUs));
            bytesOut += answer.size();
            if (!writeAll(port.fd(), faults.apply(answer)))
                g_stop = 1;
        }
    }
    if (!o.link.isEmpty())
        QFile::remove(o.link);
    std::fprintf(stderr,
                 "tzr582-unit: %lld requests, %lld applied, %lld answered again, %d damaged frames, "
                 "%lld bytes in, %lld bytes out, %lld bytes dropped, %lld corrupted\n",
                 requests, server.applied(), server.repeated(), decoder.faults(), bytesIn, bytesOut,
                 faults.dropped(), faults.corrupted());
    return 0;
}
