// Migration of a company data set of the older edition into a new company
// database (data version 17.0.0) in a new data folder. The separate
// preparing tool reads the older data and writes, into the work folder
// "convert_fb15", one SQL script per table and the info file
// "convert_info.txt"; this unit restores the empty template database of the
// data set's data system into the new folder, switches the template's
// triggers, foreign keys and indices off, deletes its built-in rows, loads
// every table from its script, switches everything on again, recomputes the
// generators, applies the fix-ups of values that do not carry over and
// writes the version. Distributed members are converted the same way into
// the sub-folders of the new folder. The log "convert.log" is written into
// the work folder; when anything fails, the new folder is removed.
#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Query;
}

// The request of one migration.
struct TConvertFb30Rec {
  int SelDataNo = 0;     // data-list number of the data set being migrated
  QString SelDataPath;   // the new data folder (the server's own path in client/server use)
  int AppType = 0;       // the use mode the caller passes to the preparing tool
  QString Fb15Folder;    // the work folder with the scripts
  QString Fb15InfoFile;  // the info file in it
  int Fb15SqlCount = 0;  // statements expected (for the percentage); set from the info file
};

// The values of the info file.
struct TConvertFb30Info {
  int OpCode = 0;
  int AppType = -1;
  int DataType = -1;
  int CodeType = -1;
  int SqlCount = 0;
  int GassanDataKbn = 0;
  int GassanChildCnt = 0;
  QStringList ChildData;     // member folders as written (index 0 = member 1)
  QList<int> ChildSqlCount;  // statements of each member's scripts
};

// Reads the info file: lines "name=value", names without regard to case,
// every value an integer (a missing or non-numeric value gives the default)
// except the member folders. A byte-order mark selects UTF-8 or UTF-16,
// otherwise the text is CP932. An EAppError when the file cannot be read.
TConvertFb30Info fnReadConvertFb30Info(const QString& AFileName);

// The member folder name: the last element of the path from the info file
// (after "\" or "/"); empty when that element is empty, "." or "..", which
// are refused.
QString fnConvertFb30ChildFolderName(const QString& APath);

// One script line with "%CL%", "%CR%" and "%LF%" replaced by CR LF, CR, LF.
QString fnConvertFb30Unescape(const QString& ALine);
// Whether a line (escapes replaced) ends a statement: its first ");" is its
// last two characters.
bool fnConvertFb30StatementEnds(const QString& ALine);
// The lines of a script file (a byte-order mark selects UTF-8 or UTF-16,
// otherwise CP932); an EAppError when it cannot be read.
QStringList fnReadConvertFb30Script(const QString& AFileName);

// The template number of the data kind and code kind (11, 21 to 24, 31), 0
// for none.
int fnConvertFb30TemplateNo(int ADataType, int ACodeType);

// A text of AO_FUDOUSAN laid out again for AWidth display columns: the head
// cut to the width and filled with spaces to exactly AWidth characters,
// followed by the rest that did not fit. An empty text stays empty.
QString fnConvertFb30Relayout(const QString& AText, int AWidth);

// The caller's progress box (shown by the caller; the migration only changes
// its text).
class TConvertFb30Progress {
 public:
  virtual ~TConvertFb30Progress() = default;
  virtual void SetInfoLabel(const QString& AText) = 0;
  virtual void BringToFront() {}
};

// The operator code and use mode of the older edition from the last info
// file read (0 and -1 until one is read); read by the data selection for the
// preparing tool's next start.
extern int Fb15OpCode;
extern int Fb15AppType;

class TConvertFb30 {
 public:
  TConvertFb30();
  ~TConvertFb30();

  // Migrates the data set and its members; True when every database was
  // converted.
  bool fnConvertFb30(const TConvertFb30Rec& ARec, TConvertFb30Progress* AProgress);
  // Converts the database of the current target.
  bool fnConvertFb30Data();
  void pcConvertFb30DeleteBuiltin();
  bool fnConvertFb30TableLoad();
  void pcConvertFb30Fixup();

  // The log lines of the last run.
  const QStringList& Log() const { return FLog; }
  const TConvertFb30Info& Info() const { return FInfo; }

 private:
  void AddLog(const QString& ALine) { FLog << ALine; }
  void SetProgress(const QString& AText);
  void WriteLog();
  void RemoveFolder(const QString& APath);
  bool RestoreTemplate(const QString& ADataBaseName);
  void RunSql(const QString& AText);
  void CommitRetaining();
  void CommitAndStart();
  void LoadScript(const QString& AFileName, int& ARunning);

  TConvertFb30Rec FRequest;
  TConvertFb30Rec FTarget;
  TConvertFb30Progress* FProgress = nullptr;
  QString FPrefix;
  QStringList FLog;
  TConvertFb30Info FInfo;
  QString FTemplateFile;
  std::unique_ptr<db::Query> FIBSQL1;
  std::unique_ptr<db::Query> FIBSQL2;
};

// The process-wide migration (one at a time).
bool fnConvertFb30(const TConvertFb30Rec& ARec, TConvertFb30Progress* AProgress);
