// The exports of the link library libSerOrvDL.so (C linkage, found by name).

#include "link/LinkInstance.h"
#include "simunit/SimExport.h"
#include "simunit/SimUnitControl.h"
#include "simunit/SimUnitHost.h"

#include <QString>

namespace {
constexpr FILE_VERSION_DATA LibraryVersion = {5, 1, 0, 0};
}

extern "C" {

SIMUNIT_EXPORT LinkInstance* _CreateClassInstance()
{
    return SimUnitHost::instance().createLink();
}

SIMUNIT_EXPORT void _DestroyClassInstance(LinkInstance* instance)
{
    if (instance && SimUnitHost::alive())
        SimUnitHost::instance().destroyLink(instance);
    // Once the unit is gone (library unloading, process exit) its link objects went with it.
}

SIMUNIT_EXPORT bool _GetDLLVersion(FILE_VERSION_DATA* version)
{
    if (!version)
        return false;
    *version = LibraryVersion;
    return true;
}

SIMUNIT_EXPORT void _SetMessageSink(TLinkMessageSink sink, void* context)
{
    SimUnitHost::instance().setMessageSink(sink, context);
}

SIMUNIT_EXPORT void _SetLinkPort(const char* path, int baud)
{
    SimUnitHost::instance().setLinkPort(QString::fromUtf8(path ? path : ""), baud);
}

SIMUNIT_EXPORT SimUnitControl* _GetSimUnitControl()
{
    return &SimUnitHost::instance();
}

} // extern "C"
