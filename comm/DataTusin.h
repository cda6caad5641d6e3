// TDataTusin: the widget-free part of the communication form. It holds what
// the form's operations share (process type, the relay server's answer, the
// encoded operator and computer names, the work fields of a transfer) and
// runs the operations that need no screen:
//
//   DataTusinRelay.cpp   requests to the relay server (ServerInfoGet,
//                        CloudShareState, JyusinKanryou, OpPcNameGet, ...)
//   DataTusinPackage.cpp the transfer package: save (DataHozon), zip,
//                        staging copy, clean-up
//   DataTusinCheck.cpp   the comparison of received data with the local
//                        data set (DataHikaku and its two gatherers)
//   DataTusinList.cpp    the data-list rows of the operator's group
//                        (ReadDataList, WriteDataListRow)
//   DataTusinDirect.cpp  direct reads and writes of the transferred data set's
//                        company database over the form's own connection
//                        (CloudTimeUpdate, CloudLineClear, GassanInfoRead,
//                        GassanInfoWrite)
//
// The screen (comm/dialogs) owns one and gives it the hooks that reach the
// widgets: the F5/F12 keys after an unreachable server, the progress box.
// Messages go through the common message hook.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

#include "comm/RelayConnection.h"
#include "comm/RelayReply.h"
#include "common/BackupRestoreThread.h"
#include "common/DataInfomation.h"
#include "datasel/ComDataSentaku.h"
#include "db/Database.h"
#include "db/Transaction.h"
#include "platform/DateTime.h"

// One query key of a request, in the order the protocol has them. A value
// marked Encoded is already safe for a query (a name in its escaped Base64
// form) and goes as it stands; every other value is percent-encoded.
struct TRelayKey {
  QString Key;
  QString Value;
  bool Encoded = false;
};
using TRelayKeys = QList<TRelayKey>;

// The steps of a send as its step dialog shows them (boxes 1 to 4), and
// their states.
enum TSendStep { ssSave = 1, ssZip = 2, ssStage = 3, ssTransfer = 4 };
enum TSendStepState { sssPending, sssRunning, sssDone };

// The fixed prefix of every package password: six characters shared by
// every installation that exchanges packages.
extern const QString TransferZipPrefix;

// The agreement asked when received data differs from the local data set.
struct TTusinAgreement {
  QString WindowTitle;
  QString MainCaption;
  QStringList Lines;
  QString AgreeCaption;
  bool ScreenCentered = false;
};

// One wait unit of the transfer steps: a busy wait of 0.48 s on the clock
// that processes no events.
void pcTusinWaitUnit();

// The request line "GET /request.php?Scode=<code>&sSno=<serial>&key=value... HTTP/1.0".
QByteArray fnRelayRequestLine(int ACode, const QString& ASerial, const TRelayKeys& AKeys);

class TDataTusin {
 public:
  TDataTusin();
  virtual ~TDataTusin();
  TDataTusin(const TDataTusin&) = delete;
  TDataTusin& operator=(const TDataTusin&) = delete;

  // ---- relay requests (DataTusinRelay.cpp)
  // The server-information request (1721 relay, 1726 cloud share): 1 when
  // the reply was "000" and was read into Ftp_Add, Ftp_Pass and the rows; 0
  // after a failure already reported.
  int ServerInfoGet();
  // The cloud-line state request (1731): AShare 1 releases line ALine, 2
  // marks it in use. True on "000"; a code is reported; a broken connection
  // throws to the caller (the connection is freed first).
  bool CloudShareState(int ALine, int AShare);
  // The transfer-start notice of a cloud receive (1834) for CLOUD_LINE,
  // then the server's time into the data (CloudTimeUpdate).
  bool JyusinKanryou();
  // Fills fOpCode, fOpName(M), fPcName(M). False after a reported error.
  bool OpPcNameGet();
  // "+" as "%2b", "=" as "%3d"; everything else unchanged.
  static QString UrlEscape(const QString& AText);
  // A name for a query value: trimmed, UTF-8, Base64 on one line, escaped.
  static QString EncodeName(const QString& AName);
  // Runs one request: connects, writes the request line, the three header
  // lines and AEndLines empty lines, and hands the reply to AReadReply. The
  // connection is freed on every path; errors pass to the caller.
  void RelayRequest(int ACode, const TRelayKeys& AKeys, int AEndLines,
                    const std::function<void(TRelayReplyReader&)>& AReadReply);

  // ---- transfer package (DataTusinPackage.cpp)
  // The send work folder ComS and the receive work folder ComR below
  // SystemDef.TEMP.
  static QString SendFolder();
  static QString RecvFolder();
  // File names of this kind of transfer (relay below type 20, cloud share
  // from 20 on): the backup, the archive, the staged package (also its name
  // on the server).
  QString BackupFileName() const;
  QString ZipFileName() const;
  QString StagedFileName() const;
  // The package password: the prefix and the open data's communication
  // password, made when it is needed, never stored.
  static QString PackagePassword();
  // The save step: backs the company database of the transfer up into the
  // send folder through the backup worker, with the information block; the
  // data folder's status is 4 meanwhile and 1 after. True on success.
  bool DataHozon(bool AMessage);
  void DataStatusWrite(const QString& AFolder, int AStatus);
  // The package steps of a send after its own preparation: work folder,
  // save, zip (Esc swallowed meanwhile), staging copy; the step display
  // follows through OnStep. False after the message of the step that
  // failed. On success StagedPath and StagedSize name the package.
  bool PackageBuild();
  // Deletes the archive, the backup and the staged file of the send,
  // ignoring errors.
  void PackageCleanUp();
  // The fixed-folder kinds (types 3 to 10) word some messages apart.
  bool IsFixedFolderKind() const { return FProcType >= 3 && FProcType <= 10; }

  QString StagedPath;
  qint64 StagedSize = 0;
  int itDataVerMajor = 0;
  int itDataVerMinor1 = 0;
  int itDataVerMinor2 = 0;
  std::unique_ptr<TBackupRestoreThread> FBackupRestoreThread;
  TDataInfomation FDataInfomation;

  // The pause between steps (0.48 s busy wait without messages); the wait
  // of the save step (N ms with events processed). Tests replace both.
  std::function<void()> Pause;
  std::function<void(int)> WaitMSec;
  // The step display, and the hook that swallows Esc during the zip step
  // (true installs, false removes).
  std::function<void(TSendStep, TSendStepState)> OnStep;
  std::function<void(bool)> OnEscHook;

  // ---- checks of transferred data (DataTusinCheck.cpp)
  // Compares source and target information (company name, first and last
  // day, journal count); True when nothing differs or the operator agreed.
  bool DataHikaku(const QString& ACaption, const TDataInfomationRec& ASource, const TDataInfomationRec& ATarget);
  // The same with the source read from a work folder's settings file and
  // the target made again from the target folder's database.
  bool WorkDataHikaku(const QString& ACaption, const QString& AHostName, const QString& ATargetFolder,
                      const QString& AWorkFolder);
  // The same with the source from a received backup's information block.
  bool BackupInfoHikaku(const QString& ACaption, const TDataInfomationRec& ASource, const QString& ATargetFolder);
  // The difference lines of the last comparison.
  QStringList FMessageList;
  // Asks the agreement (the screen installs its dialog; without one the
  // common message hook asks OK or Cancel).
  std::function<bool(const TTusinAgreement&)> AskAgreement;

  // ---- data-list rows (DataTusinList.cpp)
  // Reads every DATALIST row of the operator's group into
  // FAllSentakuListRec (by REC, or descending); their number. A database
  // error is reported and raised again.
  int ReadDataList();
  // Writes FAllSentakuListRec[AIndex] back to the table that holds it
  // (DATALIST, DATALIST_EX or CHILD_DATALIST).
  void WriteDataListRow(int AIndex);
  TDataSentakuRecArray FAllSentakuListRec;
  int FSortType = 0;
  int FSortRow = -1;

  // ---- direct database access (DataTusinDirect.cpp)
  // The consolidation values of the transferred data set (ACCREG 基本設定 /
  // 合算データ区分, 合算データ数): read into gassanKb, gassanSu; written back.
  bool GassanInfoRead();
  bool GassanInfoWrite();
  // AMode non-zero reads the data version into itDataVer*; 0 ties the data
  // set to no cloud-share line. False after a reported error.
  bool CloudLineClear(int AMode);
  QString gassanKb;
  QString gassanSu;

  // Writes ACCDEF1.CLOUD_TIME of the transferred data (data newer than
  // 11.0.0 only). False after a reported database error.
  bool CloudTimeUpdate(TDateTime ATime);

  // The transferred data set's folder: SystemDef.IBPATHDAT below type 20,
  // HIBPATHDAT from 20 on.
  QString TransferDataPath() const;
  bool IsCloud() const { return FProcType >= 20; }

  // ---- configuration and state
  TRelayConfig RelayConfig;
  // 1 or 2 in the special edition, else 0.
  int EditionKind = 0;
  int FProcType = 0;
  QString HIBPATHDAT;

  // The relay server's answer (valid until the next successful ServerInfoGet).
  TServerInfo FServerInfo;
  TServerFolderRows& Rows() { return FServerInfo.Rows; }

  QString fOpCode;
  QString fOpName;
  QString fPcName;
  QString fOpNameM;
  QString fPcNameM;
  // The computer name's length the server accepts; 0 = no limit.
  int PcNameLimit = 0;
  bool bRendou = false;
  QString sHizuke;
  QString sWHizuke;
  TDateTime tHizuke = 0;

  // The connection of the request under way; null between requests.
  std::unique_ptr<TRelayConnection> IdTCPClient;

  // The form's own connection to a transferred data set.
  db::Database IBDatabaseDAT;
  db::Transaction IBTransaction1;

  // Hooks to the screen: after an unreachable server (the dialog disables
  // F5 and F12), and to hide the progress box before a message.
  std::function<void()> OnServerUnreachable;
  std::function<void()> OnHideProgress;

  // The computer name as the system reports it (tests replace it).
  std::function<QString()> ComputerNameProc;

 private:
  void HideProgress();
  // Opens IBDatabaseDAT on the transferred data set; a failure is reported
  // and the connection stays closed.
  void OpenDirectConnection();
};
