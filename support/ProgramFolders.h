#pragma once

// Where the program finds its files, decided from the folder of its executable.
//
// In a build tree everything lies beside the executable. An installed tree
// (cmake --install, or the Debian package under /usr) keeps the executables in
// PREFIX/bin, the link library in PREFIX/lib/tzr582 and the program's data
// (ConfigBase.rcc, Dizionario/Languages.lng) in PREFIX/share/tzr582. The tree is
// an installed one when that data folder exists next to the executable's
// folder; nothing else (no environment variable, no fixed prefix) is consulted,
// so an installed tree can be moved anywhere.

#include <QString>

class TProgramFolders {
public:
    // executableFolder: the folder the executable lies in.
    explicit TProgramFolders(const QString& executableFolder);
    // The folders of the running program (QCoreApplication must exist).
    static TProgramFolders OfThisProgram();

    bool IsInstalled() const { return m_installed; }
    // Each folder ends with a separator.
    QString Library() const { return m_library; }
    QString Data() const { return m_data; }
    // The folder configuration files are saved to and opened from by default:
    // "Configurazioni" beside the executable in a build tree; in an installed
    // tree, where the program's folders are not the user's to write,
    // "TZR582/Configurazioni" in the user's documents folder.
    QString Configurations() const;

private:
    bool m_installed = false;
    QString m_executable;
    QString m_library;
    QString m_data;
};
