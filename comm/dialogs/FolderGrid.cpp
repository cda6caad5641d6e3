#include "comm/dialogs/FolderGrid.h"

namespace {

const TTusinProcTypeInfo kProcTypes[] = {
    {1, "データ送信", "tsusin01.html"},
    {2, "データ受信", "tsusin02.html"},
    {3, "現金出納帳送信", "tsusin06.html"},
    {4, "現金出納帳受信", "tsusin07.html"},
    {5, "マスター送信", "tsusin10.html"},
    {6, "", ""},
    {7, "", ""},
    {8, "サーバー確認", "tsusin09.html"},
    {9, "", ""},
    {10, "", ""},
    {20, "", ""},
    {21, "", ""},
    {22, "", ""},
    {23, "", ""},
    {25, "クラウドシェア領域を選択", "cloudshare_sel.html"},
    {26, "", "cloudshare_sel.html"},
};

QString period(const TServerFolderRow& r)
{
  return r.Sta_Kikan2.left(10) + QStringLiteral(" ～ ") + r.End_Kikan2.left(10);
}

}  // namespace

const TTusinProcTypeInfo* fnTusinProcTypeInfo(int AProcType)
{
  for (const TTusinProcTypeInfo& i : kProcTypes)
    if (i.ProcType == AProcType)
      return &i;
  return nullptr;
}

QString fnTusinVersionText(int AMajor, int AMinor)
{
  if (AMajor == 15 && AMinor == 1)
    return QStringLiteral("23消改版");
  if (AMajor == 11 && AMinor == 1)
    return QStringLiteral("19消改版");
  if (AMajor == 6 && AMinor == 1)
    return QStringLiteral("14消改版");
  if (AMinor != 0)
    return QStringLiteral("%1.%2").arg(AMajor).arg(AMinor);
  if (AMajor == 1)
    return QStringLiteral("09版");
  if (AMajor == 2)
    return QStringLiteral("10版");
  return QString::number(AMajor + 8) + QStringLiteral("版");
}

QString fnTusinDataVerText(const QString& ADataVer)
{
  const QString v = ADataVer.trimmed();
  bool okMajor = false, okMinor = false;
  const int major = v.left(2).toInt(&okMajor);
  const int minor = v.right(2).toInt(&okMinor);
  // A version the server garbled shows blank rather than stopping the list.
  if (!okMajor || !okMinor)
    return QString();
  return fnTusinVersionText(major, minor);
}

std::vector<TFolderGridRow> fnFolderGridRows(const TServerFolderRows& ARows, int AProcType)
{
  std::vector<TFolderGridRow> out(ARows.size());
  const bool cloud = AProcType >= 19;
  for (std::size_t i = 0; i < ARows.size(); ++i) {
    const TServerFolderRow& r = ARows[i];
    TFolderGridRow& g = out[i];
    g.Index = int(i);
    g.DataName = r.Data_Name;
    g.DataShare = r.Data_Share;
    g.Cells[fgcol::No] = QString::number(i + 1);
    if (r.Data_Name.isEmpty())
      continue;
    if (!cloud) {
      g.Cells[fgcol::Name] = r.Data_Name;
      g.Cells[fgcol::Year] = r.Kaikei_Nend + QStringLiteral("期");
      g.Cells[fgcol::Period] = period(r);
      g.Cells[fgcol::SendTime] = r.Up_Day2;
      g.Cells[fgcol::RecvTime] = r.Dn_Day2;
      if (!r.Data_Ver.trimmed().isEmpty())
        g.Cells[fgcol::Ver] = fnTusinDataVerText(r.Data_Ver);
      continue;
    }
    const bool free = r.Data_Share == QLatin1String("1");
    const bool inUse = r.Data_Share == QLatin1String("2");
    if (!free && !inUse)
      continue;
    g.Cells[fgcol::Status] = free ? QStringLiteral("未使用") : QStringLiteral("使用中");
    g.Cells[fgcol::Name] = r.Data_Name;
    g.Cells[fgcol::Year] = r.Kaikei_Nend + QStringLiteral("期");
    g.Cells[fgcol::Period] = period(r);
    g.Cells[fgcol::SendTime] = free ? QStringLiteral("-") : r.Dn_Day2;
    g.Cells[fgcol::RecvTime] = free ? r.Up_Day2 : QStringLiteral("-");
    if (!r.Data_Ver.isEmpty())
      g.Cells[fgcol::Ver] = fnTusinDataVerText(r.Data_Ver);
  }
  return out;
}

namespace {

TRecordTableModel<TFolderGridRow>::TColumn column(const char* ACaption, int AIndex, Qt::Alignment AAlign)
{
  return {QString::fromUtf8(ACaption), [AIndex](const TFolderGridRow& r, int) { return QVariant(r.Cells[AIndex]); },
          AAlign | Qt::AlignVCenter};
}

}  // namespace

TServerFolderModel::TServerFolderModel(QObject* AParent)
    : TRecordTableModel<TFolderGridRow>(
          {column("No.", fgcol::No, Qt::AlignHCenter), column("状況", fgcol::Status, Qt::AlignHCenter),
           column("データ名", fgcol::Name, Qt::AlignLeft), column("会計年度", fgcol::Year, Qt::AlignHCenter),
           column("会計期間", fgcol::Period, Qt::AlignHCenter), column("送信日時", fgcol::SendTime, Qt::AlignHCenter),
           column("受信日時", fgcol::RecvTime, Qt::AlignHCenter), column("バージョン", fgcol::Ver, Qt::AlignHCenter)},
          AParent)
{
}

void TServerFolderModel::SetCloudCaptions(bool ACloud)
{
  FCloud = ACloud;
  emit headerDataChanged(Qt::Horizontal, 0, fgcol::Count - 1);
}

QVariant TServerFolderModel::headerData(int ASection, Qt::Orientation AOrientation, int ARole) const
{
  if (FCloud && AOrientation == Qt::Horizontal && ARole == Qt::DisplayRole) {
    if (ASection == fgcol::Year)
      return QStringLiteral("年度");
    if (ASection == fgcol::SendTime)
      return QStringLiteral("使用開始日時");
    if (ASection == fgcol::RecvTime)
      return QStringLiteral("最終更新日時");
  }
  return TRecordTableModel<TFolderGridRow>::headerData(ASection, AOrientation, ARole);
}
