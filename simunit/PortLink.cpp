#include "simunit/PortLink.h"

#include <utility>

PortLink::PortLink(LinkInstance& sim, SettingFn setting, SerialLink::Emitter emitter)
    : m_sim(sim), m_setting(std::move(setting)), m_emit(std::move(emitter))
{
}

PortLink::~PortLink() = default;

void PortLink::SelectPort(int port)
{
    const LinkPortSetting setting = m_setting ? m_setting() : LinkPortSetting{};
    const bool serial = port == LinkPort::Usb && !setting.path.isEmpty();
    const bool same = serial ? m_serial && m_serial->portPath() == setting.path &&
                                   m_serial->client().timing().baud == setting.baud
                             : !m_serial;
    if (!same) {
        // The unit reached so far is left before another is chosen.
        if (current().IsConnected())
            current().DisconnectUnit();
        m_serial.reset();
        if (serial) {
            WireTiming timing;
            timing.baud = setting.baud > 0 ? setting.baud : 19200;
            m_serial = std::make_unique<SerialLink>(setting.path, timing, m_emit);
        }
    }
    current().SelectPort(port);
}
