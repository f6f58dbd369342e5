#pragma once

// Binding of a window's controls to the data module's items, for windows built
// from a Designer description. A control names what it binds to with string
// properties (dynamic properties in the .ui file):
//   ValueName        the item's component name, a direct child of the data
//                    module, set as the control's Value (the map grid's Data)
//   NextControlName  a widget of the same window, set as its NextControl link
//   PrevControlName  a widget of the same window, set as its PrevControl link
// and sets settings of its sub-objects with dotted names, such as
// "EditLabel.Caption", "EditLabel.LabelSpacing" or "Resizer.GridDimension". A
// setting that refers to an item is given the item's name, such as
// "ColReferences.Data" or "WorkingPoint.HorizontalPosition" of the map grid.
// Bound combo boxes then show their item's entry (InitData).
//
// The C++ setters (SetValue, SetNextControl, ...) stay the primary interface;
// BindControls only calls them by name.

#include <QStringList>

class QObject;
class QWidget;

namespace BindingName {
constexpr char ValueName[] = "ValueName";
constexpr char NextControlName[] = "NextControlName";
constexpr char PrevControlName[] = "PrevControlName";
} // namespace BindingName

// Binds every control of the window; answers a description of each name that
// could not be resolved or applied (empty when everything was bound).
QStringList BindControls(QWidget* window, const QObject* dataModule);
