// Binding a window's controls to the data module by name, as a window built
// from a Designer description does.

#include "ControlTestSupport.h"
#include "controls/ControlBinding.h"
#include "controls/GridReference.h"
#include "controls/GridWorkingPoint.h"
#include "controls/NumericEdit.h"
#include "controls/OrvCheckBox.h"
#include "controls/OrvComboBox.h"
#include "controls/OrvGrid.h"
#include "controls/OrvLabel.h"
#include "controls/ValueEditEx.h"
#include "items/OrvMatrix.h"
#include "items/OrvPacketData.h"
#include "items/OrvVector.h"

#include <QTest>

class TestControlBinding : public QObject {
    Q_OBJECT

private slots:
    void bindsItemsNeighboursAndSubObjectSettings();
    void reportsWhatCannotBeBound();
    void bindsTheMapGridAndItsAxes();
};

namespace {

template <class Control> Control* Make(QWidget* window, const char* name)
{
    auto* control = new Control(window);
    control->setObjectName(QLatin1String(name));
    return control;
}

template <class Item> Item* MakeItem(QObject* module, const char* name)
{
    auto* item = new Item(module);
    item->setObjectName(QLatin1String(name));
    return item;
}

} // namespace

void TestControlBinding::bindsItemsNeighboursAndSubObjectSettings()
{
    QObject module;
    auto* ignition = MakeItem<TOrvNumber>(&module, "TIPO_ACCENSIONE");
    auto* speed = MakeItem<TOrvNumber>(&module, "GiriPerCambio");
    auto* flags = MakeItem<TOrvNumber>(&module, "FLAG_GONFIGURAZIONE");
    auto* rpm = MakeItem<TOrvPacketData>(&module, "VAL_GIRI");
    ignition->SetDefaultValue(2);
    ignition->Loaded();

    QWidget window;
    auto* combo = Make<TOrvComboBox>(&window, "OrvComboTipoAcc");
    combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    auto* edit = Make<TValueEditEx>(&window, "OrvValEditNGiriCambio");
    auto* box = Make<TOrvCheckBox>(&window, "OrvCheckBoxDef");
    auto* label = Make<TOrvLabel>(&window, "OrvLabelGiri");
    auto* numeric = Make<TNumericEdit>(&window, "NumericEditSondaSconnessa");
    combo->setProperty(BindingName::ValueName, QStringLiteral("TIPO_ACCENSIONE"));
    edit->setProperty(BindingName::ValueName, QStringLiteral("GiriPerCambio"));
    edit->setProperty(BindingName::NextControlName, QStringLiteral("OrvCheckBoxDef"));
    edit->setProperty(BindingName::PrevControlName, QStringLiteral("OrvComboTipoAcc"));
    edit->setProperty("EditLabel.LabelSpacing", 530);
    edit->setProperty("EditLabel.Caption", QStringLiteral("Giri per cambio"));
    edit->setProperty("Resizer.GridDimension", 5);
    box->setProperty(BindingName::ValueName, QStringLiteral("FLAG_GONFIGURAZIONE"));
    label->setProperty(BindingName::ValueName, QStringLiteral("VAL_GIRI"));
    label->setProperty("ChildLabel.Caption", QStringLiteral("Giri"));
    numeric->setProperty(BindingName::NextControlName, QStringLiteral("OrvValEditNGiriCambio"));

    QCOMPARE(BindControls(&window, &module), QStringList());

    QCOMPARE(combo->Value(), ignition);
    QCOMPARE(combo->currentIndex(), 2); // bound combo boxes show their item at once
    QCOMPARE(edit->Value(), speed);
    QCOMPARE(edit->NextControl(), box);
    QCOMPARE(edit->PrevControl(), combo);
    QCOMPARE(edit->EditLabel()->LabelSpacing(), 530);
    QCOMPARE(edit->EditLabel()->Caption(), QStringLiteral("Giri per cambio"));
    QCOMPARE(edit->Resizer()->GridDimension(), 5);
    QCOMPARE(box->Value(), flags);
    QCOMPARE(label->Value(), rpm);
    QCOMPARE(label->ChildLabel()->Caption(), QStringLiteral("Giri"));
    QCOMPARE(numeric->NextControl(), edit);
    QVERIFY(speed->IsInNotificationList(edit));
}

void TestControlBinding::reportsWhatCannotBeBound()
{
    QObject module;
    MakeItem<TOrvPacketData>(&module, "VAL_GIRI");
    QObject nested(&module);
    MakeItem<TOrvNumber>(&nested, "Nested");

    QWidget window;
    auto* edit = Make<TValueEditEx>(&window, "Edit");
    auto* missing = Make<TValueEditEx>(&window, "Missing");
    auto* deep = Make<TValueEditEx>(&window, "Deep");
    edit->setProperty(BindingName::ValueName, QStringLiteral("VAL_GIRI")); // a live item, not a single value
    edit->setProperty(BindingName::NextControlName, QStringLiteral("Nowhere"));
    missing->setProperty(BindingName::ValueName, QStringLiteral("NOT_THERE"));
    missing->setProperty("EditLabel.NoSuchSetting", 1);
    deep->setProperty(BindingName::ValueName, QStringLiteral("Nested")); // only direct children count

    const QStringList problems = BindControls(&window, &module);

    QCOMPARE(problems.size(), 5);
    QVERIFY(problems.contains(QStringLiteral("Edit.ValueName = VAL_GIRI")));
    QVERIFY(problems.contains(QStringLiteral("Edit.NextControlName = Nowhere")));
    QVERIFY(problems.contains(QStringLiteral("Missing.ValueName = NOT_THERE")));
    QCOMPARE(edit->Value(), nullptr);
    QCOMPARE(deep->Value(), nullptr);
}

// The grid takes its map by ValueName and the items of its sub-objects by the
// items' names; a name of the wrong kind of item is reported.
void TestControlBinding::bindsTheMapGridAndItsAxes()
{
    QObject module;
    auto* map = MakeItem<TOrvMatrix>(&module, "MAPPA_ANTICIPO");
    auto* speeds = MakeItem<TOrvVector>(&module, "RIF_GIRI");
    auto* loads = MakeItem<TOrvVector>(&module, "RIF_CARICO");
    auto* rpm = MakeItem<TOrvPacketData>(&module, "VAL_GIRI");

    QWidget window;
    auto* grid = Make<TOrvGrid>(&window, "GridAnticipo");
    grid->setProperty(BindingName::ValueName, QStringLiteral("MAPPA_ANTICIPO"));
    grid->setProperty("ColReferences.Data", QStringLiteral("RIF_GIRI"));
    grid->setProperty("ColReferences.SortType", QStringLiteral("stAscent"));
    grid->setProperty("RowReferences.Data", QStringLiteral("RIF_CARICO"));
    grid->setProperty("WorkingPoint.HorizontalPosition", QStringLiteral("VAL_GIRI"));
    grid->setProperty("WorkingPoint.VerticalPosition", QStringLiteral("RIF_CARICO")); // not a live item

    QCOMPARE(BindControls(&window, &module),
             QStringList{QStringLiteral("GridAnticipo.WorkingPoint.VerticalPosition = RIF_CARICO")});
    QCOMPARE(grid->Data(), map);
    QCOMPARE(grid->ColReferences()->Data(), speeds);
    QCOMPARE(grid->ColReferences()->SortType(), TGridReference::stAscent);
    QCOMPARE(grid->RowReferences()->Data(), loads);
    QCOMPARE(grid->WorkingPoint()->HorizontalPosition(), rpm);
    QCOMPARE(grid->WorkingPoint()->VerticalPosition(), nullptr);
    QVERIFY(map->IsInNotificationList(grid));
    QVERIFY(rpm->IsInNotificationList(grid));
}

QTEST_MAIN(TestControlBinding)
#include "tst_controlbinding.moc"
