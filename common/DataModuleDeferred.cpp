// Deferred actions of the data module: closing a window and starting a
// registered process a moment later, from the event loop; and the
// data-list number of a data folder.
#include <QRegularExpression>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "db/DbError.h"
#include "platform/AppError.h"

void TDM::ConnectDeferredTimers()
{
  if (FDeferredTimersConnected)
    return;
  FDeferredTimersConnected = true;
  connect(&TimerFormClose, &QTimer::timeout, this, [this] { TimerFormCloseTimer(); });
  connect(&TimerSyoriKidou, &QTimer::timeout, this, [this] { TimerSyoriKidouTimer(); });
}

void TDM::SetTimerFormClose(QObject* AWindow)
{
  ConnectDeferredTimers();
  disconnect(FFormCloseWatch);
  FFormCloseTarget = AWindow;
  if (!AWindow) {
    TimerFormClose.stop();
    return;
  }
  // A window that goes before the timer fires is simply forgotten.
  FFormCloseWatch = connect(AWindow, &QObject::destroyed, this, [this] { FFormCloseTarget = nullptr; });
  TimerFormClose.start();
}

void TDM::TimerFormCloseTimer()
{
  TimerFormClose.stop();
  QObject* target = FFormCloseTarget;
  if (!target)
    return;
  FFormCloseTarget = nullptr;
  disconnect(FFormCloseWatch);
  // Posted, like a close message: the window handles it later still.
  QMetaObject::invokeMethod(target, "close", Qt::QueuedConnection);
}

void TDM::SetTimerSyoriKidou(const QString& AID, int AFormStyle, const QString& AOption)
{
  ConnectDeferredTimers();
  FSyoriID = AID;
  FSyoriFormStyle = AFormStyle;
  FSyoriOption = AOption;
  if (!AID.isEmpty())
    TimerSyoriKidou.start();
}

void TDM::TimerSyoriKidouTimer()
{
  TimerSyoriKidou.stop();
  const QString id = FSyoriID;
  const int style = FSyoriFormStyle;
  const QString option = FSyoriOption;
  FSyoriID.clear();
  FSyoriFormStyle = 0;
  FSyoriOption.clear();
  // Without a launch hook there is nothing to start the process with.
  if (SyoriKidouProc && !id.isEmpty())
    SyoriKidouProc(id, style, option);
}

void TDM::LocalPathToDataDirName(const QString& ALocalPath, QString& ADirName, QString& AChildDirName)
{
  ADirName.clear();
  AChildDirName.clear();
  QString path = ALocalPath;
  path.remove(QLatin1Char(' '));
  path.remove(QChar(0x3000));
  static const QRegularExpression delimiters(QStringLiteral("[\\\\/]"));
  const QStringList parts = path.split(delimiters);
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (parts[i].compare(QLatin1String("DATA"), Qt::CaseInsensitive) != 0 &&
        parts[i].compare(QLatin1String("CB_DATA"), Qt::CaseInsensitive) != 0)
      continue;
    if (i + 1 < parts.size())
      ADirName = parts[i + 1];
    if (i + 2 < parts.size())
      AChildDirName = parts[i + 2];
    return;
  }
}

void TDM::LocalPathToDataListRecNo(const QString& ALocalPath, int& ARec, int& AChildRec)
{
  ARec = 0;
  AChildRec = 0;
  if (ALocalPath.trimmed().isEmpty())
    return;
  if (AppType == jxatSA) {
    QString dir, child;
    LocalPathToDataDirName(ALocalPath, dir, child);
    bool ok = false;
    const int rec = dir.toInt(&ok);
    ARec = ok ? rec : 0;
    const int childRec = child.toInt(&ok);
    AChildRec = ok ? childRec : 0;
    return;
  }
  try {
    TOwnTransaction own(IBTransactionDEF);
    db::Query q(IBTransactionDEF);
    q.setSql(QStringLiteral("SELECT REC FROM DATALIST WHERE (GROUPID=:GROUPID) AND (UPPER(PASNAME)=:PASNAME)"));
    q.setParam(QStringLiteral("GROUPID"), SystemDef.GROUPID);
    q.setParam(QStringLiteral("PASNAME"), ALocalPath.toUpper());
    for (q.open(); !q.eof(); q.next())
      ARec = q.field(QStringLiteral("REC")).asInt();
    q.close();
    own.Commit();
  } catch (...) {
    pcLogDroppedError("TDM.LocalPathToDataListRecNo");
    // Unknown: the number stays 0.
  }
}
