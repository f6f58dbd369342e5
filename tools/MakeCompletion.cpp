// Makes the bash completion of tzr582-cli at build time from the tool's own
// command table and the catalogue's item names, so that it never lags behind:
//
//   tzr582-mkcompletion TEMPLATE OUTPUT
//
// The line "@COMPLETION_DATA@" of the template becomes bash assignments:
// tzr_groups, tzr_single (the groups that are one command, such as "report"),
// tzr_commands[group], tzr_options["group command"] (["group"] for a single
// command), tzr_all_options (every command's), tzr_valued (the options that
// take a value) and tzr_items.

#include "app/cli/CommandLine.h"
#include "items/OrvSerialData.h"
#include "model/SerialDataModule.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <cstdio>

namespace {

QString Quoted(const QStringList& words)
{
    return QLatin1Char('"') + words.join(QLatin1Char(' ')) + QLatin1Char('"');
}

QString CompletionData()
{
    QMap<QString, QStringList> commands;
    QStringList single;
    QString options;
    QStringList all;
    QStringList valued;
    for (const TCommandDefinition& command : TCommandLine::Commands()) {
        if (command.name.isEmpty())
            single << command.group;
        else
            commands[command.group] << command.name;
        QStringList names;
        for (const TOptionDefinition& option : command.options) {
            const QString name = QStringLiteral("--") + option.name;
            names << name;
            if (!all.contains(name))
                all << name;
            if (!option.valueName.isEmpty() && !valued.contains(name))
                valued << name;
        }
        const QString key = (command.group + u' ' + command.name).trimmed();
        options += QStringLiteral("tzr_options[\"%1\"]=%2\n").arg(key, Quoted(names));
    }
    QString data = QStringLiteral("tzr_groups=%1\n").arg(Quoted(commands.keys() + single));
    data += QStringLiteral("tzr_single=%1\n").arg(Quoted(single));
    data += QStringLiteral("tzr_all_options=%1\ntzr_valued=%2\n").arg(Quoted(all), Quoted(valued));
    for (auto group = commands.cbegin(); group != commands.cend(); ++group)
        data += QStringLiteral("tzr_commands[%1]=%2\n").arg(group.key(), Quoted(group.value()));
    data += options;
    TSerialDataModule module;
    QStringList items;
    for (const TOrvSerialData* item : module.Items())
        items << item->objectName();
    return data + QStringLiteral("tzr_items=%1\n").arg(Quoted(items));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TEMPLATE OUTPUT\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot read %s or write %s\n", argv[1], argv[2]);
        return 1;
    }
    const QString text =
        QString::fromUtf8(in.readAll()).replace(QStringLiteral("@COMPLETION_DATA@\n"), CompletionData());
    return out.write(text.toUtf8()) < 0 ? 1 : 0;
}
