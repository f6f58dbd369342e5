#pragma once

// The program's start-up, shared by the windows and the command-line tool: the
// per-user settings, the translator, the resource library and the message texts,
// in the order the main window sets them up.

#include <QString>

class TOrvConnection;
class TOrvRegistryData;
class TSerialDataModule;
class TTranslator;
class TUserPrompts;

namespace ProgramSetup {

// The per-user settings file of the program.
QString SettingsFileName();

// The language of the interface for a locale name such as "de_DE.UTF-8": the
// index of its section in the language store (0 Italian, 1 English, 2 Spanish,
// 3 French, 4 German, 5 Russian); Italian for any other language.
int LanguageOfLocale(const QString& locale);
// The language of the user's environment: LC_ALL, else LC_MESSAGES, else LANG.
int SystemLanguage();

// The main window's construction: gives settings the program's key and its one
// setting (the language, at first start the system's) and loads them; points the translator at the language
// store in dataFolder (the program's data folder, support/ProgramFolders.h, with
// a trailing separator); loads the resource library from there, then the
// language store. A missing resource library is not an error: the program's own
// resources stand in. A missing or unreadable language store is reported once
// through prompts (when given); the texts built into the program stand in.
void LoadSettingsAndLibraries(TTranslator& translator, TOrvRegistryData& settings, const QString& dataFolder,
                              TUserPrompts* prompts = nullptr);

// The port settings: "Port" (text; empty for the simulated unit, else a serial
// port's path) and "BaudRate" (integer, 19200 when not set).
namespace LinkSetting {
inline const char* const Port = "Port";
inline const char* const BaudRate = "BaudRate";
constexpr int DefaultBaudRate = 19200;
} // namespace LinkSetting

// The workshop the customer's report names in its heading (the address may
// hold several lines).
namespace WorkshopSetting {
inline const char* const Name = "WorkshopName";
inline const char* const Address = "WorkshopAddress";
} // namespace WorkshopSetting

// Where the vehicle records live ("VehicleDatabase", text): a database URL,
// sqlite:PATH or postgresql://user@host/db; empty for the default SQLite file.
namespace RecordsSetting {
inline const char* const Database = "VehicleDatabase";
} // namespace RecordsSetting

// Gives the connection the port of the settings (port 4, "the configured port").
void ApplyLinkPort(TOrvConnection& connection, const TOrvRegistryData& settings);

// The whole start-up of a program without windows: the above, then, as the main
// window's first display does, the stored language and the module's message texts.
void Start(TSerialDataModule& module, TOrvRegistryData& settings, const QString& dataFolder);

} // namespace ProgramSetup
