#pragma once

// The communication menu's choice of the port the unit is on: the simulated
// unit, a serial port the system lists, or a path typed by hand. The choice is
// kept in the settings ("Port") and given to the connection; it takes effect at
// the next connect.

#include <QMenu>

class TFileDialogs;
class TOrvConnection;
class TOrvRegistryData;
class TTranslator;

class TPortMenu : public QMenu {
    Q_OBJECT

public:
    TPortMenu(TOrvConnection* connection, TOrvRegistryData* settings, TFileDialogs* dialogs,
              TTranslator* translator, QWidget* parent = nullptr);

    void SetFileDialogs(TFileDialogs* dialogs) { m_dialogs = dialogs; }
    // The entries as the menu shows them now (the system's ports are listed anew each time).
    void Rebuild();
    void RefreshText();
    // Makes path (empty: the simulated unit) the configured port.
    void ChoosePort(const QString& path);
    void ChooseOtherPort();

private:
    QString Text(int index) const;
    QString ConfiguredPort() const;

    TOrvConnection* m_connection;
    TOrvRegistryData* m_settings;
    TFileDialogs* m_dialogs;
    TTranslator* m_translator;
};
