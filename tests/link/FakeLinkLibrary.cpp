// A minimal link library for the connection tests. It is built several times:
// with the version it reports (FAKE_MAJOR, FAKE_MINOR, FAKE_RELEASE, FAKE_BUILD)
// and, with FAKE_NO_CREATE, without the _CreateClassInstance export.
// It counts the calls the connection component makes, readable through
// _FakeCount, and reports link state through the message sink on demand.

#include "tests/common/NullLink.h"

#include <cstring>
#include <map>
#include <string>

namespace {

std::map<std::string, int>& Counts()
{
    static std::map<std::string, int> counts;
    return counts;
}

void Count(const char* name)
{
    ++Counts()[name];
}

TLinkMessageSink g_sink = nullptr;
void* g_context = nullptr;
bool g_connected = false;

class FakeLink final : public TNullLink {
public:
    int GetPort() override { return 4; }
    void ClosePort() override { Count("ClosePort"); }
    int IsConnected() override { return g_connected ? 1 : 0; }
    void DisconnectUnit() override
    {
        Count("DisconnectUnit");
        g_connected = false;
    }
};

} // namespace

extern "C" {

#ifndef FAKE_NO_CREATE
__attribute__((visibility("default"))) LinkInstance* _CreateClassInstance()
{
    Count("Create");
    return new FakeLink;
}
#endif

__attribute__((visibility("default"))) void _DestroyClassInstance(LinkInstance* instance)
{
    Count("Destroy");
    delete static_cast<FakeLink*>(instance);
}

__attribute__((visibility("default"))) bool _GetDLLVersion(FILE_VERSION_DATA* version)
{
    *version = {FAKE_MAJOR, FAKE_MINOR, FAKE_RELEASE, FAKE_BUILD};
    return true;
}

__attribute__((visibility("default"))) void _SetMessageSink(TLinkMessageSink sink, void* context)
{
    g_sink = sink;
    g_context = context;
}

// Test helpers.
__attribute__((visibility("default"))) int _FakeCount(const char* name)
{
    return Counts()[name];
}

__attribute__((visibility("default"))) void _FakeSetConnected(bool connected)
{
    g_connected = connected;
    if (g_sink)
        g_sink(g_context, 0x8190, 0, connected ? 1 : 0);
}
}
