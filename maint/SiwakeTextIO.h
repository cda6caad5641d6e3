// The journal text file: one line with the company name, then one line per
// journal entry, TAB-separated, 30 columns (41 in the consolidation variant,
// "GassanSwk01.txt"). TSiwakeTextIO carries the column maps, writes the file
// from a query over the journal (fnSiwakeOutput) and stores every entry line
// of a file as a new journal entry (fnSiwakeInput).
//
// An import is one transaction: either every accepted line of the file is
// stored, or (after a failure) none is, so running the same file again never
// stores an entry twice. The file gets its ".Lock" line only after the
// commit.
#pragma once

#include <map>

#include <QString>
#include <QStringList>

#include "common/SiwakeTax.h"
#include "common/TextIO.h"

// Column positions of the journal text file.
struct TSWKIMPREC {
  int HIZUKE = 0, KESSAN = 0, DNUM = 0, SNUM = 0, SCODE = 0;
  int L_KGROUP = 0, L_KCODE = 0, L_USERCODE = 0, L_HCODE = 0, L_BCODE = 0, L_TAXCODE = 0, L_TAXUH = 0, L_TAXDC = 0;
  int R_KGROUP = 0, R_KCODE = 0, R_USERCODE = 0, R_HCODE = 0, R_BCODE = 0, R_TAXCODE = 0, R_TAXUH = 0, R_TAXDC = 0;
  int KINGAKU = 0, ZEIGAKU = 0, ZEIRITUNO = 0, AUTCALCU = 0, TAXCALCU = 0, OLDRATE = 0;
  int TEKTEXT = 0, TORTEXT = 0, FUSEN1 = 0, FUSEN2 = 0, COMMENT = 0, AO_COMMENT = 0, DENPYOU_NO = 0;
  int KANSADATE = 0, EDITDATE = 0;
  int L_KNAME = 0, L_HNAME = 0, L_BNAME = 0, L_SIKIN = 0, R_KNAME = 0, R_HNAME = 0, R_BNAME = 0, R_SIKIN = 0;
  int SYOUNIN_OPCODE = 0, SYOUNIN_OPNAME = 0, SYOUNIN_HIZUKE = 0;
  int ITEMCOUNT = 0;
};

// A text value before writing: TAB, CR and LF removed, '"' becomes "'".
QString CleanExportText(const QString& text);
// A text value read back: TAB, CR and LF removed, "'" becomes '"'.
QString CleanImportText(const QString& text);
// "振:3" → kind 12 (振 transfer, 入 receipt 13, 出 payment 14) and number 3.
// Anything else gives false with both outputs 0.
bool ParseDenpyouNo(const QString& text, int& linkKind, int& number);
// The voucher text of a link kind 12 to 14 with a number above 0, else "0".
QString FormatDenpyouNo(int linkKind, int number);

class TSiwakeTextIO : public TTextIO {
 public:
  TSiwakeTextIO();
  ~TSiwakeTextIO() override;

  bool HokaSitenGet() const { return FHokaSitenGet; }
  void SetHokaSitenGet(bool v) { FHokaSitenGet = v; }
  bool WriteLock() const { return FWriteLock; }
  void SetWriteLock(bool v) { FWriteLock = v; }
  bool GassanIO() const { return FGassanIO; }
  void SetGassanIO(bool v) { FGassanIO = v; }
  const TSWKIMPREC& ImportColumns() const { return FSWKIMPREC; }
  const TSWKIMPREC& ExportColumns() const { return FSWKEXPREC; }

  virtual void SetImportColumns();
  virtual void SetExportColumns();

  // Stores every entry line of the file (SiwakeImport.cpp). False when the
  // file was refused (locked, or written from another company's data);
  // failures that end the run are listed, logged and passed on, and then
  // nothing of the file is stored.
  bool fnSiwakeInput(const QString& _Path, const QString& _Separator);
  // Writes the rows of the SELECT into the file (the earlier file stays
  // until the new one is whole). True when every row was written.
  bool fnSiwakeOutput(const QString& _Path, const QString& _Separator, const QStringList& _SQL);

 protected:
  struct TImportRun;
  int GroupNumberFor(TImportRun& run, int fileNumber, bool importBranch);
  int LinkNumberFor(TImportRun& run, int kind, int fileNumber, bool importBranch);
  void BuildEntry(TImportRun& run, const QStringList& f, bool importBranch);
  void AddFailure(TImportRun& run, const QString& line, bool format, bool warning, int number, const QString& message);
  void ShowProgress(const QString& format, int count);

  TSWKREC FSWKREC;
  TSWKIMPREC FSWKIMPREC;
  TSWKIMPREC FSWKEXPREC;
  bool FHokaSitenGet = false;
  bool FWriteLock = true;
  bool FGassanIO = false;
};
