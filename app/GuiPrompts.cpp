#include "app/GuiPrompts.h"

#include "app/FormAttesa.h"
#include "support/TextIndex.h"
#include "support/Translator.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

namespace {

QMessageBox::Icon BoxIcon(TMessageIcon icon)
{
    return icon == TMessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon;
}

} // namespace

TGuiPrompts::TGuiPrompts(TTranslator* translator, std::function<bool()> upgradeChecked)
    : m_translator(translator), m_upgradeChecked(std::move(upgradeChecked))
{
}

TGuiPrompts::~TGuiPrompts()
{
    SetBusyCursor(false);
}

void TGuiPrompts::ShowMessage(TMessageIcon icon, const QString& caption, const QString& text)
{
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool TGuiPrompts::AskYesNo(TMessageIcon icon, const QString& caption, const QString& text, bool defaultYes)
{
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TGuiPrompts::Wait(int milliseconds)
{
    // The windows keep painting; the user's input waits until the time is over.
    QEventLoop loop;
    QTimer::singleShot(qMax(0, milliseconds), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void TGuiPrompts::SetBusyCursor(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

std::unique_ptr<TWaitWindow> TGuiPrompts::CreateWaitWindow()
{
    TTranslator* translator = m_translator;
    return std::make_unique<TFormAttesa>(
        [translator] { return translator->GetString(TextIndex::PercentCompleted, 0); });
}

bool TGuiPrompts::UpgradeBootLoaderChecked()
{
    return m_upgradeChecked ? m_upgradeChecked() : true;
}
