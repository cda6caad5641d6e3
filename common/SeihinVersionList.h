#pragma once
// The editions of the accounting product that a data version can belong to:
// an optional top item, one label per major version from 17 up to the
// program's own, and the editions installed on this machine as listed in
// the registry below the product key.

#include <vector>

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"

struct TDataVersionRec {
  int Major = 0;
  int Minor = 0;
  int Rev = 0;
  QString Memo;
};

class Registry;

class TSeihinVersionList {
 public:
  TSeihinVersionList();

  void Clear();
  // Builds the list from the registry given (the process registry store by
  // default).
  void Execute(TJxSortType ASortType);
  void Execute(TJxSortType ASortType, const Registry& reg);

  QString TopItem() const { return FTopItem; }
  void SetTopItem(const QString& v) { FTopItem = v; }
  int ItemCount() const { return FItemCount; }
  QString ItemStrings() const { return FItemString.join(QLatin1Char('\n')); }

  QString ItemGetter(int AIndex) const;
  QString ItemGetterVersion(int AIndex) const;
  QString ItemGetterSeihin(int AIndex) const;
  int GetListIndex(const QString& ASeihin) const;

  const std::vector<TDataVersionRec>& Items() const { return FSeihinListRec; }

 private:
  bool inRange(int i) const { return i >= 0 && i < FItemCount; }

  QString FProductName;
  QString FTopItem;
  std::vector<TDataVersionRec> FSeihinListRec;
  QStringList FItemString;
  int FItemCount = 0;
};
