// The accounts (TKamokuList) and the sub-accounts of one account (THojoList)
// of the open company data, for combo boxes and for converting between the
// internal account code KCODE and the code the users see (USERCODE). Both
// read KAMOKU_VIEW2 and can read and write each master's extra-information
// text (XSTR). Main thread only.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

namespace db {
class Transaction;
}

struct TKamokuListRec {
  QString GCODE;  // account group (GROUPM0)
  QString CODE;   // KCODE
  QString USERCODE;
  QString NAME;
  QString BPFLG;
  int Work1 = 0;
  QString KANA;
  QString ExField;
  QString KensakuKey;
  int LTCODE = 0;
  int RTCODE = 0;
  int ZeirituKbn = 0;
};

struct THojoListRec {
  QString CODE;  // HCODE
  QString NAME;
  QString KANA;
  QString ExField;
  QString KensakuKey;
  int LTCODE = 0;
  int RTCODE = 0;
  int ZeirituKbn = 0;
};

class TKamokuList {
 public:
  // Bound to the data module's company transaction (none without a module).
  TKamokuList();
  virtual ~TKamokuList();
  TKamokuList(const TKamokuList&) = delete;
  TKamokuList& operator=(const TKamokuList&) = delete;

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }

  QString TopItem;
  bool ExFieldSansyoFlg = false;
  QString SCODE() const { return FSCODE; }
  // "B" or "P" lists only that kind; anything else both. "P" also excludes
  // the sundry account from then on.
  void SetSelectBP(const QString& v) { FSelectBP = v; }
  void SetSelectGroups(const QStringList& v) { FSelectGroups = v; }
  void SetKinsiKamoku(const QStringList& v) { FKinsiKamoku = v; }
  QStringList KinsiKamoku() const { return FKinsiKamoku; }
  void SetUseFilterCombo(bool v) { FUseFilterCombo = v; }
  int ItemCount() const { return FItems.size(); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }

  // Reads the accounts (of the branch ASCODE when it is not empty). A read
  // error is reported (only when the read started the transaction) and
  // raised again; the entries read before it stay.
  virtual void Execute(const QString& ASCODE);
  void Clear();

  QString ItemGetter(int i) const;
  QString ItemGetterCode(int i) const;
  QString ItemGetterName(int i) const;
  QString ItemGetterExField(int i) const;
  QString ItemGetterKensakuKey(int i) const;
  QString ItemGetterGCode(int i) const;
  QString ItemGetterUserCode(int i) const;
  QString ItemGetterBPFlg(int i) const;
  int ItemGetterLTCODE(int i) const;  // 910 outside the list
  int ItemGetterRTCODE(int i) const;  // 910 outside the list
  int ItemGetterZeirituKbn(int i) const;

  int GetListIndex(const QString& AUSERCODE) const;
  int GetListIndex2(const QString& AKCODE) const;
  QString KCODEtoUC_KCODE(const QString& AKCODE) const;
  QString UC_KCODEtoKCODE(const QString& AUSERCODE) const;
  // 1 when the account has sub-accounts, plus 2 when it has departments (in
  // the branch of the last read); 0 on any error.
  int IsHojoBumon(const QString& AUSERCODE);
  // Writes the account's extra information. Errors go to the caller; a
  // transaction started here is rolled back then.
  void UpdateExField(const QString& AUSERCODE, const QString& AValue);

 private:
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }
  QString itemText(const TKamokuListRec& r, bool top) const;
  void readExFields();

  db::Transaction* FTransaction = nullptr;
  QString FSCODE;
  QString FSelectBP;
  QStringList FSelectGroups;
  QStringList FKinsiKamoku;
  bool FUseFilterCombo = false;
  std::vector<TKamokuListRec> FRecs;
  QStringList FItems;
};

class THojoList {
 public:
  THojoList();
  virtual ~THojoList();
  THojoList(const THojoList&) = delete;
  THojoList& operator=(const THojoList&) = delete;

  void SetTransaction(db::Transaction* ATransaction) { FTransaction = ATransaction; }

  QString TopItem;
  bool ExFieldSansyoFlg = false;
  QString SCODE() const { return FSCODE; }
  QString USERCODE() const { return FUSERCODE; }
  void SetUseFilterCombo(bool v) { FUseFilterCombo = v; }
  int ItemCount() const { return FItems.size(); }
  QString ItemStrings() const { return FItems.join(QLatin1Char('\n')); }

  // Reads the sub-accounts of the account AUSERCODE (in the branch ASCODE
  // when it is not empty); errors as TKamokuList::Execute.
  virtual void Execute(const QString& ASCODE, const QString& AUSERCODE);
  void Clear();

  QString ItemGetter(int i) const;
  QString ItemGetterCode(int i) const;
  QString ItemGetterName(int i) const;
  QString ItemGetterExField(int i) const;
  QString ItemGetterKensakuKey(int i) const;
  int ItemGetterLTCODE(int i) const;
  int ItemGetterRTCODE(int i) const;
  int ItemGetterZeirituKbn(int i) const;

  int GetListIndex(const QString& AHCODE) const;
  void UpdateExField(const QString& AKCODE, const QString& AHCODE, const QString& AValue);

 private:
  bool inRange(int i) const { return i >= 0 && i < int(FRecs.size()); }
  QString itemText(const THojoListRec& r, bool top) const;

  db::Transaction* FTransaction = nullptr;
  QString FSCODE;
  QString FUSERCODE;
  bool FUseFilterCombo = false;
  std::vector<THojoListRec> FRecs;
  QStringList FItems;
};

// The three columns of a filter combo box, each between double quotes.
QString fnFilterComboItem(const QString& A, const QString& B, const QString& C);
// Double quotes inside a name become apostrophes (filter combo boxes).
QString fnFilterComboText(QString S);
