#pragma once

// Helpers shared by the control tests: a pinned locale, an observed error sound,
// a shown and active window, and a stand-in unit behind a connection.

#include "controls/ErrorSound.h"
#include "items/OrvNumber.h"
#include "link/OrvConnection.h"
#include "link/WindowMessage.h"

#include <QFile>
#include <QLocale>
#include <QTest>
#include <QWidget>
#include <dlfcn.h>

// Pins the default locale for the scope: comma true is a comma decimal
// separator (German), false a point (English).
class LocaleScope {
public:
    explicit LocaleScope(bool comma) : m_before(QLocale())
    {
        QLocale::setDefault(comma ? QLocale(QLocale::German, QLocale::Germany)
                                  : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    ~LocaleScope() { QLocale::setDefault(m_before); }

private:
    QLocale m_before;
};

// Counts the error sounds played in the scope instead of playing them.
class SoundCounter {
public:
    SoundCounter() : m_before(TErrorSound::SetHandler([this] { ++count; })) {}
    ~SoundCounter() { TErrorSound::SetHandler(m_before); }
    int count = 0;

private:
    TErrorSound::Handler m_before;
};

// Delivers a window message the way items do.
inline void SendMessage(QObject* receiver, int message, uintptr_t wParam, intptr_t lParam)
{
    TWindowMessage event(message, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
}

// Shows the window and waits until it is the active window, so that focus
// changes take effect.
inline bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// A stand-in unit (the FakeUnit library built beside the tests) behind a
// connection: a memory that items bound by address read and write, with
// switches that make reads or writes fail or report error flags.
class FakeUnit {
    template <class Function, class... Args> auto Call(const char* name, Args... args)
    {
        return reinterpret_cast<Function>(dlsym(m_handle, name))(args...);
    }

public:
    // The library is held open through the dynamic loader itself, so that it
    // stays loaded whatever the connections do with it.
    FakeUnit()
        : m_handle(dlopen(
              QFile::encodeName(TOrvConnection::LibraryFileFor(QStringLiteral("FakeUnit.dll"))).constData(),
              RTLD_NOW))
    {
        connection.SetDllName(QStringLiteral("FakeUnit.dll"));
        Call<void (*)()>("_FakeUnitReset");
    }
    ~FakeUnit()
    {
        connection.UnloadDll();
        dlclose(m_handle);
    }
    FakeUnit(const FakeUnit&) = delete;
    FakeUnit& operator=(const FakeUnit&) = delete;

    // Binds the item to the unit element at the address.
    void Bind(TOrvNumber& item, int address)
    {
        item.SetConnection(&connection);
        item.SetByAddress(true);
        item.SetAddress(address);
    }
    int Peek(int address) { return Call<int (*)(int)>("_FakeUnitPeek", address); }
    void Poke(int address, int value) { Call<void (*)(int, int)>("_FakeUnitPoke", address, value); }
    void SetSwitches(bool failReads, bool failWrites, int readFlags = 0)
    {
        Call<void (*)(bool, bool, int)>("_FakeUnitSwitches", failReads, failWrites, readFlags);
    }

    TOrvConnection connection;

private:
    void* m_handle;
};
