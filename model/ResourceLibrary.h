#pragma once

// The optional resource library: the resource file ConfigBase.rcc in the
// program's data folder (beside the executable in a build tree). While it is loaded its pictures and firmware
// images are used; otherwise the program's own copies, compiled in with the same names, stand in for them
// (except the language flags, which only the library supplies).
//
// Resources are named by kind and identifier, such as ("256", 10010) for a
// firmware image, ("bitmap", 10004) for the about picture or ("icon", 10001).

#include <QString>

namespace ResourceLibrary {

// Registers "ConfigBase.rcc" from the program's data folder; absence is not an error.
bool Load(const QString& dataFolder);
void Free();
bool IsLoaded();

// The resource path of a resource in the library, or an empty text when the
// library is not loaded.
QString LibraryPath(const QString& kind, int id);
// The library's copy when the library is loaded, else the program's own.
QString Path(const QString& kind, int id);

} // namespace ResourceLibrary
