// The man page of tzr582-cli is written by hand: it must keep up with the
// tool's command table, every command and every option described.

#include "app/cli/CommandLine.h"

#include <QFile>
#include <QTest>

class TestManPage : public QObject {
    Q_OBJECT

private slots:
    void describesEveryCommandAndOption();
};

void TestManPage::describesEveryCommandAndOption()
{
    QFile file(QStringLiteral(MAN_PAGE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    for (const TCommandDefinition& command : TCommandLine::Commands()) {
        // A command's entry: its name in bold at the start of a line.
        const QString entry = QStringLiteral("\n*%1*").arg((command.group + u' ' + command.name).trimmed());
        QVERIFY2(page.contains(entry), qPrintable(entry));
        for (const TOptionDefinition& option : command.options) {
            const QString name = QStringLiteral("\n*--%1*").arg(option.name);
            QVERIFY2(page.contains(name), qPrintable(name));
        }
    }
    QVERIFY(page.contains("\n*--version*"));
}

QTEST_GUILESS_MAIN(TestManPage)
#include "tst_manpage.moc"
