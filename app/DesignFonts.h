#pragma once

// The windows were laid out for Arial and Tahoma. Arial's metric-compatible
// stand-in (Liberation Sans) is found by fontconfig by itself; the Tahoma faces
// of Wine's fonts are not listed by fontconfig, so the program registers them
// with the toolkit when they are installed. Without them Tahoma texts fall back
// to the system's sans-serif font.

#include <QStringList>

namespace DesignFonts {

// The font files registered at start-up when present, in the order tried.
QStringList TahomaFiles();

// Registers the files of TahomaFiles that exist, the first time it is called;
// answers whether any of them was registered.
bool Register();

} // namespace DesignFonts
