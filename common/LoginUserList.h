// The operators currently logged on to the system, one entry per operator
// and computer, read from the system database's logon rows.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace db {
class Transaction;
}

struct TLoginUserListRec {
  int CODE = 0;    // operator code
  QString NAME;    // operator name
  QString PCNAME;  // computer name
};

class TLoginUserList {
 public:
  virtual ~TLoginUserList() = default;

  int ItemCount() const { return int(FRecs.size()); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }
  void Clear();
  QString ItemGetter(int i) const;
  int ItemGetterCode(int i) const;
  QString ItemGetterName(int i) const;
  QString ItemGetterPcName(int i) const;
  int GetListIndex(int ACode) const;

 protected:
  TLoginUserList() = default;
  void add(const TLoginUserListRec& r);
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }

  std::vector<TLoginUserListRec> FRecs;
  QStringList FItems;
  int FGroupID = 0;
  int FOpCode = 0;
  bool FMySelf = false;
};

class TLoginUserListOnDef : public TLoginUserList {
 public:
  // Bound to the data module's system-database transaction.
  TLoginUserListOnDef();

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }
  // Reads the logons of the group; without AMySelf every logon of the login
  // code AOpCode is left out. Errors are reported and raised again.
  void Execute(int AGroupID, int AOpCode, bool AMySelf);

 private:
  db::Transaction* FTransaction = nullptr;
};
