// A small stand-in for the unit's link library, for the control tests: a memory
// of elements read and written at addresses (each holds the whole value written,
// one or two bytes), with switches that make reads or writes fail and that
// report error flags after a read.

#include "tests/common/NullLink.h"

#include <array>

namespace {

struct UnitState {
    std::array<int, 256> memory{};
    bool connected = true;
    bool failReads = false;
    bool failWrites = false;
    int readFlags = 0;
    int lastError = 0;
};

UnitState& State()
{
    static UnitState state;
    return state;
}

bool ValidAddress(int address)
{
    return address >= 0 && address < int(State().memory.size());
}

class FakeUnitLink final : public TNullLink {
public:
    int IsConnected() override { return State().connected ? 1 : 0; }
    int GetLastError() override { return State().lastError; }

    bool WriteAtAddress(uint32_t, int address, int value) override
    {
        State().lastError = 0;
        if (State().failWrites || !ValidAddress(address))
            return false;
        State().memory[address] = value;
        return true;
    }

    bool ReadAtAddress(uint32_t, int address, int* out) override
    {
        State().lastError = State().readFlags;
        if (State().failReads || !ValidAddress(address))
            return false;
        *out = State().memory[address];
        return true;
    }
};

} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT LinkInstance* _CreateClassInstance()
{
    return new FakeUnitLink;
}

FAKE_EXPORT void _DestroyClassInstance(LinkInstance* instance)
{
    delete static_cast<FakeUnitLink*>(instance);
}

FAKE_EXPORT bool _GetDLLVersion(FILE_VERSION_DATA* version)
{
    *version = {5, 0, 0, 0};
    return true;
}

FAKE_EXPORT void _SetMessageSink(TLinkMessageSink, void*) {}

// Test helpers.
FAKE_EXPORT void _FakeUnitReset()
{
    State() = UnitState();
}

FAKE_EXPORT int _FakeUnitPeek(int address)
{
    return ValidAddress(address) ? State().memory[address] : -1;
}

FAKE_EXPORT void _FakeUnitPoke(int address, int value)
{
    if (ValidAddress(address))
        State().memory[address] = value;
}

FAKE_EXPORT void _FakeUnitSwitches(bool failReads, bool failWrites, int readFlags)
{
    State().failReads = failReads;
    State().failWrites = failWrites;
    State().readFlags = readFlags;
}
