#pragma once

// TLinkStatusBar is the status bar of the main and configuration windows: panel
// 0 (500 design pixels) says whether a unit is connected, in red until one is
// and in green while it is; panel 1 names the port of the connection.

#include "controls/StatusBar.h"

class TOrvConnection;

class TLinkStatusBar : public TStatusBar {
    Q_OBJECT

public:
    // Built for the given screen width (scaled from 800), with the design text.
    TLinkStatusBar(int screenWidth, QWidget* parent);

    // Panel 0 text; its colour stays.
    void SetLinkText(const QString& text);
    // Panel 0 the text in green, panel 1 "PORT: " and the port: the serial
    // port's path when the link goes over one, else the name of the link's port.
    void ShowConnected(const QString& text, const TOrvConnection& connection);
    // Panel 0 the text in red, panel 1 empty.
    void ShowDisconnected(const QString& text);
};
