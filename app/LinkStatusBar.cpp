#include "app/LinkStatusBar.h"

#include "app/FormScaling.h"
#include "link/LinkInstance.h"
#include "link/OrvConnection.h"

namespace {

const QColor ConnectedColour(0, 128, 0);
const QColor NotConnectedColour(255, 0, 0);

// The ports the link selects by number; any number past the serial ports is USB.
QString PortName(int port)
{
    static const QStringList names = {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                                      QStringLiteral("COM4"), QStringLiteral("USB")};
    return port >= 0 && port < names.size() ? names[port] : names.last();
}

} // namespace

TLinkStatusBar::TLinkStatusBar(int screenWidth, QWidget* parent) : TStatusBar(parent)
{
    setObjectName(QStringLiteral("LMDStatusBarMain"));
    const QFont panelFont = DesignFont(QStringLiteral("Arial"), Scaled(16, screenWidth), true);
    AddPanel(Scaled(500, screenWidth), panelFont, Qt::red);
    AddPanel(0, panelFont, Qt::darkGreen);
    SetPanelText(0, QStringLiteral("Centralina non connessa"));
}

void TLinkStatusBar::SetLinkText(const QString& text)
{
    SetPanelText(0, text);
}

void TLinkStatusBar::ShowConnected(const QString& text, const TOrvConnection& connection)
{
    SetPanelText(0, text);
    SetPanelTextColor(0, ConnectedColour);
    const QString path = connection.LinkPortPath();
    SetPanelText(1,
                 QStringLiteral("PORT: ") +
                     (path.isEmpty() ? PortName(connection.Instance() ? connection.Instance()->GetPort() : -1)
                                     : path));
    repaint();
}

void TLinkStatusBar::ShowDisconnected(const QString& text)
{
    SetPanelText(0, text);
    SetPanelTextColor(0, NotConnectedColour);
    SetPanelText(1, QString());
    repaint();
}
