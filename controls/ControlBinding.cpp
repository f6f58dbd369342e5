#include "controls/ControlBinding.h"

#include "controls/OrvComboBox.h"
#include "items/OrvSerialData.h"

#include <QVariant>
#include <QWidget>

namespace {

QString Problem(const QWidget* control, const char* property, const QString& name)
{
    return QStringLiteral("%1.%2 = %3").arg(control->objectName(), QLatin1String(property), name);
}

void BindItem(QWidget* control, const QObject* dataModule, QStringList& problems)
{
    const QString name = control->property(BindingName::ValueName).toString();
    if (name.isEmpty())
        return;
    auto* item = dataModule->findChild<TOrvSerialData*>(name, Qt::FindDirectChildrenOnly);
    // The property's own type decides which kinds of item the control accepts.
    if (!item || !control->setProperty("Value", QVariant::fromValue(item)))
        problems << Problem(control, BindingName::ValueName, name);
}

void BindNeighbour(QWidget* control, QWidget* window, const char* nameProperty, const char* property,
                   QStringList& problems)
{
    const QString name = control->property(nameProperty).toString();
    if (name.isEmpty())
        return;
    auto* neighbour = window->findChild<QWidget*>(name);
    if (!neighbour || !control->setProperty(property, QVariant::fromValue(neighbour)))
        problems << Problem(control, nameProperty, name);
}

// Settings of sub-objects, given as dynamic properties "SubObject.Setting".
void ApplySubObjectSettings(QWidget* control, QStringList& problems)
{
    for (const QByteArray& dotted : control->dynamicPropertyNames()) {
        const int dot = dotted.indexOf('.');
        if (dot <= 0)
            continue;
        const QByteArray setting = dotted.mid(dot + 1);
        auto* subObject = control->property(dotted.left(dot).constData()).value<QObject*>();
        if (!subObject || !subObject->setProperty(setting.constData(), control->property(dotted.constData())))
            problems << Problem(control, dotted.constData(),
                                control->property(dotted.constData()).toString());
    }
}

} // namespace

QStringList BindControls(QWidget* window, const QObject* dataModule)
{
    QStringList problems;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        ApplySubObjectSettings(control, problems);
        if (dataModule)
            BindItem(control, dataModule, problems);
        BindNeighbour(control, window, BindingName::NextControlName, "NextControl", problems);
        BindNeighbour(control, window, BindingName::PrevControlName, "PrevControl", problems);
    }
    for (QWidget* control : controls) {
        if (auto* combo = qobject_cast<TOrvComboBox*>(control); combo && combo->Value())
            combo->InitData();
    }
    return problems;
}
