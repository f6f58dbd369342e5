#include "app/LanguageStrip.h"

#include "app/FormScaling.h"
#include "model/ResourceLibrary.h"
#include "support/Translator.h"

#include <QButtonGroup>
#include <QScrollArea>
#include <QToolButton>

namespace {

const QColor DesktopColour(0, 128, 128);
constexpr int ButtonWidth = 60;
constexpr int ButtonHeight = 44;
// The caption of a language button without a flag.
constexpr int NamePixelSize = 12;
constexpr int NamePadding = 5;
// The flags are bitmaps of the resource library, one per language from this one.
constexpr int FirstFlag = 10020;

// The language name without its first "&" (the text before joined to the text after).
QString WithoutAccelerator(QString name)
{
    const int at = name.indexOf(QLatin1Char('&'));
    if (at >= 0)
        name.remove(at, 1);
    return name;
}

} // namespace

TLanguageStrip::TLanguageStrip(QWidget* panel, QScrollArea* scroll, TTranslator& translator, int screenWidth,
                               QObject* parent)
    : QObject(parent), m_panel(panel), m_scroll(scroll), m_screenWidth(screenWidth)
{
    CreateButtons(translator);
}

void TLanguageStrip::CreateButtons(TTranslator& translator)
{
    const int margin = m_screenWidth * 20 / DesignScreenWidth;
    QWidget* strip = m_scroll->widget();
    auto* group = new QButtonGroup(this);
    const int count = translator.MaxLanguages();
    for (int i = 0; i < count; ++i) {
        auto* button = new QToolButton(strip);
        button->setObjectName(QStringLiteral("ButtonLingua") + QString::number(i));
        button->setProperty("Tag", i);
        button->setGeometry(0, (margin + ButtonHeight) * i + margin, ButtonWidth, ButtonHeight);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoRaise(true);
        const QString name = WithoutAccelerator(translator.GetFirstString(i));
        button->setToolTip(name);
        // Only the resource library supplies the flags; a button without its
        // flag shows the language's name, framed.
        const QPixmap flag =
            ResourceLibrary::IsLoaded()
                ? QPixmap(ResourceLibrary::LibraryPath(QStringLiteral("bitmap"), FirstFlag + i))
                : QPixmap();
        if (!flag.isNull()) {
            button->setIcon(flag);
            button->setIconSize(flag.size());
        } else {
            ShowLanguageName(button, name);
        }
        group->addButton(button, i);
        connect(button, &QToolButton::clicked, this, [this, i] { emit LanguageChosen(i); });
        m_buttons.append(button);
    }
    if (ResourceLibrary::IsLoaded()) {
        QPalette desktop = m_scroll->palette();
        desktop.setColor(QPalette::Window, DesktopColour);
        strip->setPalette(desktop);
        strip->setAutoFillBackground(true);
    }
    // The strip fills the scroll box and scrolls when the buttons need more room.
    strip->setMinimumSize(m_scroll->width() - 2, (margin + ButtonHeight) * count + margin);
    m_scroll->setWidgetResizable(true);
    PlaceButtons();
}

void TLanguageStrip::ShowLanguageName(QToolButton* button, const QString& name)
{
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFont(DesignFont(QStringLiteral("Tahoma"), NamePixelSize, true));
    button->setText(name);
    FitFontToWidth(button, name, ButtonWidth - 2 * NamePadding);
}

// With a vertical scroll bar the buttons move left to leave it room.
void TLanguageStrip::PlaceButtons()
{
    const bool scrolls = m_scroll->widget()->minimumHeight() > m_scroll->height();
    const int left = (m_scroll->width() - ButtonWidth) / (scrolls ? 3 : 2);
    for (QToolButton* button : std::as_const(m_buttons))
        button->move(left, button->y());
}

void TLanguageStrip::Place(const QWidget* client)
{
    const int width = m_panel->width();
    m_panel->setGeometry(client->width() - width, 0, width, client->height());
    m_scroll->setGeometry(0, 0, width, client->height());
    PlaceButtons();
}
