// The configurator's start-up: the data module, the main window, the
// configuration window (hidden), then the event loop. The first display of the
// main window applies the stored language.

#include "app/ConfigurationWindow.h"
#include "app/DesignFonts.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "app/GuiPrompts.h"
#include "app/SerialDataModule.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TZR582"));
    DesignFonts::Register();

    TSerialDataModule dataModule;
    TFormMain* formMain = nullptr;
    TGuiPrompts prompts(dataModule.Translator(), [&formMain] {
        return !formMain || !formMain->ConfigurationWindow() || formMain->ConfigurationWindow()->UpgradeBootLoaderChecked();
    });
    dataModule.SetPrompts(&prompts);

    int result = 0;
    {
        TFormMain window(&dataModule, ScalingWidth());
        formMain = &window;
        TFormConfig config(&dataModule, &window, ScalingWidth());
        window.SetConfigurationWindow(&config);
        window.showMaximized();
        result = QApplication::exec();
        formMain = nullptr;
    }
    dataModule.SetPrompts(nullptr);
    return result;
}
