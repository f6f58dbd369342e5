#pragma once

// The program's start-up, shared by the windows and the command-line tool: the
// per-user settings, the translator, the resource library and the message texts,
// in the order the main window has always set them up.

#include <QString>

class TOrvRegistryData;
class TSerialDataModule;

namespace ProgramSetup {

// Gives settings the program's key and its one setting (the language) and loads
// them; points the translator at the language store in programDir (the folder of
// the executable, with a trailing separator); loads the resource library from
// there and the language store; selects the stored language and fills the
// module's message texts. A missing language store or resource library is not an
// error: the texts are then empty and the program's own resources stand in.
void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& programDir);

} // namespace ProgramSetup
