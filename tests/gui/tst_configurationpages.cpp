// The report's table of the configuration window's pages against the window
// itself: every setting the report lists under a page is shown on that page,
// bound to that item, with that caption (and that list, or that check
// condition), in the window's order.

#include "../common/FakePrompts.h"
#include "../common/SimUnit.h"
#include "app/FormConfig.h"
#include "app/FormMain.h"
#include "app/FormScaling.h"
#include "controls/ChildLabel.h"
#include "controls/OrvCheckBox.h"
#include "controls/OrvComboBox.h"
#include "items/OrvNumber.h"
#include "model/ConfigurationPages.h"
#include "model/ResourceLibrary.h"
#include "model/SerialDataModule.h"
#include "support/OrvRegistryData.h"
#include "support/Translator.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <QTest>

class TestConfigurationPages : public QObject {
    Q_OBJECT

private slots:
    void reportListsWhatThePagesShow();
};

namespace {

QString CaptionOf(QWidget* control)
{
    if (TChildLabel* label = CaptionLabel(control))
        return label->Caption();
    if (auto* box = qobject_cast<QAbstractButton*>(control))
        return box->text();
    return QString();
}

QString ItemOf(QWidget* control)
{
    const auto* item = control->property("Value").value<TOrvNumber*>();
    return item ? item->objectName() : QString();
}

} // namespace

void TestConfigurationPages::reportListsWhatThePagesShow()
{
    FreshSimUnit();
    FakePrompts prompts;
    TSerialDataModule module;
    module.SetPrompts(&prompts);
    TFormMain main(&module, 1280);
    TFormConfig config(&module, &main, 1280);
    main.SetConfigurationWindow(&config);
    main.OrvRegistryData()->SetIntData(QStringLiteral("Language"), 1);
    main.ApplyLanguage();
    TTranslator& text = *module.Translator();

    auto* pages = config.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    QVERIFY(pages);
    QList<int> pageOrder;
    for (int tab = 0; tab < pages->count(); ++tab) {
        if (pages->isTabVisible(tab))
            pageOrder << tab;
    }
    QCOMPARE(pageOrder.size(), ConfigurationPages::Pages().size());
    for (int i = 0; i < pageOrder.size(); ++i)
        QCOMPARE(pages->tabText(pageOrder.at(i)), text.GetString(ConfigurationPages::Pages().at(i)));

    for (const TPageSetting& setting : ConfigurationPages::Settings()) {
        const QString name =
            QString::fromLatin1(setting.item) + QStringLiteral(" / ") + QString::number(setting.caption);
        const int tab = pageOrder.at(ConfigurationPages::Pages().indexOf(setting.page));
        QWidget* found = nullptr;
        for (QWidget* control : pages->widget(tab)->findChildren<QWidget*>()) {
            const bool bound =
                ItemOf(control) == QLatin1String(setting.item) ||
                (setting.kind == TPageSetting::Kind::Switch && qobject_cast<TOrvComboBox*>(control));
            if (bound && CaptionOf(control) == text.GetString(setting.caption))
                found = control;
        }
        QVERIFY2(found, qPrintable(name));
        if (auto* list = qobject_cast<QComboBox*>(found)) {
            QCOMPARE(list->count(), setting.last - setting.first + 1);
            for (int entry = 0; entry < list->count(); ++entry)
                QCOMPARE(list->itemText(entry), text.GetString(setting.first + entry));
        }
        if (auto* box = qobject_cast<TOrvCheckBox*>(found)) {
            QCOMPARE(box->ConditionValue(), setting.condition);
            QCOMPARE(box->Condition(), setting.kind == TPageSetting::Kind::Flag ? TOrvCheckBox::ccMaskedBit
                                                                                : TOrvCheckBox::ccMinorOf);
        }
    }
    ResourceLibrary::Free();
}

QTEST_MAIN(TestConfigurationPages)
#include "tst_configurationpages.moc"
