#include "controls/MenuItemStyle.h"

#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionMenuItem>

TMenuItemStyle::TMenuItemStyle(QObject* parent) : QProxyStyle()
{
    setParent(parent);
}

QSize TMenuItemStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type == CT_MenuItem && item && item->menuItemType != QStyleOptionMenuItem::Separator)
        result.rwidth() += 2 * QFontMetrics(item->font).horizontalAdvance(QLatin1Char('M'));
    return result;
}

void TMenuItemStyle::Apply(QMenuBar* bar, QObject* owner)
{
    auto* style = new TMenuItemStyle(owner);
    for (QAction* action : bar->actions()) {
        if (action->menu())
            style->ApplyTo(action->menu());
    }
}

void TMenuItemStyle::ApplyTo(QMenu* menu)
{
    menu->setStyle(this);
    for (QAction* action : menu->actions()) {
        if (action->menu())
            ApplyTo(action->menu());
    }
}
