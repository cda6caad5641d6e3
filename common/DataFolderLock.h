// An advisory lock on a data folder, held while its settings file is read,
// changed and saved, so that two programs updating the file one after the
// other never lose each other's keys. The lock is taken on the folder itself
// (the settings file is replaced by a rename on every save); a folder that
// cannot be opened is not locked and the write goes on as before.
#pragma once

#include <QString>

class TDataFolderLock {
 public:
  explicit TDataFolderLock(const QString& ADataPath);
  ~TDataFolderLock();
  TDataFolderLock(const TDataFolderLock&) = delete;
  TDataFolderLock& operator=(const TDataFolderLock&) = delete;

  bool Locked() const { return FFd >= 0; }

 private:
  int FFd = -1;
};
