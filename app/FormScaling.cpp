#include "app/FormScaling.h"

#include "controls/OrvComboBox.h"
#include "controls/OrvLabel.h"
#include "controls/ValueEditEx.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

int ScreenWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : DesignScreenWidth;
}

int ScalingWidth()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? ScalingWidthFor(screen->geometry().width(), screen->availableGeometry().height())
                  : DesignScreenWidth;
}

int ScalingWidthFor(int screenWidth, int availableHeight)
{
    const int heightAllows = availableHeight * DesignScreenWidth / 600;
    return qMax(DesignScreenWidth, qMin(screenWidth, heightAllows));
}

int Scaled(int value, int screenWidth)
{
    return int(qint64(value) * screenWidth / DesignScreenWidth);
}

namespace {

void ScaleFont(QWidget* widget, int screenWidth)
{
    // Only fonts set on the widget itself: inherited ones follow their parent.
    if (!widget->testAttribute(Qt::WA_SetFont))
        return;
    QFont font = widget->font();
    if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, Scaled(font.pixelSize(), screenWidth)));
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * screenWidth / DesignScreenWidth);
    widget->setFont(font);
}

void ScaleGeometry(QWidget* widget, int screenWidth)
{
    const QRect r = widget->geometry();
    // A window is only resized: a position set here would mark it as placed,
    // and a dialog would open at the screen's corner instead of over its parent.
    if (widget->isWindow())
        widget->resize(Scaled(r.width(), screenWidth), Scaled(r.height(), screenWidth));
    else
        widget->setGeometry(Scaled(r.x(), screenWidth), Scaled(r.y(), screenWidth),
                            Scaled(r.width(), screenWidth), Scaled(r.height(), screenWidth));
    const QSize minimum = widget->minimumSize();
    if (!minimum.isEmpty())
        widget->setMinimumSize(Scaled(minimum.width(), screenWidth), Scaled(minimum.height(), screenWidth));
}

} // namespace

void ScaleForm(QWidget* form, int screenWidth)
{
    if (!form || screenWidth == DesignScreenWidth || screenWidth <= 0)
        return;
    // Children first, while their parents still have the design size.
    const QList<QWidget*> children = form->findChildren<QWidget*>();
    for (QWidget* child : children) {
        ScaleGeometry(child, screenWidth);
        ScaleFont(child, screenWidth);
        if (TChildLabel* label = CaptionLabel(child))
            label->SetLabelSpacing(Scaled(label->LabelSpacing(), screenWidth));
    }
    ScaleGeometry(form, screenWidth);
    ScaleFont(form, screenWidth);
}

void ScaleTextWindow(QWidget* window, int screenWidth, int designWidth, int designHeight)
{
    const QFont font = DesignFont(QStringLiteral("Arial"), Scaled(13, screenWidth), false);
    window->setFont(font);
    // The style gives the headers of tables a font of their own.
    for (QHeaderView* header : window->findChildren<QHeaderView*>())
        header->setFont(font);
    window->resize(Scaled(designWidth, screenWidth), Scaled(designHeight, screenWidth));
}

QFont ExplicitSystemFont()
{
    QFont font = QApplication::font();
    font.setFamilies(font.families());
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF());
    else
        font.setPixelSize(font.pixelSize());
    font.setWeight(font.weight());
    font.setItalic(font.italic());
    return font;
}

QFont DesignFont(const QString& family, int pixelSize, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

void FitFontToWidth(QWidget* widget, const QString& text, int width)
{
    constexpr int SmallestPixelSize = 6;
    QFont font = widget->font();
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(font).pixelSize());
    while (font.pixelSize() > SmallestPixelSize && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != widget->font())
        widget->setFont(font);
}

TChildLabel* CaptionLabel(QWidget* control)
{
    if (auto* edit = qobject_cast<TValueEditEx*>(control))
        return edit->EditLabel();
    if (auto* list = qobject_cast<TOrvComboBox*>(control))
        return list->ComboLabel();
    if (auto* label = qobject_cast<TOrvLabel*>(control))
        return label->ChildLabel();
    return nullptr;
}

void MatchFieldHeights(QWidget* form, int height)
{
    for (QWidget* field : form->findChildren<QWidget*>()) {
        if (!qobject_cast<QComboBox*>(field) && !qobject_cast<QLineEdit*>(field))
            continue;
        const QRect r = field->geometry();
        if (r.height() != height)
            field->setGeometry(r.x(), r.y() + (r.height() - height) / 2, r.width(), height);
    }
}
