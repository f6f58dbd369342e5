#pragma once

// The command line of the configurator:
//
//     tzr582 [--new-instance] [FILE]
//                            starts the program; FILE, a configuration file, is
//                            offered for loading once a unit is connected. A
//                            program already running for the user on this display
//                            is handed FILE instead, unless --new-instance is given
//     tzr582 --help | -h     says what the program is and which files it uses
//     tzr582 --version       prints the version
//
// The words are parsed before the application object exists, so that help,
// version and usage errors need no display; the toolkit's own options (such as
// -platform NAME) are passed over here and taken by the application object.

#include <QString>
#include <QStringList>

class TProgramFolders;

struct TProgramArguments {
    enum class Outcome { Run, Help, Version, UsageError };

    Outcome outcome = Outcome::Run;
    QString file;             // the configuration file to offer, absolute; empty for none
    QString error;            // what is wrong, for a usage error
    bool newInstance = false; // --new-instance: run beside a program already running

    // Parses the words after the program's name; a relative FILE is taken from
    // the current folder.
    static TProgramArguments Parse(const QStringList& words);

    // The texts for stdout (help, version) and stderr (usage error).
    static QString HelpText(const TProgramFolders& folders);
    static QString VersionText();
    QString UsageErrorText() const;
};
