// The branches of the open company data (or the facilities of
// medical-corporation data) with the levels above them: the whole company
// and branch groups. Used for combo boxes, look-ups by branch code and the
// operator's rights on branches.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "common/AccRecord.h"

namespace db {
class Query;
class Transaction;
}  // namespace db

struct TSitenListRec {
  QString CODE;  // branch or group code; one space for the whole company
  QString NAME;
  int BLType = 0;     // 0 company, 1 group, 2 branch, 3 branch keeping departments, 5 entry group
  int JigyoType = 0;  // general data: 1; medical data: the business kind (0 company, entry groups)
  int BumonKanri = 0;
  QString ExField;
  QString KensakuKey;
  int Color = 0;
  QString RendoCode;
  QString KikanCode;
};

class TSitenList {
 public:
  // Bound to the data module's company transaction (none without a module).
  TSitenList();
  ~TSitenList();
  TSitenList(const TSitenList&) = delete;
  TSitenList& operator=(const TSitenList&) = delete;

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }

  void SetReadType(TJxSitenListSet v) { FReadType = v; }
  TJxSitenListSet ReadType() const { return FReadType; }
  int OPCODE() const { return FOPCODE; }
  int SelectJigyoKbn() const { return FSelectJigyoKbn; }
  void SetSelectJigyoKbn(int v) { FSelectJigyoKbn = v; }
  bool UseHonbu() const { return FUseHonbu; }
  void SetUseHonbu(bool v) { FUseHonbu = v; }
  void SetUseFilterCombo(bool v) { FUseFilterCombo = v; }
  bool GroupAdd = false;
  bool ExFieldSansyoFlg = false;
  int ItemCount() const { return int(FItems.size()); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }

  // Reads the sections of ReadType for the operator login code AOPCODE
  // (everything when the operator's access is unrestricted): branches of
  // general data, facilities of medical-corporation data (with business-kind
  // groups and, when wanted, entry groups). Data of any other kind is not
  // read and the list stays as it was. On a database error the error is
  // reported and raised again; entries read before it stay. The first form
  // wants entry groups for general data; the second sets the wish for
  // medical data.
  void Execute(int AOPCODE);
  void Execute(int AOPCODE, bool AUseEntryGroup);
  void Clear();

  QString ItemGetter(int i) const;
  QString ItemGetterCode(int i) const;
  QString ItemGetterName(int i) const;
  QString ItemGetterExField(int i) const;
  QString ItemGetterKensakuKey(int i) const;
  QString ItemGetterRendoCode(int i) const;
  QString ItemGetterKikanCode(int i) const;
  int ItemGetterBLType(int i) const;
  int ItemGetterJigyoType(int i) const;
  int ItemGetterBumonKanri(int i) const;
  int ItemGetterColor(int i) const;

  int GetListIndex(const QString& ACode, int ABLType) const;
  int GetListIndex2(const QString& ACode) const;
  QString GetSitenName(const QString& ACode, int ABLType) const;
  int GetBumonKanri(const QString& ACode, int ABLType) const;
  int GetListIndex_Jigyokbn(int AJigyoKbn, int ABLType) const;
  QString GetRendoCode(const QString& ACode) const;
  QString GetKikanCode(const QString& ACode) const;

  // The name of the whole-company entry for the open data.
  static QString HoujinName();
  // Name of the group of medical facilities of one business kind (8, 4, 2,
  // 1); empty for any other kind.
  static QString JigyoGroupName(int AJigyoKbn);

 private:
  void readBasic(int AOPCODE);
  void readMedical(int AOPCODE);
  void add(const TSitenListRec& r, const QString& item);
  // Whether the operator has every branch, and so the whole company.
  bool permitsWholeCompany(db::Query& q, int AOPCODE);
  // The branch groups the operator may use (all without restriction).
  void addGroups(db::Query& q, bool ARestricted, int AOPCODE, int ABLType, int AJigyoType);
  QString itemText(const TSitenListRec& r) const;
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }
  int effectiveLevel(int ABLType) const;

  db::Transaction* FTransaction = nullptr;
  TJxSitenListSet FReadType;
  int FOPCODE = 0;
  int FSelectJigyoKbn = 0;
  bool FUseHonbu = true;
  bool FUseFilterCombo = false;
  bool FUseEntryGroup = true;
  std::vector<TSitenListRec> FRecs;
  QStringList FItems;
};
