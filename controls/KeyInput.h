#pragma once

// How the controls' key filters see a key press: as the character it types, if
// any. Keys that only move or edit (arrows, Delete, Home, function keys) type
// no character and are left to the ordinary handling; Return and Enter type a
// carriage return, Backspace a backspace, and Control with a letter the matching
// control character (so the clipboard shortcuts arrive as characters that the
// filters swallow).

#include <QChar>

class QKeyEvent;

namespace KeyChar {
constexpr char16_t Backspace = 0x08;
constexpr char16_t Return = 0x0D;
constexpr char16_t Escape = 0x1B;
} // namespace KeyChar

// The character the key press types, or a null QChar.
QChar TypedCharacter(const QKeyEvent* event);

// Whether the character is one of the control characters the filters swallow
// (every one below a blank except Backspace and Return).
bool IsSwallowedControl(QChar character);

// Whether the key press would reach a numeric field only to be swallowed as a
// control character; such a key is left to the window's shortcuts instead.
bool IsSwallowedShortcut(const QKeyEvent* event);

// Whether the typed character is the locale's decimal or thousands separator;
// the numeric fields type either as the decimal separator.
bool IsSeparatorKey(QChar character);
