#pragma once

// What the main window tells and asks around its long operations: why a
// connect failed, and whether to reprogram the firmware.

class QString;
class TSerialDataModule;

namespace OperationMessages {

// Tells, through the module's prompts under caption, why the connect that
// answered result (TSerialDataModule::ConnectToUnit) failed; nothing for a
// connect that succeeded.
void ReportConnectFailure(const TSerialDataModule& module, const QString& caption, int result);

// Asks whether to reprogram the firmware; the question names the backup the
// module makes of a connected unit first. The command line asks its own.
bool ConfirmReprogramming(TSerialDataModule& module);

} // namespace OperationMessages
