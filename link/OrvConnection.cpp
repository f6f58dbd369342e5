#include "link/OrvConnection.h"

#include "support/ProgramFolders.h"

#include <QCoreApplication>
#include <QFileInfo>

TOrvConnection::TOrvConnection(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("OrvConnection"));
}

TOrvConnection::~TOrvConnection()
{
    if (m_dllLoaded)
        UnloadDll();
}

QString TOrvConnection::LibraryFileFor(const QString& dllName)
{
    QString name = dllName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive)) {
        const QFileInfo info(name);
        const QString file = QStringLiteral("lib") + info.completeBaseName() + QStringLiteral(".so");
        name = name.contains(QLatin1Char('/')) ? info.path() + QLatin1Char('/') + file : file;
    }
    // A bare name is looked for in the program's library folder first (beside
    // the executable in a build tree), as the system's library search looks
    // beside the executable for a program on its home platform.
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && QCoreApplication::instance()) {
        const QString programs = TProgramFolders::OfThisProgram().Library() + name;
        if (QFileInfo::exists(programs))
            return programs;
    }
    return name;
}

void TOrvConnection::SetDllName(const QString& name)
{
    if (!m_dllLoaded)
        m_dllName = name;
}

bool TOrvConnection::LoadDll()
{
    if (m_dllLoaded)
        return true;
    m_library.setFileName(LibraryFileFor(m_dllName));
    if (m_library.fileName().isEmpty() || !m_library.load())
        return false;

    m_createClassInstance =
        reinterpret_cast<TCreateClassInstance>(m_library.resolve(LinkExport::CreateClassInstance));
    m_destroyClassInstance =
        reinterpret_cast<TDestroyClassInstance>(m_library.resolve(LinkExport::DestroyClassInstance));
    m_getDllVersion = reinterpret_cast<TGetDLLVersion>(m_library.resolve(LinkExport::GetDLLVersion));
    m_setMessageSink = reinterpret_cast<TSetMessageSink>(m_library.resolve(LinkExport::SetMessageSink));
    m_setLinkPort = reinterpret_cast<TSetLinkPort>(m_library.resolve(LinkExport::SetLinkPort));

    if (!m_createClassInstance || !m_destroyClassInstance || !m_getDllVersion || !ControllaVersioneDll()) {
        FreeLibrary();
        return false;
    }
    m_instance = m_createClassInstance();
    if (!m_instance) {
        FreeLibrary();
        return false;
    }
    if (m_setMessageSink)
        m_setMessageSink(&TOrvConnection::MessageSink, this);
    PassLinkPort();
    m_dllLoaded = true;
    return true;
}

void TOrvConnection::UnloadDll()
{
    if (!m_dllLoaded)
        return;
    TConnectionLocker locker(this);
    if (m_instance->IsConnected())
        m_instance->DisconnectUnit();
    else
        m_instance->ClosePort();
    m_destroyClassInstance(m_instance);
    m_instance = nullptr;
    FreeLibrary();
}

void TOrvConnection::FreeLibrary()
{
    if (m_setMessageSink)
        m_setMessageSink(nullptr, nullptr);
    m_instance = nullptr;
    m_createClassInstance = nullptr;
    m_destroyClassInstance = nullptr;
    m_getDllVersion = nullptr;
    m_setMessageSink = nullptr;
    m_setLinkPort = nullptr;
    m_dllLoaded = false;
    if (m_library.isLoaded())
        m_library.unload();
}

void TOrvConnection::SetLinkPort(const QString& path, int baud)
{
    m_linkPortPath = path;
    m_linkPortBaud = baud;
    if (m_dllLoaded)
        PassLinkPort();
}

void TOrvConnection::PassLinkPort()
{
    if (m_setLinkPort)
        m_setLinkPort(m_linkPortPath.toUtf8().constData(), m_linkPortBaud);
}

bool TOrvConnection::ControllaVersioneDll()
{
    FILE_VERSION_DATA version{};
    if (!m_getDllVersion || !m_getDllVersion(&version))
        return false;
    return version.Major >= 5;
}

bool TOrvConnection::GetDllVersion(FILE_VERSION_DATA* out)
{
    if (!m_dllLoaded || !out || !m_getDllVersion)
        return false;
    return m_getDllVersion(out);
}

bool TOrvConnection::IsUnitConnected() const
{
    return m_dllLoaded && m_instance && m_instance->IsConnected() != 0;
}

void TOrvConnection::MessageSink(void* context, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
    if (auto* connection = static_cast<TOrvConnection*>(context))
        emit connection->LinkMessage(int(message), quintptr(wParam), qintptr(lParam));
}
