// The departments of the open company data, optionally preceded by
// department groups, of the whole company or of one branch; report levels
// adjusted to a chosen department or group; the departments' extra
// information; and temporary department groups for department comparisons.
// Main thread only.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace db {
class Transaction;
}

struct TBumonListRec {
  QString CODE;
  QString NAME;
  int BType = 1;  // 0 department group, 1 department (and the top item)
  QString ExField;
  QString KensakuKey;
};

class TBumonList {
 public:
  // Bound to the data module's company transaction (none without a module).
  TBumonList();
  ~TBumonList();
  TBumonList(const TBumonList&) = delete;
  TBumonList& operator=(const TBumonList&) = delete;

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }

  QString SCODE() const { return FSCODE; }
  bool Zentai = false;    // read departments even when the branch keeps none
  bool GroupAdd = false;  // department groups before the departments
  QString TopItem;
  bool RemoveCommon = false;  // leave out department "00"
  // Leave out the cost departments "80" to "99" (medical-corporation data
  // only; stays false for any other data).
  void SetRemoveGenka(bool v);
  bool RemoveGenka() const { return FRemoveGenka; }
  void SetUseFilterCombo(bool v) { FUseFilterCombo = v; }
  bool ExFieldSansyoFlg = false;
  int ItemCount() const { return FItems.size(); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }

  // Departments of the whole company (Execute) or those assigned to the
  // branch ASCODE (Execute2). Unless Zentai, nothing is listed for a branch
  // that keeps no departments. A read error is reported (only when the read
  // started the transaction) and raised again; the entries read stay.
  void Execute(const QString& ASCODE);
  void Execute2(const QString& ASCODE);
  void Clear();

  QString ItemGetter(int i) const;
  QString ItemGetterCode(int i) const;
  QString ItemGetterName(int i) const;
  QString ItemGetterExField(int i) const;
  QString ItemGetterKensakuKey(int i) const;
  int ItemGetterType(int i) const;  // -1 outside the list

  int GetListIndex(const QString& ABCODE, int ABumonType) const;
  static int BumonTypeChosei(int ABumonType);
  int BLTypeChosei(int ABLType, const QString& ASCODE, const QString& ABCODE, int ABumonType) const;
  static bool IsBumonListSakusei(int ABLType);

  // Writes the department's extra information. Errors go to the caller; a
  // transaction started here is rolled back then.
  void UpdateExField(const QString& ABCODE, const QString& AValue);
  // Creates the temporary group AGCODE of the departments in ABCODEList
  // (one per line; blank lines skipped), replacing an earlier group of that
  // code with all its members. False on an error (no message).
  bool InsertTempBumonGroup(const QString& AGCODE, const QString& ABCODEList);
  // Removes the group and its members. False on an error (no message).
  bool DeleteTempBumonGroup(const QString& AGCODE);
  // The members of a group, each followed by a carriage return.
  QString GetBumonKosei(const QString& AGCODE);

 private:
  void read(const QString& ASCODE, bool ABySiten);
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }
  QString itemText(const TBumonListRec& r, bool top) const;
  void add(const TBumonListRec& r, bool top);

  db::Transaction* FTransaction = nullptr;
  QString FSCODE;
  bool FRemoveGenka = false;
  bool FUseFilterCombo = false;
  std::vector<TBumonListRec> FRecs;
  QStringList FItems;
};
