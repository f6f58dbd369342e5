#include "controls/ControlBinding.h"

#include "controls/FocusLinks.h"
#include "controls/OrvComboBox.h"
#include "items/OrvSerialData.h"

#include <QMetaProperty>
#include <QVariant>
#include <QWidget>

namespace {

QString Problem(const QWidget* control, const char* property, const QString& name)
{
    return QStringLiteral("%1.%2 = %3").arg(control->objectName(), QLatin1String(property), name);
}

TOrvSerialData* FindItem(const QObject* dataModule, const QString& name)
{
    return dataModule ? dataModule->findChild<TOrvSerialData*>(name, Qt::FindDirectChildrenOnly) : nullptr;
}

// The property through which a control takes its item: Value, or Data for the
// map grid.
const char* ItemProperty(const QObject* control)
{
    return control->metaObject()->indexOfProperty("Value") >= 0 ? "Value" : "Data";
}

void BindItem(QWidget* control, const QObject* dataModule, QStringList& problems)
{
    const QString name = control->property(BindingName::ValueName).toString();
    if (name.isEmpty())
        return;
    auto* item = FindItem(dataModule, name);
    // The property's own type decides which kinds of item the control accepts.
    if (!item || !control->setProperty(ItemProperty(control), QVariant::fromValue(item)))
        problems << Problem(control, BindingName::ValueName, name);
}

// A setting of a sub-object: an item's name where the setting refers to an
// object (such as a grid axis's Data) stands for that item.
QVariant SettingValue(const QObject* subObject, const char* setting, const QVariant& value,
                      const QObject* dataModule)
{
    const QMetaObject* meta = subObject->metaObject();
    const int index = meta->indexOfProperty(setting);
    if (index < 0 || value.typeId() != QMetaType::QString ||
        !(meta->property(index).metaType().flags() & QMetaType::PointerToQObject))
        return value;
    TOrvSerialData* item = FindItem(dataModule, value.toString());
    return item ? QVariant::fromValue(item) : QVariant();
}

// A focus-chain link given by the neighbour's name; only controls that take
// part in a focus chain have links.
void BindNeighbour(QWidget* control, QWidget* window, const char* nameProperty,
                   void (TFocusLinks::*setLink)(QWidget*), QStringList& problems)
{
    const QString name = control->property(nameProperty).toString();
    if (name.isEmpty())
        return;
    auto* neighbour = window->findChild<QWidget*>(name);
    auto* links = dynamic_cast<TFocusLinks*>(control);
    if (!neighbour || !links) {
        problems << Problem(control, nameProperty, name);
        return;
    }
    (links->*setLink)(neighbour);
}

// Settings of sub-objects, given as dynamic properties "SubObject.Setting".
void ApplySubObjectSettings(QWidget* control, const QObject* dataModule, QStringList& problems)
{
    for (const QByteArray& dotted : control->dynamicPropertyNames()) {
        const int dot = dotted.indexOf('.');
        if (dot <= 0)
            continue;
        const QByteArray setting = dotted.mid(dot + 1);
        const QVariant given = control->property(dotted.constData());
        auto* subObject = control->property(dotted.left(dot).constData()).value<QObject*>();
        const QVariant value =
            subObject ? SettingValue(subObject, setting.constData(), given, dataModule) : given;
        if (!subObject || !value.isValid() || !subObject->setProperty(setting.constData(), value))
            problems << Problem(control, dotted.constData(), given.toString());
    }
}

} // namespace

QStringList BindControls(QWidget* window, const QObject* dataModule)
{
    QStringList problems;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        ApplySubObjectSettings(control, dataModule, problems);
        if (dataModule)
            BindItem(control, dataModule, problems);
        BindNeighbour(control, window, BindingName::NextControlName, &TFocusLinks::SetNextControl, problems);
        BindNeighbour(control, window, BindingName::PrevControlName, &TFocusLinks::SetPrevControl, problems);
    }
    for (QWidget* control : controls) {
        if (auto* combo = qobject_cast<TOrvComboBox*>(control); combo && combo->Value())
            combo->InitData();
    }
    return problems;
}
