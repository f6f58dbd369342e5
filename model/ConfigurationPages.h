#pragma once

// The settings of the configuration window's pages, as the report, the compare
// window and the change history name them (TFitterWords): page by page, each
// setting with the caption the window gives it (a string of
// the language store) and the way the window shows its value: a number, an
// entry of a list, or a check box over some bits or a threshold of the value.
// The window's own layout (app/FormConfig.ui) is the model; a test holds the
// two together.

#include <QList>
#include <QString>

struct TPageSetting {
    enum class Kind {
        Number, // the value with its unit
        Choice, // list entry `value` of the strings first … last
        Switch, // the switch-type list: its pattern in the value's bits
        Flag,   // checked when (value AND condition) = condition
        Below,  // checked when value < condition
    };
    int page = 0; // the page's title, a string of the language store
    const char* item = nullptr;
    int caption = 0; // string of the language store
    Kind kind = Kind::Number;
    int first = 0; // Choice, Switch: the list's strings
    int last = 0;
    double condition = 0; // Flag, Below
};

namespace ConfigurationPages {

// The pages' titles in the window's order.
const QList<int>& Pages();
// Every setting shown on the pages, page by page in the window's order.
const QList<TPageSetting>& Settings();
// The caption the window gives an item (the first when it shows it twice);
// -1 when no page shows it.
int CaptionOf(const QString& item);

} // namespace ConfigurationPages
