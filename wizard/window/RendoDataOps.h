// The data-module operations the wizard window needs when it logs on, opens
// a company data set and checks it. Each is a replaceable function so that
// the window can be tested (a test forces a failure through them); the
// defaults call the data module.
#pragma once

#include <functional>

#include <QString>

struct TRendoDataOps {
  // Reads the open company database's basic settings into AccInf (and the
  // account-code tables for its kind); false on failure.
  std::function<bool()> GetAccInfo;
  // Reads the system definitions after logon; false on failure.
  std::function<bool()> GetSYSDEF;
  // Loads the era table.
  std::function<void()> SetGengoRecord;
  // Removes the logged-on operator's rows from the logon list.
  std::function<void()> DeleteLogonInfo;
  // The open company database's version "%d.%d.%d"; "0.0.0" when unreadable.
  std::function<QString()> GetDataBaseVer;
  // Asks the data set's password when one is set; false when refused.
  std::function<bool(void* AHandle)> IsDataPassword;
  // The operator has a usable default branch in the open company data.
  std::function<bool()> GetExistsOpeDefSisetu;
  // Branch management is off or the operator may use every branch.
  std::function<bool(int AOpCode)> IsAuthSitenZentai;
  // Validates a database file; 0 means damaged.
  std::function<int(int AProtocol, const QString& AServerName, const QString& ADataBaseName)> ValidateFDB;
  // Data-list number (and member row) of a local data folder; 0 when none.
  std::function<void(const QString& ALocalPath, int& ARec, int& AChildRec)> LocalPathToDataListRecNo;
};

// The operations in use (the defaults until replaced).
TRendoDataOps& RendoDataOps();
// Puts every operation back to its default.
void pcResetRendoDataOps();
