#include "app/PortMenu.h"

#include "app/FileDialogs.h"
#include "link/OrvConnection.h"
#include "model/ProgramSetup.h"
#include "support/OrvRegistryData.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QActionGroup>
#include <QSerialPortInfo>

TPortMenu::TPortMenu(TOrvConnection* connection, TOrvRegistryData* settings, TFileDialogs* dialogs,
                     TTranslator* translator, QWidget* parent)
    : QMenu(parent), m_connection(connection), m_settings(settings), m_dialogs(dialogs),
      m_translator(translator)
{
    setObjectName(QStringLiteral("MenuPorta"));
    // The entries are made as the menu opens: listing the system's serial
    // ports takes longer than the rest of the main window's start.
    connect(this, &QMenu::aboutToShow, this, &TPortMenu::Rebuild);
    RefreshText();
}

QString TPortMenu::Text(int index) const
{
    return m_translator->GetString(index, 0);
}

QString TPortMenu::ConfiguredPort() const
{
    return m_settings->GetStringData(QLatin1String(ProgramSetup::LinkSetting::Port));
}

void TPortMenu::RefreshText()
{
    setTitle(Text(TextIndex::PortCaption));
}

void TPortMenu::Rebuild()
{
    clear();
    auto* group = new QActionGroup(this);
    const QString current = ConfiguredPort();
    auto add = [&](const QString& text, const QString& path) {
        QAction* action = addAction(text, this, [this, path] { ChoosePort(path); });
        action->setCheckable(true);
        action->setChecked(path == current);
        action->setData(path);
        group->addAction(action);
    };
    add(Text(TextIndex::SimulatedUnit), QString());
    bool listed = current.isEmpty();
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString path = port.systemLocation();
        const QString description = port.description();
        add(description.isEmpty() ? path : path + QStringLiteral(" (") + description + QLatin1Char(')'),
            path);
        listed = listed || path == current;
    }
    if (!listed)
        add(current, current); // a path typed earlier
    addSeparator();
    addAction(Text(TextIndex::OtherPort), this, &TPortMenu::ChooseOtherPort);
}

void TPortMenu::ChooseOtherPort()
{
    const QString path = m_dialogs->GetPortPath(parentWidget(), Text(TextIndex::PortCaption),
                                                Text(TextIndex::SerialPortPathPrompt), ConfiguredPort());
    if (!path.trimmed().isEmpty())
        ChoosePort(path.trimmed());
}

void TPortMenu::ChoosePort(const QString& path)
{
    const QString name = QLatin1String(ProgramSetup::LinkSetting::Port);
    if (path.isEmpty())
        m_settings->DeleteStringValue(name,
                                      true); // an empty text is not stored: the old path would come back
    else
        m_settings->SetStringData(name, path);
    m_settings->SaveData();
    ProgramSetup::ApplyLinkPort(*m_connection, *m_settings);
    Rebuild();
}
