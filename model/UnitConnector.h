#pragma once

// TUnitConnector connects the data module to a unit: it loads the link
// library, reads and checks the unit's identity, reads the unit's
// configuration into the items, and lets the link go again. It keeps the
// identity record and the port of the last connect.

#include <array>
#include <cstdint>

class LinkInstance;
class TSerialDataModule;

class TUnitConnector {
public:
    explicit TUnitConnector(TSerialDataModule& module);

    // 0 when connected, 1 when a unit was connected already, or a
    // TSerialDataModule::ConnectFailure.
    int Connect(int port, int flags);
    void Release(bool refresherOn);
    // Every item read again from the unit, with the wait window's progress.
    void ReloadAllItems();
    void ActivatePacketItems();
    // Stops the refresher, waiting for its thread; tells the user when it does not stop.
    bool StopRefresher();

    // Reads the identity record through link (zeros first); false when the unit did not answer.
    bool ReadIdentity(LinkInstance& link);
    const std::array<uint8_t, 8>& Identity() const { return m_identity; }
    // The port of the last successful connect.
    int Port() const { return m_port; }

private:
    // Whether the identity is of a unit the configurator serves (its boot
    // loader included); connects the unit when it is.
    bool IdentifyAndConnect(LinkInstance& link, int& result);
    // Over-speed values above the range mean "off": they are written as 20000.
    void TurnOverSpeedOff();

    TSerialDataModule& m_module;
    std::array<uint8_t, 8> m_identity{};
    int m_port = 4;
};
