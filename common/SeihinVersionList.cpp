#include "common/SeihinVersionList.h"

#include <algorithm>

#include "common/MojiBunkatu.h"
#include "platform/Registry.h"

TSeihinVersionList::TSeihinVersionList()
{
  switch (SystemKind) {
    case 2:
      FProductName = AppInfo.VestimarRegKey;
      break;
    case 3:
      FProductName = AppInfo.VeduvoruRegKey;
      break;
    default:
      FProductName = AppInfo.RegKey;
      break;
  }
}

void TSeihinVersionList::Clear()
{
  FSeihinListRec.clear();
  FItemString.clear();
  FItemCount = 0;
}

void TSeihinVersionList::Execute(TJxSortType ASortType)
{
  const Registry reg;
  Execute(ASortType, reg);
}

void TSeihinVersionList::Execute(TJxSortType ASortType, const Registry& reg)
{
  Clear();
  const bool hasTop = !FTopItem.isEmpty();
  if (hasTop)
    FSeihinListRec.push_back({0, 0, 0, FTopItem});

  for (int major = 17; major <= SystemDef.AppVerMajor; ++major)
    FSeihinListRec.push_back({major, 0, 0, QStringLiteral("%1版").arg(major + 8)});

  if (reg.KeyExists(AppInfo.ComRegKey)) {
    const QString product = FProductName.toUpper();
    for (const QString& sub : reg.GetKeyNames(AppInfo.ComRegKey)) {
      if (product.isEmpty() || !sub.toUpper().contains(product))
        continue;
      const QString key = AppInfo.ComRegKey + QLatin1Char('\\') + sub;
      TMojiBunkatu parts;
      parts.SetDelimiter(QLatin1Char('.'));
      parts.Execute(reg.ReadString(key, QStringLiteral("Version")));
      if (parts.ItemCount() != 3)
        continue;
      TDataVersionRec rec;
      bool ok = false;
      rec.Major = parts.ItemGetter(0).toInt(&ok);
      if (!ok)
        rec.Major = 0;
      rec.Minor = parts.ItemGetter(1).toInt(&ok);
      if (!ok)
        rec.Minor = 0;
      rec.Memo = reg.ReadString(key, QStringLiteral("Type"));
      if (rec.Major <= 16)
        continue;
      const bool dup = std::any_of(FSeihinListRec.begin(), FSeihinListRec.end(), [&](const TDataVersionRec& r) {
        return r.Major == rec.Major && r.Minor == rec.Minor;
      });
      if (!dup)
        FSeihinListRec.push_back(rec);
    }
  }

  if (ASortType == jxstDesc) {
    auto first = FSeihinListRec.begin() + (hasTop ? 1 : 0);
    std::stable_sort(first, FSeihinListRec.end(), [](const TDataVersionRec& a, const TDataVersionRec& b) {
      if (a.Major != b.Major)
        return a.Major > b.Major;
      return a.Minor > b.Minor;
    });
  }
  for (const auto& r : FSeihinListRec)
    FItemString << r.Memo;
  FItemCount = static_cast<int>(FSeihinListRec.size());
}

QString TSeihinVersionList::ItemGetter(int AIndex) const
{
  return inRange(AIndex) ? FItemString.at(AIndex) : QString();
}

QString TSeihinVersionList::ItemGetterVersion(int AIndex) const
{
  if (!inRange(AIndex))
    return {};
  const auto& r = FSeihinListRec[static_cast<size_t>(AIndex)];
  if (r.Major == 0 && r.Minor == 0)
    return {};
  return QStringLiteral("%1.%2").arg(r.Major).arg(r.Minor);
}

QString TSeihinVersionList::ItemGetterSeihin(int AIndex) const
{
  return inRange(AIndex) ? FSeihinListRec[static_cast<size_t>(AIndex)].Memo : QString();
}

int TSeihinVersionList::GetListIndex(const QString& ASeihin) const
{
  for (int i = 0; i < FItemCount; ++i)
    if (FSeihinListRec[static_cast<size_t>(i)].Memo == ASeihin)
      return i;
  return -1;
}
