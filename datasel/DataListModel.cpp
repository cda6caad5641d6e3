#include "datasel/DataListModel.h"

#include "common/AccRecord.h"

namespace {

QString trimBlanks(const QString& s)
{
  QString t = s;
  t.replace(QChar(0x3000), QLatin1Char(' '));
  return t.trimmed();
}

using TColumn = TRecordTableModel<TDataListRow>::TColumn;

std::vector<TColumn> listColumns()
{
  auto text = [](QString (*f)(const TDataListRec&)) {
    return [f](const TDataListRow& r, int) { return QVariant(f(r.Data)); };
  };
  std::vector<TColumn> c(dscol::Count);
  c[dscol::No] = {QStringLiteral("No"),
                  [](const TDataListRow& r, int) { return r.IsMember() ? QVariant(QString()) : QVariant(r.Data.Rec); },
                  Qt::AlignRight | Qt::AlignVCenter};
  c[dscol::Code] = {QStringLiteral("コード"), text([](const TDataListRec& d) { return d.DataCode; })};
  c[dscol::Cloud] = {QStringLiteral("ｸﾗｳﾄﾞ"), text([](const TDataListRec& d) {
                       return d.CloudShare == jxcsUse ? QStringLiteral("雲") : QString();
                     })};
  c[dscol::Name] = {QStringLiteral("データ名  "), text([](const TDataListRec& d) { return d.Display_DataListName; })};
  c[dscol::Nendo] = {QStringLiteral("会計年度"), text([](const TDataListRec& d) {
                       return IsFreeSlotName(d.DataListName) ? QString() : QStringLiteral("%1 期").arg(d.Nendo);
                     })};
  c[dscol::Kikan] = {QStringLiteral("会計期間"), text([](const TDataListRec& d) {
                       return IsFreeSlotName(d.DataListName) ? QStringLiteral("～") : d.Kikan;
                     })};
  c[dscol::Folder] = {QStringLiteral("データフォルダ"),
                      text([](const TDataListRec& d) { return fnDataListFolderText(d.DataPath); })};
  c[dscol::Version] = {QStringLiteral("バージョン"), text([](const TDataListRec& d) { return d.VerText; })};
  c[dscol::Kyoyu] = {QStringLiteral("共有"), text([](const TDataListRec& d) {
                       return d.NetDrive == 1 && d.KyoyuLock == 0 ? QStringLiteral("共") : QString();
                     })};
  c[dscol::Kagi] = {QStringLiteral("鍵"),
                    text([](const TDataListRec& d) { return d.DataLock != 0 ? QStringLiteral("鍵") : QString(); })};
  return c;
}

}  // namespace

bool TDataListRow::IsUpdateForbidden() const
{
  // The database-update check belongs to the data maintenance module; until
  // it is present a set update lock blocks the data set.
  return Data.UpdateLock != 0;
}

bool TDataListRow::ShowsName() const
{
  return !trimBlanks(Data.Display_DataListName).isEmpty();
}

QString fnDataListFolderText(const QString& APath)
{
  if (SystemDef.APPDATA.isEmpty())
    return APath;
  QString s = APath;
  return s.replace(SystemDef.APPDATA, QStringLiteral("~"), Qt::CaseInsensitive);
}

TDataListModel::TDataListModel(QObject* AParent) : TRecordTableModel<TDataListRow>(listColumns(), AParent) {}

void TDataListModel::AppendEntryRows(std::vector<TDataListRow>& ARows, const TDataSentakuRec& AEntry, int AIndex)
{
  if (!IsGassanOwnRow(AEntry.Data.GassanDataKbn))
    return;
  ARows.push_back({AIndex, -1, AEntry.Data});
  if (IsGassanParent(AEntry.Data.GassanDataKbn))
    for (std::size_t k = 0; k < AEntry.ChildData.size(); ++k)
      ARows.push_back({AIndex, int(k), AEntry.ChildData[k]});
}

std::vector<TDataListRow> TDataListModel::EntryRows(const TDataSentakuRec& AEntry, int AIndex)
{
  std::vector<TDataListRow> rows;
  AppendEntryRows(rows, AEntry, AIndex);
  return rows;
}

void TDataListModel::ShowEntries(const TDataSentakuRecArray& AEntries, const std::vector<int>& AOrder)
{
  std::vector<TDataListRow> rows;
  rows.reserve(AOrder.size());
  for (int i : AOrder)
    if (i >= 0 && i < int(AEntries.size()))
      AppendEntryRows(rows, AEntries[std::size_t(i)], i);
  SetRows(std::move(rows));
}

void TDataListModel::ShowEntry(int ARow, const TDataSentakuRec& AEntry)
{
  const int row = ParentRow(ARow);
  if (!IsRow(row))
    return;
  const int entry = Row(row).Entry;
  std::vector<TDataListRow> rows = EntryRows(AEntry, entry);
  if (rows.empty()) {
    // A kind without a row of its own: only the record changes.
    SetRowData(row, AEntry.Data);
    rows.push_back(Row(row));
  } else {
    SetRow(row, rows.front());
  }
  int members = 0;
  while (IsRow(row + 1 + members) && Row(row + 1 + members).IsMember() && Row(row + 1 + members).Entry == entry)
    ++members;
  RemoveRows(row + 1, members);
  InsertRows(row + 1, std::vector<TDataListRow>(rows.begin() + 1, rows.end()));
}

void TDataListModel::SetRowData(int ARow, const TDataListRec& AData)
{
  if (!IsRow(ARow))
    return;
  TDataListRow r = Row(ARow);
  r.Data = AData;
  SetRow(ARow, std::move(r));
}

int TDataListModel::EntryRow(int AEntry) const
{
  for (int r = 0; r < RowCount(); ++r)
    if (!Row(r).IsMember() && Row(r).Entry == AEntry)
      return r;
  return -1;
}

int TDataListModel::ParentRow(int ARow) const
{
  if (!IsRow(ARow) || !Row(ARow).IsMember())
    return ARow;
  const int entry = Row(ARow).Entry;
  for (int r = ARow; r >= 0; --r)
    if (!Row(r).IsMember() && Row(r).Entry == entry)
      return r;
  return ARow;
}

int TDataListModel::FindCode(const QString& AKey, int AFrom) const
{
  const QString key = AKey.toLower();
  const int n = RowCount();
  if (key.isEmpty() || n == 0)
    return -1;
  const int from = std::max(0, AFrom);
  for (int step = 1; step <= n; ++step) {
    const int r = (from + step) % n;
    if (Row(r).Data.DataCode.toLower().startsWith(key))
      return r;
  }
  return -1;
}

int TDataListModel::FindRec(const TDataListRec& AData) const
{
  const QString path = fnDataListFolderText(AData.DataPath).toUpper();
  for (int r = 0; r < RowCount(); ++r) {
    const TDataListRec& d = Row(r).Data;
    if (d.Rec != AData.Rec)
      continue;
    if (!AData.DataPath.isEmpty() && fnDataListFolderText(d.DataPath).toUpper() != path)
      continue;
    return r;
  }
  return -1;
}

void TDataListModel::SetSortMark(int ASortCol, TJxSortType ASortType)
{
  const std::vector<TColumn> plain = listColumns();
  for (int c : {dscol::No, dscol::Code, dscol::Name, dscol::Nendo, dscol::Kikan, dscol::Folder, dscol::Version}) {
    QString cap = plain[std::size_t(c)].Caption;
    if (fnDataListColumnOfSortCol(ASortCol) == c)
      cap += ASortType == jxstAsc ? QStringLiteral("▲") : QStringLiteral("▼");
    SetCaption(c, cap);
  }
}
