#pragma once
// The local settings file (SystemDef.APPINI): how this installation reaches
// the accounting databases. The data-server settings dialog
// (common/dialogs/AppIniCreateBox.h) edits it through this class; the
// start-up creates the file through it.
//
// The file is UTF-16LE with a byte-order mark and holds the database
// password in plain text (the other programs of the installation read it in
// that form), so it is kept readable by its owner only.

#include <QString>

class TAppIniCreate {
 public:
  TAppIniCreate();

  // Writes the file. AInit 1 creates it (window keys, CONNECT 0, LOCAL and
  // SERVER); any other value writes the section of the current AppType.
  // Always true when it returns; file errors throw.
  bool MakeLocalIniFile(int AInit);

  // Reads connection section AConType (0 LOCAL, 1 SERVER, 2 SBC; any other
  // value LOCAL) into SystemDef. Returns 1.
  int GetDataBaseInfoIniFile(int AConType);

  // The same, chosen by the process-wide SystemKind; 0 for an unknown kind.
  int GetDataBaseInfo(int AConType);

  // APPLICATION CONNECT: the connection kind of the last successful logon.
  void SetConStateIniFile(int AValue);
  int GetConStateIniFile() const;

  bool InitFlg() const { return FInitFlg; }
  int SyoriType() const { return FSyoriType; }
  void SetSyoriType(int AValue);
  int ConType() const { return FConType; }
  void SetConType(int AValue) { FConType = AValue; }

  // Name of the connection section of a kind (0 LOCAL, 1 SERVER, 2 SBC).
  static QString SectionName(int AConType);

 private:
  bool FInitFlg = false;
  int FSyoriType = 0;
  int FConType = 1;
};

// Restricts a settings file to its owner (read and write).
void pcSetOwnerOnly(const QString& fileName);
