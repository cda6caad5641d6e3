// Key styles of the maker's input controls and the edit helpers they share.
//
// Every input control moves the keyboard focus with Enter and the arrow keys
// as well as with Tab. `TKeyStyles` says which of those keys move the focus
// out of a control; `pcMoveFocus` is the one operation through which every
// control moves it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QString>
#include <Qt>

#include "common/AccRecord.h"

class QKeyEvent;
class QWidget;

// Keys that may move the focus out of a control.
enum TKeyStyle : std::uint8_t { ksEnter, ksLeft, ksUp, ksRight, ksDown };

// Behaviours of the numeric edit at its length limit and on Tab and Down.
enum TAutoNextCtl : std::uint8_t { acMaxLength, acTabKey, acDownKey, acSendEnter };

using TKeyStyles = TEnumSet<TKeyStyle>;
using TAutoNextCtls = TEnumSet<TAutoNextCtl>;

// The styles a new edit, combo box, check box or radio button starts with.
inline constexpr TKeyStyles DefaultKeyStyles{ksEnter, ksUp};

// Moves the keyboard focus from `from` to the next (forward) or previous
// control in tab order on the form it stands on, skipping controls that
// cannot take the focus. A radio button that is not checked while another of
// its group is checked is skipped like a control without tab stop. Returns
// false, moving nothing, when `from` stands on no form.
bool pcMoveFocus(QWidget* from, bool forward);

// The key-down event of the controls: `Key` is the Qt key code, which the
// handler may set to 0 to consume the key.
using TKeyDownEvent = std::function<void(int& Key, Qt::KeyboardModifiers Shift)>;

// The style that governs a Qt key (Return and Enter: ksEnter; the arrows),
// none for every other key.
std::optional<TKeyStyle> fnKeyStyleOf(int qtKey);

// True when none of Shift, Ctrl and Alt is held.
bool fnNoModifier(Qt::KeyboardModifiers m);

// Key rules of the check box and the radio button, run from their key-press
// handling. Returns true when the key was dealt with here; false hands it to
// the platform's handling (Enter and arrows whose style is not set keep the
// platform behaviour: for radio buttons the arrows move within the group).
// The rules look at the key as it arrived, so a key-down handler that
// consumes an arrow or Enter does not stop the move.
bool fnButtonKeyRules(QWidget* self, TKeyStyles styles, QKeyEvent* e, const TKeyDownEvent& onKeyDown);

// True when `w` stands on a form (it has a parent window above it).
bool fnOnForm(const QWidget* w);

// The byte length of a text in the Japanese ANSI code page (code page 932):
// ASCII and half-width katakana count 1, other characters 2.
int fnByteLength(const QString& s);

// Power: 0 for base 0, else e^(exponent * ln(base)).
long double fnPower(long double base, long double exponent);

// Cuts `value` to `digit` - 1 decimals toward minus infinity, with a small
// bias (0.000001) added before the cut so that binary fractions just below a
// whole step still reach it.
long double fnRoundDownDigit(std::int16_t digit, long double value);
