// My Number information of a company data set: the company's individual or
// corporate number and the My Number administrator password, both kept
// enciphered among the company's typed settings (group "基本設定", codes
// "＃USE", "＃KEY", "＃VALUE"), and the log table MYNUMBER_LOG of every action
// on them.
//
// TMyNumberIO reads, takes out, puts back and deletes the stored
// information, keeps the log, checks a number's check digit and formats a
// number for display. IsMyNumberAdmPassword asks a My Number administrator
// for the password through a prompt hook installed by the dialogs library.
#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "platform/DateTime.h"

enum TJxMyNumber { jxmnHojin, jxmnKojin };

enum TJxLogState {
  jxlsNone = 0,
  jxlsAdd = 1,
  jxlsUpdate = 2,
  jxlsDelete = 3,
  jxlsShow = 4,
  jxlsPrint = 5,
  jxlsHozon = 6,
  jxlsFukugen = 7,
  jxlsHozonDelMyNumber = 8,
  jxlsInitPassword = 9,
  jxlsUpdatePassword = 10,
};

// One row of MYNUMBER_LOG. Rows are addressed by Hizuke, SerialNo and
// OpCode; a Hizuke of 0 is stamped with the current time when inserted.
struct TMyNumberLogRec {
  TDateTime Hizuke = 0;
  QString SerialNo;
  QString OpCode;
  QString OpName;
  QString HostName;
  TJxLogState State = jxlsNone;
  QString ProcName;
  QString Comment;
};
using TMyNumberLogList = QList<TMyNumberLogRec>;

// The administrator password prompt: ATry is 1 to 3; answers false when
// the dialog was closed other than with OK, else true with the typed text.
using TMyNumberAdmPasswordPromptProc = std::function<bool(int ATry, QString& AText)>;
extern TMyNumberAdmPasswordPromptProc MyNumberAdmPasswordPromptProc;

// True at once for an operator who is no My Number administrator; false at
// once for an empty stored password. Otherwise up to three tries through
// the prompt: the typed text, trimmed of half- and full-width spaces, must
// equal APassword exactly. Without a prompt nobody can answer: false.
bool IsMyNumberAdmPassword(const QString& APassword);

// The comment of a log entry for a state and a (cut) process name.
QString fnMyNumberLogComment(TJxLogState AState, const QString& AProcName);

class TMyNumberIO {
 public:
  TMyNumberIO() = default;
  TMyNumberIO(const TMyNumberIO&) = delete;
  TMyNumberIO& operator=(const TMyNumberIO&) = delete;

  int ItemCount() const { return FItemCount; }
  const TMyNumberLogList& ItemList() const { return FItemList; }
  int MyNumberUseKbn() const { return FUseKbn; }
  QString MyNumberPassword() const { return FPassword; }
  QString MyNumber() const { return FMyNumber; }
  // The company name seen by the last log read.
  QString ShougoHikaku() const { return FShougo_Hikaku; }

  // A new entry of the logged-on operator on this computer; Hizuke 0.
  void InitLogRecord(TMyNumberLogRec& ARec, TJxLogState AState, const QString& AProcName) const;

  // Inserts the entry into the open company database. A row that collides
  // with an existing one (time stamp, installation and operator) is tried
  // again with a strictly later time stamp, four attempts in all; ARec
  // keeps the stamp stored. True when the entry was stored.
  bool AddLog(TMyNumberLogRec& ARec);
  // The same for the company database file AIBPathDat.
  bool AddLog(TMyNumberLogRec& ARec, const QString& AHostName, const QString& AIBPathDat);

  // Reads the log of the open company database (AHizukeOrder 1: newest
  // first) and remembers the company's name.
  void ExecuteLog(int AHizukeOrder);
  // The same for a company database file, oldest first.
  void ExecuteLog(const QString& AHostName, const QString& ADataPath);
  // Puts the remembered entries that the database file lacks back into it,
  // when it holds the same company as the last read.
  void MergeLog(const QString& AHostName, const QString& ADataPath);
  void DeleteLog(const TMyNumberLogRec& ARec);
  void ClearLog();
  // Entry AIndex of the last read; an empty record outside the list.
  TMyNumberLogRec GetItem(int AIndex) const;

  // Reads (deciphered) the My Number information of a company database
  // file; with AMyNumberInfoClear "MYNUMBER_CLEAR" also takes it out of the
  // data (a log entry of the deletion is written and remembered). The
  // values read stay in the object. True when the work was done.
  bool GetMyNumberInfo(const QString& AHostName, const QString& ADataPath, const QString& ASenderName,
                       const QString& AMyNumberInfoClear);
  // Puts the information read before back into the data (when it kept
  // any) and removes the log entry of the clearing. True when there was
  // nothing to put back or it was stored.
  bool PasteMyNumber(const QString& AHostName, const QString& ADataPath);
  // Takes the information out of the data (when it kept any), no log entry.
  bool DeleteMyNumber(const QString& AHostName, const QString& ADataPath);

  static bool CheckMyNumberDigit(TJxMyNumber AType, const QString& AMyNumber);
  // "-": 12 characters 4-4-4, 13 characters 1-4-4-4; "": every "-" removed;
  // "*": masked; anything else unchanged.
  static QString FormatMyNumber(const QString& AValue, const QString& AFormatType);

 private:
  // Runs AWork on the company database of a file path (connected for it
  // when it is not the open one, and closed again). False when it cannot be
  // opened or AWork failed (reported with AText).
  bool withDataSet(const QString& AHostName, const QString& ADataPath, const QString& AStep, const QString& AText,
                   const std::function<void()>& AWork);
  void readLog(int AHizukeOrder);
  bool insertLog(TMyNumberLogRec& ARec);

  QString FShougo_Hikaku;
  int FItemCount = 0;
  TMyNumberLogList FItemList;
  TMyNumberLogRec FLogRec;
  bool FLogRecStored = false;
  int FUseKbn = 0;
  QString FPassword;
  QString FMyNumber;
  // The two values as they were stored (enciphered), kept to put back a
  // value that cannot be deciphered here.
  QString FStoredPassword;
  QString FStoredMyNumber;
};
