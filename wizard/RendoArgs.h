// The command line with which the calling tax-form program starts the
// wizard: none, or exactly one argument of four comma-separated fields
//   PHandle,MessageID,FunctionID,ExpFilePath
// The first three are decimal integers; the output path is everything after
// the third comma, so a path may itself contain commas.
#pragma once

#include <QString>
#include <QStringList>

struct TRendoArgs {
  quint64 PHandle = 0;  // the caller's window (endpoint); 0 without the argument
  int MessageID = 0;    // message posted to the caller at exit
  int FunctionID = 0;   // function number handed to the export and posted back
  QString ExpFilePath;  // output path; empty without the argument
};

enum class TRendoArgsKind {
  None,       // no argument: the program runs by itself
  Valid,      // one argument, its fields read
  TooMany,    // more than one argument
  BadNumber,  // one of the first three fields is not a decimal integer, is
              // out of range, or is a negative window handle (the message
              // names the field and which of these it is)
};

struct TRendoArgsResult {
  TRendoArgsKind Kind = TRendoArgsKind::None;
  TRendoArgs Args;  // filled only for Valid
  QString Message;  // the error box text for TooMany and BadNumber
};

// Reads the program's arguments (without the program name itself).
TRendoArgsResult fnParseRendoArgs(const QStringList& arguments);

// "不正な引数が渡されました。\r\rアプリケーションを強制終了します。"
QString fnRendoArgsTooManyMessage();
