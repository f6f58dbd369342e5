#pragma once

// The program's start-up, shared by the windows and the command-line tool: the
// per-user settings, the translator, the resource library and the message texts,
// in the order the main window sets them up.

#include <QString>

class TOrvRegistryData;
class TSerialDataModule;
class TTranslator;

namespace ProgramSetup {

// The per-user settings file of the program.
QString SettingsFileName();

// The main window's construction: gives settings the program's key and its one
// setting (the language) and loads them; points the translator at the language
// store in dataFolder (the program's data folder, support/ProgramFolders.h, with
// a trailing separator); loads the resource library from there, then the
// language store. A missing language store or resource library is not an error:
// the texts are then empty and the program's own resources stand in.
void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& dataFolder);

// The whole start-up of a program without windows: the above, then, as the main
// window's first display does, the stored language and the module's message texts.
void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& dataFolder);

} // namespace ProgramSetup
