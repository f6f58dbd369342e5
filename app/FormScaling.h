#pragma once

// Windows are designed for a screen 800 pixels wide and scale themselves by
// screen width / 800 at construction on any other width.

class QWidget;

constexpr int DesignScreenWidth = 800;

// The width of the screen the program runs on.
int ScreenWidth();

// value × screenWidth / 800, cut toward zero (the integer scaling of positions,
// sizes and spacings).
int Scaled(int value, int screenWidth);

// Scales the window and every widget in it: positions, sizes and font sizes
// multiplied by screenWidth and divided by 800. Nothing happens at 800.
void ScaleForm(QWidget* form, int screenWidth);
