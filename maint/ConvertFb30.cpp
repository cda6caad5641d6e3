#include "maint/ConvertFb30.h"

#include <functional>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtDebug>

#include "common/AccFunction.h"
#include "common/AccFunction2.h"
#include "common/AccRecord.h"
#include "common/AccReg.h"
#include "common/BackupRestoreThread.h"
#include "common/DataModule.h"
#include "common/FbError.h"
#include "common/InitDataTemplate.h"
#include "common/MessageHook.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "maint/ConvertFb30Switch.h"
#include "platform/AppError.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/Paths.h"
#include "platform/SafeSave.h"
#include "platform/TextCodec.h"

int Fb15OpCode = 0;
int Fb15AppType = -1;

namespace {

const QString kStepName = QStringLiteral("TConvertFb30.fnConvertFb30Data");
const QString kTableList = QStringLiteral(
    "SELECT RDB$RELATION_NAME AS TABLE_NAME\n"
    "FROM RDB$RELATIONS\n"
    "WHERE RDB$VIEW_SOURCE IS NULL AND RDB$SYSTEM_FLAG = 0\n"
    "ORDER BY RDB$RELATION_NAME ASC");
// Statements of a script between two commits (retaining).
constexpr int kCommitEvery = 2000;
// Tables of the built-in row deletion between two message pumps.
constexpr int kPumpEvery = 20;

// The text of a file that the preparing tool wrote: a byte-order mark selects
// UTF-8 or UTF-16, otherwise the Windows code page 932.
QString readToolText(const QString& AFileName, const QString& AWhat)
{
  QFile f(AFileName);
  if (!f.open(QIODevice::ReadOnly))
    throw EAppError(QStringLiteral("%1を読み込めません。<%2> %3").arg(AWhat, AFileName, f.errorString()));
  const QByteArray bytes = f.readAll();
  if (f.error() != QFileDevice::NoError)
    throw EAppError(QStringLiteral("%1を読み込めません。<%2> %3").arg(AWhat, AFileName, f.errorString()));
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return QString::fromUtf8(bytes.mid(3));
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    const bool le = bytes.startsWith("\xFF\xFE");
    QString out;
    out.reserve((bytes.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
      const auto lo = uchar(bytes[le ? i : i + 1]);
      const auto hi = uchar(bytes[le ? i + 1 : i]);
      out.append(QChar(char16_t(lo | (hi << 8))));
    }
    return out;
  }
  return fromCp932(bytes);
}

QStringList splitLines(const QString& AText)
{
  QStringList lines = AText.split(QLatin1Char('\n'));
  for (QString& l : lines)
    if (l.endsWith(QLatin1Char('\r')))
      l.chop(1);
  // A final line break ends the last line; it opens no new one.
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  return lines;
}

int toIntOr(const QString& AValue, int ADefault)
{
  bool ok = false;
  const int v = AValue.trimmed().toInt(&ok);
  return ok ? v : ADefault;
}

void pumpMessages()
{
  if (QCoreApplication::instance())
    QCoreApplication::processEvents();
}

}  // namespace

TConvertFb30Info fnReadConvertFb30Info(const QString& AFileName)
{
  TConvertFb30Info info;
  QMap<int, QString> childData;
  QMap<int, int> childCount;
  static const QRegularExpression childKey(QStringLiteral("^gassanchild(data|sqlcount)(\\d+)$"));
  for (const QString& line : splitLines(readToolText(AFileName, QStringLiteral("コンバート情報ファイル")))) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
      continue;
    const QString name = line.left(eq).trimmed().toLower();
    const QString value = line.mid(eq + 1).trimmed();
    if (name == QLatin1String("opcode"))
      info.OpCode = toIntOr(value, 0);
    else if (name == QLatin1String("apptype"))
      info.AppType = toIntOr(value, -1);
    else if (name == QLatin1String("datatype"))
      info.DataType = toIntOr(value, -1);
    else if (name == QLatin1String("codetype"))
      info.CodeType = toIntOr(value, -1);
    else if (name == QLatin1String("sqlcount"))
      info.SqlCount = toIntOr(value, 0);
    else if (name == QLatin1String("gassandatakbn"))
      info.GassanDataKbn = toIntOr(value, 0);
    else if (name == QLatin1String("gassanchildcnt"))
      info.GassanChildCnt = toIntOr(value, 0);
    else if (const auto m = childKey.match(name); m.hasMatch()) {
      const int n = m.captured(2).toInt();
      if (m.captured(1) == QLatin1String("data"))
        childData.insert(n, value);
      else
        childCount.insert(n, toIntOr(value, 0));
    }
  }
  for (int n = 1; n <= info.GassanChildCnt; ++n) {
    info.ChildData << childData.value(n);
    info.ChildSqlCount << childCount.value(n, 0);
  }
  return info;
}

QString fnConvertFb30ChildFolderName(const QString& APath)
{
  const QString path = ToSlashes(APath.trimmed());
  const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
    return QString();
  return name;
}

QString fnConvertFb30Unescape(const QString& ALine)
{
  QString s = ALine;
  s.replace(QLatin1String("%CL%"), QLatin1String("\r\n"));
  s.replace(QLatin1String("%CR%"), QLatin1String("\r"));
  s.replace(QLatin1String("%LF%"), QLatin1String("\n"));
  return s;
}

bool fnConvertFb30StatementEnds(const QString& ALine)
{
  const qsizetype at = ALine.indexOf(QLatin1String(");"));
  return at >= 0 && at == ALine.size() - 2;
}

QStringList fnReadConvertFb30Script(const QString& AFileName)
{
  return splitLines(readToolText(AFileName, QStringLiteral("コンバートデータ")));
}

int fnConvertFb30TemplateNo(int ADataType, int ACodeType)
{
  return fnAccDataInitNo(ADataType, ACodeType);
}

QString fnConvertFb30Relayout(const QString& AText, int AWidth)
{
  if (AText.isEmpty())
    return AText;
  const QString head = fnCutByteL(AText, AWidth, true);
  const QString tail = fnCutByteR(AText, fnTextByteWidth(AText) - AWidth, true);
  return fnAlignText(head, AWidth, QStringLiteral("L")) + tail;
}

// ---------------------------------------------------------------------------

TConvertFb30::TConvertFb30() = default;
TConvertFb30::~TConvertFb30() = default;

void TConvertFb30::SetProgress(const QString& AText)
{
  if (FProgress)
    FProgress->SetInfoLabel(AText);
}

void TConvertFb30::WriteLog()
{
  const QString file = PathJoin(FRequest.Fb15Folder, QStringLiteral("convert.log"));
  QString text;
  for (const QString& l : FLog)
    text += l + QStringLiteral("\r\n");
  try {
    SaveFileSafely(file, toCp932(text));
  } catch (const std::exception& e) {
    // The log is the operator's record only; the migration's outcome stands.
    qWarning("convert.log not written: %s", e.what());
  }
}

void TConvertFb30::RemoveFolder(const QString& APath)
{
  if (APath.trimmed().isEmpty() || !DM)
    return;
  if (DM->AccDirectoryExists(APath, AppType))
    DM->AccDeleteDirectory(APath, AppType, false);
}

bool TConvertFb30::RestoreTemplate(const QString& ADataBaseName)
{
  TBackupRestoreThread worker(true);
  worker.SetProcType(1);
  worker.SetToolType(AppType == jxatCS || AppType == jxatSBC ? jxttGBak : jxttIBComp);
  worker.SetDataBaseType(1);
  worker.SetServerName(SystemDef.SERVERNAME);
  worker.SetDataBaseName(ADataBaseName);
  worker.SetFileName(FTemplateFile);
  worker.SetRestoreIndex(true);
  worker.Resume();
  while (!worker.TerminatedFlg())
    fnWaitMSec(300);
  return worker.Result();
}

void TConvertFb30::RunSql(const QString& AText)
{
  FIBSQL1->close();
  FIBSQL1->setParamCheck(false);
  FIBSQL1->setSql(AText);
  FIBSQL1->exec();
  FIBSQL1->close();
}

void TConvertFb30::CommitRetaining()
{
  DM->IBTransactionDAT.commitRetaining();
}

void TConvertFb30::CommitAndStart()
{
  DM->IBTransactionDAT.commit();
  DM->IBTransactionDAT.start();
}

bool TConvertFb30::fnConvertFb30(const TConvertFb30Rec& ARec, TConvertFb30Progress* AProgress)
{
  FRequest = ARec;
  FTarget = ARec;
  FProgress = AProgress;
  FLog.clear();
  FPrefix.clear();
  FInfo = TConvertFb30Info();
  FTemplateFile.clear();
  if (FProgress)
    FProgress->BringToFront();

  bool result = false;
  try {
    AddLog(QStringLiteral("コンバート情報ファイルの参照要求"));
    FInfo = fnReadConvertFb30Info(FRequest.Fb15InfoFile);
    Fb15OpCode = FInfo.OpCode;
    Fb15AppType = FInfo.AppType;
    FTarget.Fb15SqlCount = FInfo.SqlCount;
    AddLog(FRequest.Fb15InfoFile);
    AddLog(QStringLiteral("データ体系: %1,%2").arg(FInfo.DataType).arg(FInfo.CodeType));

    const int templateNo = fnConvertFb30TemplateNo(FInfo.DataType, FInfo.CodeType);
    QString refused;
    for (int n = 1; n <= FInfo.GassanChildCnt && refused.isEmpty(); ++n)
      if (fnConvertFb30ChildFolderName(FInfo.ChildData.value(n - 1)).isEmpty())
        refused = QStringLiteral("分散データのフォルダ名が正しくありません。  ※%1 <%2>")
                      .arg(n)
                      .arg(FInfo.ChildData.value(n - 1));
    if (templateNo == 0 || !refused.isEmpty()) {
      AddLog(templateNo == 0 ? QStringLiteral("データ体系不明") : refused);
      WriteLog();
      RemoveFolder(FRequest.SelDataPath);
      return false;
    }
    const QString initFolder = PathJoin({SystemDef.ROOT, QStringLiteral("bin_convert"), QStringLiteral("init")});
    FTemplateFile = fnFindAccDataInitFile(initFolder, FInfo.DataType, FInfo.CodeType);
    if (FTemplateFile.isEmpty())
      FTemplateFile = PathJoin(initFolder, fnAccDataInitFileName(templateNo));
    AddLog(FTemplateFile);
    AddLog(QStringLiteral("コンバート情報ファイルの参照成功"));

    result = fnConvertFb30Data();
    if (result && FInfo.GassanChildCnt > 0) {
      FPrefix = QStringLiteral("分散");
      for (int n = 1; n <= FInfo.GassanChildCnt; ++n) {
        AddLog(QStringLiteral("分散データのコンバート要求") + QStringLiteral("  ※%1").arg(n));
        const QString name = fnConvertFb30ChildFolderName(FInfo.ChildData.value(n - 1));
        FTarget = FRequest;
        FTarget.SelDataPath = PathJoin(FRequest.SelDataPath, name);
        FTarget.Fb15Folder = PathJoin(FRequest.Fb15Folder, name);
        FTarget.Fb15SqlCount = FInfo.ChildSqlCount.value(n - 1);
        if (!fnConvertFb30Data()) {
          result = false;
          break;
        }
        AddLog(QStringLiteral("分散データのコンバート成功"));
      }
    }
  } catch (...) {
    FTarget = FRequest;
    WriteLog();
    RemoveFolder(FRequest.SelDataPath);
    throw;
  }
  FTarget = FRequest;
  WriteLog();
  if (!result)
    RemoveFolder(FRequest.SelDataPath);
  return result;
}

bool TConvertFb30::fnConvertFb30Data()
{
  const QString folder = FTarget.SelDataPath;
  DM->AccMakeDirectory(folder, AppType);
  AddLog(QStringLiteral("初期化データベースのリストア要求"));
  AddLog(folder);
  SetProgress(FPrefix + QStringLiteral("データベースの作成中…"));
  if (!RestoreTemplate(PathJoin(folder, AccDataFile))) {
    AddLog(QStringLiteral("初期化データベースのリストア失敗"));
    if (AppType == jxatSA)
      fnFileDelete(folder, 3, false, true);
    return false;
  }
  AddLog(QStringLiteral("初期化データベースのリストア成功"));

  bool result = false;
  auto finish = [&] {
    try {
      if (DM->IBTransactionDAT.inTransaction())
        DM->IBTransactionDAT.commit();
    } catch (const db::DbError& e) {
      fnShowFbError(e, kStepName, QString(), false);
    }
    FIBSQL1.reset();
    FIBSQL2.reset();
    DM->fnAccDatDisConnected(folder, true, true, true);
    if (!result) {
      if (AppType != jxatSA)
        DM->AccDatDropDatabase(SystemDef.SERVERNAME, folder);
      RemoveFolder(folder);
    }
  };
  try {
    try {
      AddLog(QStringLiteral("データベースの接続要求"));
      if (!DM->fnAccDatConnected(SystemDef.SERVERNAME, folder, false))
        throw EAppError(QStringLiteral("データベースに接続できませんでした。<%1>").arg(folder));
      AddLog(QStringLiteral("データベースの接続成功"));
      FIBSQL1 = std::make_unique<db::Query>(DM->IBTransactionDAT);
      FIBSQL2 = std::make_unique<db::Query>(DM->IBTransactionDAT);
      DM->IBTransactionDAT.startIfNeeded();

      const struct {
        QString progress, request, done;
        std::function<void()> step;
      } offSteps[] = {
          {QStringLiteral("トリガーを無効化…"), QStringLiteral("トリガーの無効化要求"),
           QStringLiteral("トリガーの無効化成功"),
           [&] { pcConvertFb30Trigger(*FIBSQL1, FInfo.DataType, ConvertFb30SwitchOff); }},
          {QStringLiteral("制約を無効化…"), QStringLiteral("制約の無効化要求"), QStringLiteral("制約の無効化成功"),
           [&] { pcConvertFb30Constraint(*FIBSQL1, FInfo.DataType, ConvertFb30SwitchOff); }},
          {QStringLiteral("インデックスを無効化…"), QStringLiteral("インデックスの無効化要求"),
           QStringLiteral("インデックスの無効化成功"), [&] { pcConvertFb30Index(*FIBSQL1, ConvertFb30SwitchOff); }},
      };
      for (const auto& s : offSteps) {
        SetProgress(s.progress);
        AddLog(s.request);
        s.step();
        CommitRetaining();
        AddLog(s.done);
      }

      SetProgress(FPrefix + QStringLiteral("データの移行中…"));
      AddLog(QStringLiteral("ビルトインレコードの削除要求"));
      pcConvertFb30DeleteBuiltin();
      CommitAndStart();
      AddLog(QStringLiteral("ビルトインレコードの削除成功"));

      SetProgress(FPrefix + QStringLiteral("データの移行中…"));
      AddLog(QStringLiteral("コンバートデータの登録要求"));
      fnConvertFb30TableLoad();
      CommitAndStart();
      AddLog(QStringLiteral("コンバートデータの登録成功"));

      const struct {
        QString progress, request, done;
        std::function<void()> step;
      } onSteps[] = {
          {QStringLiteral("トリガーを有効化…"), QStringLiteral("トリガーの有効化要求"),
           QStringLiteral("トリガーの有効化成功"),
           [&] { pcConvertFb30Trigger(*FIBSQL1, FInfo.DataType, ConvertFb30SwitchOn); }},
          {QStringLiteral("制約を有効化…"), QStringLiteral("制約の有効化要求"), QStringLiteral("制約の有効化成功"),
           [&] { pcConvertFb30Constraint(*FIBSQL1, FInfo.DataType, ConvertFb30SwitchOn); }},
          {QStringLiteral("インデックスを有効化…"), QStringLiteral("インデックスの有効化要求"),
           QStringLiteral("インデックスの有効化成功"), [&] { pcConvertFb30Index(*FIBSQL1, ConvertFb30SwitchOn); }},
      };
      for (const auto& s : onSteps) {
        SetProgress(s.progress);
        AddLog(s.request);
        s.step();
        CommitRetaining();
        AddLog(s.done);
      }

      SetProgress(QStringLiteral("終了処理中…"));
      AddLog(QStringLiteral("ジェネレーター値の更新要求"));
      RunSql(QStringLiteral("EXECUTE PROCEDURE INIT_GENERATOR;"));
      AddLog(QStringLiteral("ジェネレーター値の更新成功"));
      AddLog(QStringLiteral("データバージョンの書き込み要求"));
      pcConvertFb30Fixup();
      AddLog(QStringLiteral("データバージョンの書き込み成功"));
      DM->IBTransactionDAT.commit();
      result = true;
    } catch (const EAppError& e) {
      if (const auto* dbe = dynamic_cast<const db::DbError*>(&e))
        fnShowFbError(*dbe, kStepName, QString(), false);
      const QString text = QStringLiteral("例外エラー: ") + e.message();
      AddLog(text);
      MessageHook().ShowMessageDlg(text, mtError, mbOK);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return result;
}

void TConvertFb30::pcConvertFb30DeleteBuiltin()
{
  FIBSQL2->close();
  FIBSQL2->setSql(kTableList);
  int n = 0;
  for (FIBSQL2->open(); !FIBSQL2->eof(); FIBSQL2->next(), ++n) {
    RunSql(QStringLiteral("DELETE FROM ") + FIBSQL2->field(QStringLiteral("TABLE_NAME")).asString().trimmed());
    if (n % kPumpEvery == 0)
      pumpMessages();
  }
  FIBSQL2->close();
}

bool TConvertFb30::fnConvertFb30TableLoad()
{
  SetProgress(FPrefix + QStringLiteral("データの移行前処理中…"));
  int running = 1;
  FIBSQL2->close();
  FIBSQL2->setSql(kTableList);
  for (FIBSQL2->open(); !FIBSQL2->eof(); FIBSQL2->next()) {
    const QString table = FIBSQL2->field(QStringLiteral("TABLE_NAME")).asString().trimmed();
    AddLog(table + QStringLiteral("テーブルのレコード登録要求"));
    const QString script = PathJoin(FTarget.Fb15Folder, table + QStringLiteral(".sql"));
    if (QFileInfo(script).isFile())
      LoadScript(script, running);
    AddLog(table + QStringLiteral("テーブルのレコード登録終了"));
  }
  FIBSQL2->close();
  SetProgress(FPrefix + QStringLiteral("データの移行中") + QStringLiteral("( %1％ )…").arg(100));
  return true;
}

void TConvertFb30::LoadScript(const QString& AFileName, int& ARunning)
{
  const QStringList lines = fnReadConvertFb30Script(AFileName);
  int count = 0;
  try {
    QStringList statement;
    for (const QString& raw : lines) {
      const QString line = fnConvertFb30Unescape(raw);
      statement << line;
      if (!fnConvertFb30StatementEnds(line))
        continue;
      RunSql(statement.join(QStringLiteral("\r\n")));
      statement.clear();
      ++ARunning;
      if (count % kCommitEvery == 0) {
        CommitRetaining();
        // Without an expected count there is no percentage to show.
        if (FTarget.Fb15SqlCount > 0) {
          const qint64 percent = qint64(ARunning) * 100 / FTarget.Fb15SqlCount;
          if (percent > 0)
            SetProgress(FPrefix + QStringLiteral("データの移行中") + QStringLiteral("( %1％ )…").arg(percent));
        }
      }
      ++count;
    }
    // A statement the file never ended is an error, never silently dropped.
    if (!statement.join(QString()).trimmed().isEmpty())
      throw EAppError(QStringLiteral("コンバートデータの最後の文が終わっていません。<%1>").arg(AFileName));
  } catch (...) {
    try {
      CommitRetaining();
    } catch (const db::DbError& e) {
      fnShowFbError(e, kStepName, QString(), false);
    }
    AddLog(QStringLiteral("%1件登録").arg(count));
    throw;
  }
  CommitRetaining();
  AddLog(QStringLiteral("%1件登録").arg(count));
  pumpMessages();
}

void TConvertFb30::pcConvertFb30Fixup()
{
  const QString kihon = QStringLiteral("基本設定");
  if (AppType != jxatSA) {
    pcDelAccReg(kihon, QStringLiteral("合算データ区分"));
    pcDelAccReg(kihon, QStringLiteral("合算データ数"));
  } else if (FInfo.GassanDataKbn == 10 && FInfo.GassanChildCnt == 0) {
    pcDelAccReg(kihon, QStringLiteral("合算データ区分"));
  }
  pcDelAccReg(QStringLiteral("通信設定"), QStringLiteral("クラウド区分"));

  RunSql(QStringLiteral("DELETE FROM TUSIN_ID\nWHERE REC=1"));
  RunSql(QStringLiteral("UPDATE ACCDEF1 SET CLOUD_LINE=0,CLOUD_TIME=NULL\nWHERE REC=1"));
  RunSql(QStringLiteral("UPDATE OPMENU\nSET CLASS='JxHensaiYoteihyo'\nWHERE (CLASS='JxAoYosanKihonRule')"));
  RunSql(
      QStringLiteral("DELETE FROM OPMENU\n"
                     "WHERE (CLASS='JxMeetingToolSetting')\n"
                     "OR (CLASS='JxVuraradSender' AND OPTIONS='SyoriType=1')\n"
                     "OR (CLASS='JxVuraradSender' AND OPTIONS='SyoriType=0')\n"
                     "OR (CLASS='JxDataTusin' AND OPTIONS='SyoriType=3')\n"
                     "OR (CLASS='JxDataTusin' AND OPTIONS='SyoriType=4')\n"
                     "OR (CLASS='JxDataTusin' AND OPTIONS='SyoriType=8')\n"
                     "OR (CLASS='JxDataTusin' AND OPTIONS='SyoriType=5')\n"
                     "OR (CLASS='JxTusinSettei' AND OPTIONS='SyoriType=2')\n"
                     "OR (CLASS='JxMBHokukuJigyo')\n"
                     "OR (CLASS='JxMBHokukuZaisan')\n"
                     "OR (CLASS='JxMBHokukuKansa')"));
  RunSql(QStringLiteral("UPDATE UTIWAKE06\nSET KUBUN=F_LRTrim(KUBUN)"));
  RunSql(QStringLiteral("UPDATE UTIWAKE12\nSET KUBUN=F_LRTrim(KUBUN)"));
  RunSql(QStringLiteral("UPDATE UTIWAKE14\nSET KINMU=F_LRTrim(KINMU)"));
  RunSql(QStringLiteral("UPDATE UTIWAKE15A\nSET KUBUN=F_LRTrim(KUBUN)"));

  if (FInfo.DataType == 3) {
    RunSql(QStringLiteral("UPDATE MK_JYUNSHISAN_HENDO\nSET NUM=REC"));
  } else {
    RunSql(QStringLiteral("UPDATE AO_FUDOUSAN\nSET KUBUN=F_LRTrim(KUBUN),YOUTO=F_LRTrim(YOUTO)"));
    FIBSQL2->close();
    FIBSQL2->setSql(QStringLiteral("SELECT REC,SHOZAITI,TINSYAKU\nFROM AO_FUDOUSAN\nORDER BY REC"));
    FIBSQL1->close();
    FIBSQL1->setParamCheck(true);
    FIBSQL1->setSql(QStringLiteral("UPDATE AO_FUDOUSAN\nSET SHOZAITI=:SHOZAITI,TINSYAKU=:TINSYAKU\nWHERE REC=:REC"));
    auto relayout = [](const db::Field& AField, int AWidth) -> QVariant {
      if (AField.isNull())
        return QVariant();
      const QString text = AField.asString();
      try {
        return fnConvertFb30Relayout(text, AWidth);
      } catch (const std::exception&) {
        return text;
      }
    };
    for (FIBSQL2->open(); !FIBSQL2->eof(); FIBSQL2->next()) {
      const QVariant shozaiti = relayout(FIBSQL2->field(QStringLiteral("SHOZAITI")), 22);
      const QVariant tinsyaku = relayout(FIBSQL2->field(QStringLiteral("TINSYAKU")), 24);
      if (shozaiti.isValid())
        FIBSQL1->setParam(QStringLiteral("SHOZAITI"), shozaiti.toString());
      else
        FIBSQL1->setParamNull(QStringLiteral("SHOZAITI"));
      if (tinsyaku.isValid())
        FIBSQL1->setParam(QStringLiteral("TINSYAKU"), tinsyaku.toString());
      else
        FIBSQL1->setParamNull(QStringLiteral("TINSYAKU"));
      FIBSQL1->setParam(QStringLiteral("REC"), FIBSQL2->field(QStringLiteral("REC")).asInt());
      FIBSQL1->exec();
      FIBSQL1->close();
    }
    FIBSQL2->close();
  }

  // The version row of the converted data; scripts may already have loaded
  // an older one under the same number.
  const QString memo = (FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss"), Now()) + QLatin1Char(',') +
                        QString::number(SystemDef.OPCODE2) + QLatin1Char(',') + SystemDef.OPNAME + QLatin1Char(',') +
                        SystemDef.PCNAME + QStringLiteral(",コンバート"))
                           .left(100)
                           .trimmed();
  FIBSQL1->close();
  FIBSQL1->setParamCheck(true);
  FIBSQL1->setSql(
      QStringLiteral("UPDATE OR INSERT INTO ACCVERSION(REC,MAJOR,MINOR1,MINOR2,MEMO)\n"
                     "VALUES(:REC,:MAJOR,:MINOR1,:MINOR2,:MEMO)\nMATCHING (REC)"));
  FIBSQL1->setParam(QStringLiteral("REC"), 1);
  FIBSQL1->setParam(QStringLiteral("MAJOR"), 17);
  FIBSQL1->setParam(QStringLiteral("MINOR1"), 0);
  FIBSQL1->setParam(QStringLiteral("MINOR2"), 0);
  FIBSQL1->setParam(QStringLiteral("MEMO"), memo);
  FIBSQL1->exec();
  FIBSQL1->close();
}

bool fnConvertFb30(const TConvertFb30Rec& ARec, TConvertFb30Progress* AProgress)
{
  static TConvertFb30 migration;
  return migration.fnConvertFb30(ARec, AProgress);
}
