#pragma once

// Window messages exchanged between items, controls, windows and the link
// library. Each message is a QEvent whose type is the message's fixed number;
// it is delivered synchronously with QCoreApplication::sendEvent.

#include <QEvent>
#include <cstdint>

namespace WindowMessage {
constexpr int WMDataChanged = 0x8173;   // item -> bound controls: wParam the item, lParam 0
constexpr int WMChangeDataDim = 0x8175; // matrix/vector -> map grid: wParam columns, lParam rows
constexpr int WMEndResizing = 0x8176;   // resizer -> its control
constexpr int WMStartResizing = 0x8177; // resizer -> its control: wParam drag kind, lParam y << 16 | x
constexpr int WMDataAvailable = 0x8178; // refresh pass -> registered controls: wParam the packet buffer
constexpr int WMComError = 0x8179;      // item -> bound controls: wParam the item, lParam error flags
constexpr int WMLinkState = 0x8190;     // link library -> windows: lParam 1 connected, 0 disconnected
constexpr int WMProgress = 0x8191;      // link library -> wait window: wParam percent, lParam non-zero = add
} // namespace WindowMessage

class TWindowMessage : public QEvent {
public:
    TWindowMessage(int message, uintptr_t wParam, intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message)), m_wParam(wParam), m_lParam(lParam)
    {
    }

    int message() const { return static_cast<int>(type()); }
    uintptr_t wParam() const { return m_wParam; }
    intptr_t lParam() const { return m_lParam; }

    // The event as a window message, or nullptr when it is another event.
    static const TWindowMessage* from(const QEvent* event)
    {
        return dynamic_cast<const TWindowMessage*>(event);
    }

private:
    uintptr_t m_wParam;
    intptr_t m_lParam;
};
