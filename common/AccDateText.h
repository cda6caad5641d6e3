#pragma once
// Dates as texts for screens, lists and messages, in Western or era form
// (SystemDef.NengoSwitch 1 = era form), and reading dates written in the
// fixed Japanese formats.

#include <QString>

#include "platform/DateTime.h"
#include "platform/Format.h"

// Formatting of D with Format under the given settings.
QString fnFormatDateTimeFS(const QString& Format, const TFormatSettings& Settings, TDateTime D);

// Reads S as "yyyy/MM/dd" with an optional "hh:mm[:ss]" time; 0 when S is
// not a date.
TDateTime fnStrToDateTimeJP(const QString& S);

// "<from> ～ <to>", each date in the form of the current switch.
QString fnKikanToText(TDateTime From, TDateTime To);

// A date with slashes (Kind chooses the era prefix: 0 none, 1 the era name,
// 2 the era sign, 3 the era sign with every space removed).
QString fnDateToWarekiText(const QString& Keyword, int Kind, TDateTime D);

// A date with 年, 月 and 日.
QString fnDateToWarekiTextJ(const QString& Keyword, int Kind, TDateTime D);
