#pragma once
// Window and screen helpers of the common library that need the widgets:
// bringing a window to the front, discarding input already queued for a
// window, finding a top-level window by class and title, the screen facts
// the widget-free scaling routines work with, and the pixel width of a text.

#include <QFont>
#include <QString>

class QWidget;

// Brings the window of AWnd to the front and gives it the input focus: a
// minimised window is restored first, then raised and activated. A hidden
// window stays hidden. Nothing for nullptr.
void pcForceForegroundWindow(QWidget* AWnd);

// Discards the mouse input (buttons, moves, wheel) and then the key presses
// and releases that are already queued for AWnd or any widget inside it,
// whether posted by the program or still waiting in the window system's
// queue. Other events and other windows' input are kept. Nothing for
// nullptr.
void pcFlushInputMessages(QWidget* AWnd);

// A top-level window of this program by its class name and title (both
// compared without regard to case; either may be empty, both empty find
// nothing). Visible windows are preferred to hidden ones. The class name
// "desktop" asks for the desktop's icon view, which no window of the
// program is: the answer is nullptr.
QWidget* fnFindWindowEx(const QString& AClassName, const QString& AWindowName);

// Hands the screen facts to the widget-free scaling routines
// (fnScaleDpi, fnFrameHeightAdjust): the pixels per inch of the main form
// (TBSDI::MainForm), or of the primary screen when there is none. The
// window system draws frames outside a window's client size, so the frame
// height handed on is the design one (no correction).
void pcApplyScreenMetrics();

// The width in pixels of S drawn in AFont, times AFactor, truncated.
int fnTextPixelWidth(const QString& S, const QFont& AFont, double AFactor);
