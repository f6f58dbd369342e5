#pragma once

// Windows are designed for a screen 800 pixels wide and scale themselves by
// screen width / 800 at construction on any other width.

#include <QFont>

class QWidget;
class TChildLabel;

constexpr int DesignScreenWidth = 800;

// The width of the screen the program runs on.
int ScreenWidth();

// The width the windows scale to: the screen's width, but no more than the
// screen's free height allows for the 4:3 design, so that on a wide screen the
// lower rows of a window are not pushed off the bottom.
int ScalingWidth();
// The same for a screen of the given width and free height.
int ScalingWidthFor(int screenWidth, int availableHeight);

// value × screenWidth / 800, cut toward zero (the integer scaling of positions,
// sizes and spacings).
int Scaled(int value, int screenWidth);

// Scales the window and every widget in it: positions, sizes, font sizes and
// the distances of caption labels from their controls multiplied by screenWidth
// and divided by 800. Nothing happens at 800.
void ScaleForm(QWidget* form, int screenWidth);

// The windows of lists and tables (backups, compare, change history): their
// text in Arial 13 pixels and their size given for the design width, both
// scaled to the screen like the other windows.
void ScaleTextWindow(QWidget* window, int screenWidth, int designWidth, int designHeight);

// A font of the window descriptions: family, height in pixels, weight and slant.
QFont DesignFont(const QString& family, int pixelSize, bool bold, bool italic = false);

// The system font with its family, size, weight and style set explicitly: a
// widget given it keeps them whatever font its parent has (the system font
// itself leaves the weight to the parent).
QFont ExplicitSystemFont();

// Makes the widget's font smaller, a pixel at a time, until the text fits the
// width (never below 6 pixels); a text that fits keeps the font. For texts
// whose length depends on the language, in places of a fixed width.
void FitFontToWidth(QWidget* widget, const QString& text, int width);

// The caption label a value edit, bound list or live label carries beside
// itself, or nullptr for any other widget (or a live label without one).
TChildLabel* CaptionLabel(QWidget* control);

// Lists and one-line fields take the given height (that of the value edits,
// whose height follows their font), about their vertical centre, so that the
// fields of a window stay alike at every scale.
void MatchFieldHeights(QWidget* form, int height);
