// The export object: everything the import file needs besides the balances
// (the identity of the link, the installed accounting product, the company,
// year and periods chosen in the wizard, the output file), the SYSTEM and
// BASIC parts of the file, and the link settings file "Gensyou.ini" that
// keeps the last company data and output file between runs.
#pragma once

#include <stdexcept>

#include <QString>

#include "platform/Currency.h"
#include "platform/DateTime.h"
#include "wizard/XmlSaveDoc.h"

// The export's own failures. Codes: 1 the balance computation failed, 2 an
// account without name, 3 a sub-account without name.
class EDataExportError : public EAppError {
 public:
  EDataExportError(const QString& NativeError, const QString& Context, int ErrCode);
  QString Message() const { return message(); }
  QString Context() const { return context_; }
  int ErrorCode() const { return errorCode_; }

 private:
  QString context_;
  int errorCode_;
};

class TComDataExport {
 public:
  // _EXEPATH is not used (the program's own file is asked of the platform).
  // _FUNCTIONID is the calling program's function number, 0 without one.
  // Reads the installed product's name and version from the registry and the
  // link settings file; never fails on a missing key or file.
  TComDataExport(const QString& _EXEPATH, const QString& _EXPFILEPATH, int _FUNCTIONID);
  // Writes the link settings file unless pcSaveLinkSettings already ran; a
  // failure there is only logged (call pcSaveLinkSettings to see it).
  virtual ~TComDataExport();
  TComDataExport(const TComDataExport&) = delete;
  TComDataExport& operator=(const TComDataExport&) = delete;

  // The document element REPORT and the SYSTEM element.
  void SetSystemNode(TXmlSaveDoc& _XmlSaveDoc);
  // The BASIC element.
  void SetBasicNode(TXmlSaveDoc& _XmlSaveDoc);
  // The DATA element (the balances), written by the subclass.
  virtual void SetDataNode(TXmlSaveDoc& _XmlSaveDoc) = 0;

  // Writes DATA, KOMONSAKI and (without a function number) EXPORTFILE into
  // the link settings file. Throws the settings file's error.
  void pcSaveLinkSettings();

  QString EXECDRIVE() const { return FEXECDRIVE; }
  // Full name of the link settings file.
  QString LinkSettingsFile() const;

  // Identity of the program and the link
  QString EXENAME;
  QString EXEPATH;
  QString FEXECDRIVE;
  QString FComDocHome;
  QString FComDocIni;
  QString RENDOCAPTION;
  QString RENDOSAKIAPP;
  QString RENDOSAKIID;
  int IMPORTTYPE = 0;
  QString GYOUMUPREFIX;
  int VERSION = 1;
  int FUNCTIONID = 1;
  QString CONPGVER;
  QString PGNAME;
  QString PGVER;
  QString WQZPERMITVER;

  // Chosen in the wizard
  QString KOMONSAKI;
  int KAIKEINENDO = 0;
  TDateTime JIGYONENDOFROM = 0;
  TDateTime JIGYONENDOTO = 0;
  int SIME = 99;
  int SYOTOKUSYURUI = 0;
  int GENKA_HASUU1 = 0;
  bool UtiwakeOutFlg = false;
  QString DataFilePath;
  QString DataFilePathA;
  int KikanFrom = 0;
  int KikanTo = 0;
  int LastNo = 0;
  int TaxUH = 0;
  int TaxKAZEI = 0;
  int TaxJIGYOU = 0;
  int TaxKEISAN = 0;
  bool Tax2wariTokurei = false;
  int DataKUB1 = 0;
  int DataKUB2 = 0;
  QString ExpFilePath;
  int KENSAKU_DATATYPE = 1;
  QString KENSAKU_VERSION;
  QString KENSAKU_VERSION_MAJOR;

 private:
  void readLinkSettings();
  bool linkSaved_ = false;
};

// Name and version of the installed accounting product: under the registry
// key ComRegKey, the last sub-key whose lower-case name contains the
// lower-case RegKey followed by "17"; its value "Product" or "Version".
// Empty when the key, a matching sub-key or the value is missing.
QString fnRendoProductValue(const QString& comRegKey, const QString& regKey, const QString& valueName);

// The import file's full name: the export's ExpFilePath, or the file of that
// name in the documents folder myDoc when the path has no folder part.
QString fnRendoExportFileName(const QString& expFilePath, const QString& myDoc);

// The finish of the wizard without its boxes: builds the import file in
// memory (declaration "1.0"/"Shift_JIS", SYSTEM, BASIC, DATA) and saves it
// under fileName in one piece. Every failure is thrown (EDataExportError for
// the export's own, anything else from the builder or the computation), and
// then no file has been written: an earlier file of that name stays as it was.
void pcRendoWriteImportFile(TComDataExport& exp, const QString& fileName);
