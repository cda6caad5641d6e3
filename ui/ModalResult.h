// Modal results of the framework's forms and how a button hands one to the
// form it stands on.
//
// A form's modal result is kept on the form itself. Setting a non-zero result
// does not close the form at once: the code that pressed the button (or ran
// a key handler) finishes first, and only then `pcApplyModalResult` closes a
// dialog whose result is still non-zero, so a click handler can change or
// clear the result that its button handed over.
#pragma once

#include "common/MessageHook.h"  // mrNone .. mrYesToAll

class QWidget;

// The modal result currently held by `form` (0 when none was set).
int fnFormModalResult(const QWidget* form);

// Sets the modal result of `form` (usually `widget->window()`).
void pcSetFormModalResult(QWidget* form, int result);

// Closes `form` with its modal result when that is not 0 and the form is a
// dialog; returns true when it closed. The held result is cleared, so a form
// shown again starts with none.
bool pcApplyModalResult(QWidget* form);
