#pragma once

// TOrvConnection owns the link library: it loads it on demand, checks its
// version, creates and destroys the library's object, and holds the lock under
// which data items talk to the unit.

#include "link/LinkInstance.h"

#include <QLibrary>
#include <QObject>
#include <QRecursiveMutex>
#include <QString>

class TOrvConnection : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool AutoLoadLibrary READ AutoLoadLibrary WRITE SetAutoLoadLibrary)
    Q_PROPERTY(QString DllName READ DllName WRITE SetDllName)

public:
    explicit TOrvConnection(QObject* owner = nullptr);
    ~TOrvConnection() override;

    bool LoadDll();
    void UnloadDll();
    bool ControllaVersioneDll();
    bool GetDllVersion(FILE_VERSION_DATA* out);

    QString DllName() const { return m_dllName; }
    // Ignored while the library is loaded; takes effect on the next LoadDll.
    void SetDllName(const QString& name);
    bool AutoLoadLibrary() const { return m_autoLoadLibrary; }
    void SetAutoLoadLibrary(bool on) { m_autoLoadLibrary = on; }

    // The port the library reaches the unit on when port 4 is selected: a serial
    // port's path at baud bits per second, or an empty path for the simulated
    // unit. Handed to the library now when it is loaded, else when it loads.
    void SetLinkPort(const QString& path, int baud);
    QString LinkPortPath() const { return m_linkPortPath; }

    LinkInstance* Instance() const { return m_instance; }
    bool DllLoaded() const { return m_dllLoaded; }
    // True when the library is loaded and reports a connected unit.
    bool IsUnitConnected() const;

    // The re-entrant lock held around every exchange of an item with the unit.
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }

    // The file the library name stands for on this platform: a name ending in
    // ".dll" is the shared object lib<name>.so; a bare name is looked for in the
    // program's library folder first (support/ProgramFolders.h), then through the
    // dynamic loader's search.
    static QString LibraryFileFor(const QString& dllName);

signals:
    // A window message reported by the library (0x8190 link state, 0x8191
    // progress), emitted synchronously on the thread that called the library.
    void LinkMessage(int message, quintptr wParam, qintptr lParam);

private:
    static void MessageSink(void* context, unsigned int message, uintptr_t wParam, intptr_t lParam);
    void FreeLibrary();
    void PassLinkPort();

    bool m_autoLoadLibrary = true;
    QString m_dllName = QStringLiteral("SerOrvDL.dll");
    QLibrary m_library;
    bool m_dllLoaded = false;
    LinkInstance* m_instance = nullptr;
    TCreateClassInstance m_createClassInstance = nullptr;
    TDestroyClassInstance m_destroyClassInstance = nullptr;
    TGetDLLVersion m_getDllVersion = nullptr;
    TSetMessageSink m_setMessageSink = nullptr;
    TSetLinkPort m_setLinkPort = nullptr;
    QString m_linkPortPath;
    int m_linkPortBaud = 19200;
    QRecursiveMutex m_lock;
};

// Holds the connection's lock for its lifetime; does nothing without a connection.
class TConnectionLocker {
public:
    explicit TConnectionLocker(TOrvConnection* connection) : m_connection(connection)
    {
        if (m_connection)
            m_connection->Lock();
    }
    ~TConnectionLocker()
    {
        if (m_connection)
            m_connection->Unlock();
    }
    TConnectionLocker(const TConnectionLocker&) = delete;
    TConnectionLocker& operator=(const TConnectionLocker&) = delete;

private:
    TOrvConnection* m_connection;
};
