#pragma once
// The application-wide screen cursor: one setting, not a stack. Setting the
// default cursor removes any override; the hourglass is how a running start
// or job shows that the program is busy.

#include <Qt>

void pcSetScreenCursor(Qt::CursorShape AShape);
// The current screen cursor: Qt::ArrowCursor when no override is set.
Qt::CursorShape fnScreenCursor();
