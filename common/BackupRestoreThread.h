// The backup and restore worker: one backup, restore, copy or rebuild of a
// database and its error report. Every step runs on the main thread; the
// worker's own thread only hands the steps over one after another, so the
// caller must keep the event loop running (fnWaitMSec in 300 ms steps) until
// TerminatedFlg. Without an application object the steps run at Resume.
//
// A backup of a company database carries a trailing information block
// (UTF-16LE, "## TessalyZone" and eight KEY=value lines) that a later
// restore reads to show what the file holds.
#pragma once

#include <atomic>
#include <functional>

#include <QString>
#include <QThread>

#include "common/AccRecord.h"
#include "common/MyNumber.h"

enum TJxToolType { jxttIBComp, jxttGBak };

class TBackupRestoreThread : public QThread {
 public:
  explicit TBackupRestoreThread(bool ACreateSuspended = true);
  ~TBackupRestoreThread() override;

  void SetProcType(int AValue) { FProcType = AValue; }
  int ProcType() const { return FProcType; }
  void SetToolType(TJxToolType AValue) { FToolType = AValue; }
  TJxToolType ToolType() const { return FToolType; }
  void SetDataBaseType(quint8 AValue) { FDataBaseType = AValue; }
  void SetServerName(const QString& AValue) { FServerName = AValue; }
  QString ServerName() const { return FServerName; }
  void SetDataBaseName(const QString& AValue) { FDataBaseName = AValue; }
  void SetRecvDataBaseName(const QString& AValue) { FRecvDataBaseName = AValue; }
  void SetFileName(const QString& AValue) { FFile = AValue; }
  void SetRestoreIndex(bool AValue) { FRestoreIndex = AValue; }
  bool Result() const { return FResult; }
  const TErrInfomation& ErrInfomation() const { return FErrInfomation; }
  bool TerminatedFlg() const { return FTerminated.load(); }
  void SetAddZaimuInf(bool AValue) { FAddZaimuInf = AValue; }
  bool AddZaimuInf() const { return FAddZaimuInf; }
  void SetMyNumberKakunin(bool AValue) { FMyNumberKakunin = AValue; }
  void SetMyNumberLogAdd(bool AValue) { FMyNumberLogAdd = AValue; }
  bool MyNumberLogAdd() const { return FMyNumberLogAdd; }
  void SetMyNumberClear(bool AValue) { FMyNumberClear = AValue; }
  bool MyNumberClear() const { return FMyNumberClear; }
  void SetSenderName(const QString& AValue) { FSenderName = AValue; }
  QString SenderName() const { return FSenderName; }

  QString Inf_Shougou;
  QString Inf_Kishu;
  QString Inf_Kimatu;
  int Inf_SiwakeCnt = 0;
  int Inf_TotalSiwakeCnt = 0;
  QString Inf_DataVersion;
  int Inf_GassanKbn = 0;
  int Inf_UseMyNumberKbn = 0;

  // Texts empty, numbers 0.
  void ZaimuInfClear();
  // The information block of the Inf_ values.
  QString ZaimuInfText() const;
  // Reads the information block at the end of a backup file into the Inf_
  // values; with AFileUpdateFlg the block is cut off the file (the file is
  // rewritten under a temporary name and renamed; on failure it stays as it
  // was). 1 when the block names a company, else 0.
  int GetZaimuInfFromBackupFile(const QString& ABackupFile, bool AFileUpdateFlg);
  int GetZaimuInfFromBackupFile(const QString& ABackupFile) { return GetZaimuInfFromBackupFile(ABackupFile, false); }

  // Starts the run.
  void Resume();

  // Called on the main thread before the backup itself, after the My Number
  // information was taken out (tests force a failure there).
  std::function<void()> BeforeBackupProc;

 protected:
  void run() override;

 private:
  void Execute();
  // Runs AStep on the main thread and waits for it; an exception that
  // leaves it ends the run (Result False, empty report).
  bool Step(const std::function<void()>& AStep);
  void SetError(const QString& AProc, const QString& ANo, const QString& AMessage1, const QString& AMessage2);
  void MyNumberStep();
  void BackupStep();
  void RestoreStep();
  void CopyStep();
  bool RunBackup(const QString& AWorkFile);
  bool RunRestore(const QString& ASource);
  bool TransferFromServer(const QString& AServerFile, const QString& AKey, const QString& AWorkFile);
  bool TransferToServer(const QString& ASource, const QString& AServerFile, const QString& AKey);
  bool IsLocalServer() const;

  int FProcType = 0;
  TJxToolType FToolType = jxttIBComp;
  quint8 FDataBaseType = 1;
  QString FServerName;
  QString FDataBaseName;
  QString FRecvDataBaseName;
  QString FFile;
  bool FRestoreIndex = false;
  bool FResult = false;
  TErrInfomation FErrInfomation;
  std::atomic<bool> FTerminated{false};
  bool FEscaped = false;
  bool FAddZaimuInf = false;
  bool FMyNumberKakunin = false;
  bool FMyNumberLogAdd = false;
  bool FMyNumberClear = false;
  int FMyNumberLogKbn = 0;
  QString FSenderName;
  TMyNumberIO FMyNumberIO;
};

// The marker line of the information block.
inline const QString ZaimuInfMarker = QStringLiteral("## TessalyZone");
