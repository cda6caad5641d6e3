// The listing of the data-list control: the local data list of the group with
// the members of its consolidated data sets, and the loaded list's helpers.
#include <algorithm>
#include <optional>
#include <utility>

#include <QDir>
#include <QHash>
#include <QPair>

#include "common/AccDateText.h"
#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "datasel/ComDataSentaku.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "platform/Paths.h"

namespace {

void reportList(const std::exception& e)
{
  fnReportError(e, QStringLiteral("TDataSentakuListCtl.Execute"), QStringLiteral("データリストの取得に失敗しました。"));
}

QStringList subFolders(const QString& path)
{
  QStringList out;
  if (path.trimmed().isEmpty())
    return out;
  QDir dir(ExcludeTrailingPathDelimiter(path));
  QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  for (const QString& n : names)
    out << dir.filePath(n);
  return out;
}

}  // namespace

QString fnDataListKikanText(TDateTime AKishu, TDateTime AKimatu)
{
  return AKishu == 0 || AKimatu == 0 ? QStringLiteral("～") : fnKikanToText(AKishu, AKimatu);
}

QString fnDataStatusName(int AStatus)
{
  static const char* const names[] = {"－",       "－",         "使用中", "データロック中", "保存中", "復元中",
                                      "コピー中", "貼り付け中", "削除中", "新規作成中",     "破損"};
  if (AStatus < 0 || AStatus > 10)
    return QStringLiteral("状態不明");
  return QString::fromUtf8(names[AStatus]);
}

bool IsFreeSlotName(const QString& AName)
{
  QString t = AName;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  t = t.trimmed();
  return t.isEmpty() || t == QStringLiteral("空き領域") || t == QStringLiteral("新しい領域");
}

QString TDataSentakuListCtl::OrderLine(TJxSortField f, TJxSortType t)
{
  const bool d = t == jxstDesc;
  switch (f) {
    case jxsfRec:
      return d ? QStringLiteral("ORDER BY REC DESC") : QStringLiteral("ORDER BY REC");
    case jxsfName:
      return d ? QStringLiteral("ORDER BY ENTTEXT DESC,NENDO DESC,REC DESC")
               : QStringLiteral("ORDER BY ENTTEXT,NENDO DESC,REC");
    case jxsfNendo:
      return d ? QStringLiteral("ORDER BY NENDO DESC,REC DESC") : QStringLiteral("ORDER BY NENDO,REC");
    case jxsfKikan:
      return d ? QStringLiteral("ORDER BY KISHU DESC,REC DESC") : QStringLiteral("ORDER BY KISHU,REC");
    case jxsfPath:
      return d ? QStringLiteral("ORDER BY UPPER(PASNAME) DESC,REC DESC")
               : QStringLiteral("ORDER BY UPPER(PASNAME),REC");
    case jxsfDataVer:
      return d ? QStringLiteral("ORDER BY VER_MAJOR DESC,VER_MINOR1 DESC,VER_MINOR2 DESC,REC DESC")
               : QStringLiteral("ORDER BY VER_MAJOR,VER_MINOR1,VER_MINOR2,REC");
    case jxsfDataCode:
      return d ? QStringLiteral("ORDER BY DATACODE DESC,NENDO DESC,REC DESC")
               : QStringLiteral("ORDER BY DATACODE,NENDO DESC,REC");
    default:
      return QString();
  }
}

void TDataSentakuListCtl::Clear()
{
  FItemList.clear();
  FItemChildList.clear();
}

void TDataSentakuListCtl::Execute(int AKyoyuNozoku, TJxSortField ASortField, TJxSortType ASortType,
                                  const QString& AOrderText)
{
  Clear();
  if (FDataListMode == jxdlKyoyuList)
    return;
  if (FAppType != jxatSA)
    AKyoyuNozoku = 0;

  // Filter lines after the group (the select type adds its own line).
  QString filters;
  if (AKyoyuNozoku == 1)
    filters += QStringLiteral(" AND (KYOYULOCK<>1)");
  if (SelectNendo > 0)
    filters += QStringLiteral(" AND (NENDO=:NENDO)");
  if (!SelectShogo.isEmpty())
    filters += QStringLiteral(" AND (SHOUGOU=:SHOUGOU)");
  filters += placeFilter();
  auto bindFilters = [this](db::Query& q) {
    q.setParam("GROUPID", SystemDef.GROUPID);
    if (SelectNendo > 0)
      q.setParam("NENDO", SelectNendo);
    if (!SelectShogo.isEmpty())
      q.setParam("SHOUGOU", SelectShogo);
    bindPlace(q);
  };

  // The order: a named sort field, or a custom line only when it is one of
  // the list's own order lines (never the caller's free text).
  QString order;
  if (ASortField == jxsfCustom) {
    const QString wanted = AOrderText.simplified();
    for (int f = jxsfRec; f <= jxsfDataCode; ++f)
      for (int t = jxstAsc; t <= jxstDesc; ++t)
        if (QString::compare(OrderLine(TJxSortField(f), TJxSortType(t)), wanted, Qt::CaseInsensitive) == 0)
          order = OrderLine(TJxSortField(f), TJxSortType(t));
    if (order.isEmpty())
      order = OrderLine(jxsfRec, jxstAsc);
  } else {
    order = OrderLine(ASortField, ASortType);
  }
  const bool namedSort = ASortField >= jxsfName && ASortField <= jxsfDataCode;
  const QString columns = selectColumns(false) + QStringLiteral(" FROM ") + FListTable;

  // Data sets mostly share their fiscal periods: each period's text is made
  // once and shared by the rows that have it.
  QHash<QPair<TDateTime, TDateTime>, QString> periods;
  auto kikanText = [&periods](TDateTime AKishu, TDateTime AKimatu) {
    auto it = periods.find({AKishu, AKimatu});
    if (it == periods.end())
      it = periods.insert({AKishu, AKimatu}, fnDataListKikanText(AKishu, AKimatu));
    return *it;
  };

  std::optional<TOwnTransaction> tr;
  try {
    tr.emplace(DM->IBTransactionDEF);
    db::Query q(DM->IBTransactionDEF);
    auto readRows = [&](const QString& where, const QString& orderLine) {
      q.setSql(columns + where + filters + QLatin1Char(' ') + orderLine);
      bindFilters(q);
      q.open();
      const TListColumns at(q);
      for (; !q.eof(); q.next()) {
        TDataSentakuRec e;
        fillRecord(q, at, e.Data, false);
        e.Data.Kikan = kikanText(e.Data.Kishu, e.Data.Kimatu);
        if (ExcludeTrailingPathDelimiter(e.Data.DataPath) == e.Data.LocalPath)
          e.Data.NetDrive = 0;
        FItemList.push_back(std::move(e));
      }
      q.close();
    };
    // Named rows first (all rows for the number order), free slots after them.
    if (SelectType != jxstNonData) {
      QString where = QStringLiteral(" WHERE (GROUPID=:GROUPID)");
      if (SelectType == jxstData || (SelectType == jxstAll && namedSort))
        where += QStringLiteral(" AND (ENTTEXT<>'')");
      readRows(where, order);
    }
    if (SelectType == jxstNonData || (SelectType == jxstAll && namedSort)) {
      QString freeOrder;
      if (ASortField == jxsfPath)
        freeOrder = ASortType == jxstDesc ? QStringLiteral("ORDER BY PASNAME DESC,REC DESC")
                                          : QStringLiteral("ORDER BY PASNAME,REC");
      else
        freeOrder =
            ASortType == jxstDesc && namedSort ? QStringLiteral("ORDER BY REC DESC") : QStringLiteral("ORDER BY REC");
      readRows(QStringLiteral(" WHERE (GROUPID=:GROUPID) AND (ENTTEXT='')"), freeOrder);
    }

    // Members of the consolidated data sets, attached to their parents.
    q.setSql(selectColumns(true) +
             QStringLiteral(" FROM CHILD_DATALIST WHERE (GROUPID=:GROUPID) ORDER BY REC,PASNAME"));
    q.setParam("GROUPID", SystemDef.GROUPID);
    q.open();
    const TListColumns at(q);
    // A member goes to the first listed data set of its number.
    QHash<int, std::size_t> entryOfRec;
    if (!q.eof())
      for (std::size_t i = FItemList.size(); i-- > 0;)
        entryOfRec.insert(FItemList[i].Data.Rec, i);
    for (; !q.eof(); q.next()) {
      TDataListRec m;
      fillRecord(q, at, m, true);
      m.Kikan = kikanText(m.Kishu, m.Kimatu);
      FItemChildList.push_back(m);
      const auto it = entryOfRec.constFind(m.Rec);
      if (it != entryOfRec.constEnd()) {
        TDataSentakuRec& e = FItemList[*it];
        e.ChildData.push_back(m);
        e.ChildDataCnt = int(e.ChildData.size());
      }
    }
    q.close();
    tr->Commit();
  } catch (const std::exception& e) {
    if (tr)
      tr->Rollback();
    reportList(e);
  }
}

TDataSentakuRecArray TDataSentakuListCtl::TakeItemList()
{
  return std::exchange(FItemList, {});
}

TDataListArray TDataSentakuListCtl::TakeItemChildList()
{
  return std::exchange(FItemChildList, {});
}

TDataSentakuRec TDataSentakuListCtl::GetItem(int AIndex) const
{
  if (AIndex < 0 || AIndex >= int(FItemList.size()))
    return TDataSentakuRec{};
  return FItemList[std::size_t(AIndex)];
}

TDataListRec TDataSentakuListCtl::GetItemChild(int AIndex) const
{
  if (AIndex < 0 || AIndex >= int(FItemChildList.size()))
    return TDataListRec{};
  return FItemChildList[std::size_t(AIndex)];
}

int TDataSentakuListCtl::GetGassanChildCount(int ARec) const
{
  return int(std::count_if(FItemChildList.begin(), FItemChildList.end(),
                           [ARec](const TDataListRec& r) { return r.Rec == ARec; }));
}

QString TDataSentakuListCtl::GetListItemLocalPath(int ARow) const
{
  TDataListRec r = GetItem(ARow).Data;
  return pcDataListRecLocalPath(r);
}

void TDataSentakuListCtl::SetChildData_DisplayDataListName(PDataSentakuRec AData)
{
  if (!AData)
    return;
  for (std::size_t i = 0; i < AData->ChildData.size(); ++i) {
    TDataListRec& m = AData->ChildData[i];
    m.Display_DataListName = QStringLiteral("%1 ").arg(int(i) + 1, 2, 10, QLatin1Char('0')) + m.DataListName;
  }
}

void TDataSentakuListCtl::DeleteChildData(PDataSentakuRec AData, int ACIndex)
{
  if (!AData || ACIndex < 0 || ACIndex >= int(AData->ChildData.size()))
    return;
  AData->ChildData.erase(AData->ChildData.begin() + ACIndex);
  AData->ChildDataCnt = std::max(0, AData->ChildDataCnt - 1);
}

QStringList TDataSentakuListCtl::DirChildDataList(const TDataSentakuRec& AData)
{
  return subFolders(AData.Data.DataPath);
}

QStringList TDataSentakuListCtl::DirChildDataList_Local(const TDataSentakuRec& AData)
{
  return subFolders(AData.Data.LocalPath);
}
