#pragma once

// One program at a time per user and display. The first start listens on a local
// socket in the user's runtime folder; a later start hands that program its
// configuration file (or nothing, to bring it to the front) and ends.
//
// The exchange is one line each way: the later start sends the file's absolute
// path in UTF-8 (an empty line for none), the running program answers "ok".

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject {
    Q_OBJECT

public:
    enum class HandOverResult {
        NoneRunning, // nobody listens: this start is the program
        HandedOver,  // the running program took the file
        NoAnswer,    // a program listens but did not take the file in time
    };

    // serverName: the socket's path, ServerNameForThisDisplay() for the program.
    explicit TSingleInstance(const QString& serverName, QObject* parent = nullptr);

    // The socket of this user on this display (and platform).
    static QString ServerNameForThisDisplay();

    // Offers file (absolute, or empty) to a program already running.
    HandOverResult HandOver(const QString& file, int timeoutMs = 5000) const;
    // Starts taking later starts' files (after HandOver found none running: a
    // socket left by a program that ended abnormally is replaced).
    bool Listen();

signals:
    // A later start handed this file over; empty when it named none.
    void FileHandedOver(const QString& file);

private:
    void Accept();
    void Answer(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr; // a child of this object
};
