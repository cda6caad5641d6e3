#pragma once
// The editors of a grid's cells by their editor properties (xGridBands.h):
// the numeric edit for amounts, the text edit for texts and codes, a masked
// edit, a fixed list, and the check box that toggles in place. The grid's
// delegate (xGridView.cpp) uses these; they know nothing of the view.

#include <QString>
#include <QVariant>

#include "platform/Currency.h"
#include "ui/xGridBands.h"

class QWidget;

// The editor of a cell, owned by AParent; nullptr when the properties allow
// no editing in an editor (labels, pictures, check boxes, colours and
// read-only items).
QWidget* fnCxCreateEditor(const TcxEditProperties& AProps, QWidget* AParent);

// Puts the cell's value into an editor made by fnCxCreateEditor.
void pcCxSetEditorValue(QWidget* AEditor, const TcxEditProperties& AProps, const QVariant& AValue);

// The value the editor holds, for the model. The check of the properties
// (OnValidate) runs first on the display value as typed. False when the
// value may not be stored (an empty text where none is allowed, a check
// that leaves its error set); AErrorText then says why (it may be empty).
// An amount keeps the type of the cell's old value (Currency, a whole
// number or a double; Currency for an empty cell).
bool fnCxEditorValue(QWidget* AEditor, const TcxEditProperties& AProps, const QVariant& AOldValue, QVariant& AValue,
                     QString& AErrorText);

// The text a cell shows: an amount through DisplayFormat (an empty cell of
// an item that is not nullable shows NullString); every other kind shows
// AModelText.
QString fnCxDisplayText(const TcxEditProperties& AProps, const QVariant& AValue, const QString& AModelText);

// A check box cell's value after a toggle; false when it may not toggle.
bool fnCxToggleCheck(const TcxEditProperties& AProps, const QVariant& AValue, QVariant& ANewValue);

// The framework's edit mask ("!99/00;1;_": mask, literals kept, blank
// character; "0" a digit required, "9" a digit that may be left blank) as a
// Qt input mask ("00/99;_").
QString fnCxQtInputMask(const QString& AEditMask);

// The amount a text stands for: separators removed, an empty or unreadable
// text as 0. False only for an empty text.
bool fnCxAmountOf(const QString& AText, Currency& AValue);
