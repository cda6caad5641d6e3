// Data places: named folders on the data server under which data sets lie,
// kept in the system-database table DATAPLACEMAN (place 0 is the root
// place; an empty name marks a free slot). TDataPlaceStore reads the places
// (seeding the table with its 100 slots when it is empty), answers the
// look-ups between list positions, place numbers and folders, and stores
// the pending changes of the data places dialog.
#pragma once

#include <vector>

#include <QString>

struct TDataPlaceRec {
  int Rec = 0;
  int RecKbn = 0;  // pending change: 0 none, 1 named now, 2 name or order changed, 9 deleted
  int Order = 0;
  QString DataPath;
  QString Name;
  QString Alias;
};
using TDataPlaceList = std::vector<TDataPlaceRec>;

class TDataPlaceStore {
 public:
  static constexpr int PlaceCount = 100;

  // Reads the places in display order (ORDERKBN, then REC), only the named
  // ones with ANamedOnly. False after a database error (reported), with the
  // list as far as it got.
  bool Read(bool ANamedOnly);
  // The named places' names, each followed by "\r", in display order (reads
  // the named places into the list first).
  QString GetItemList();

  TDataPlaceList& List() { return FList; }
  const TDataPlaceList& List() const { return FList; }

  // Look-ups in the list as last read: -1 or "" when out of range / none.
  int SelectRec(int AIndex) const;
  QString SelectName(int AIndex) const;
  QString SelectPath(int AIndex) const;
  int RecToIndex(int ARec) const;
  QString RecToPath(int ARec) const;
  int PathToIndex(const QString& APath) const;  // folders compared without regard to case
  int PathToRec(const QString& APath) const;

  // Writes every pending change (a newly named place gets its data-list rows,
  // a deleted one loses them) and clears the marks. A database error rolls
  // back what this started and is raised.
  void StoreChanges();

  // The data-set folders registered under a place (DATALIST_EX). False when
  // the question failed (reported).
  bool PlaceFolders(int ARec, QStringList& AFolders);

 private:
  void seedWhenEmpty();
  TDataPlaceList FList;
};
