#pragma once
// The data module's picture lists and the picture items of its edit
// repository, shared by the grids of the data dialogs.
//
// The four lists hold pictures of one size each, drawn at run time:
//   ImageList1      16 x 16, masked (each pixel drawn or clear); no item of
//                   the repository uses it, so it starts empty
//   ImageList3216   32 x 16: 0 none, 1 share, 2 lock, 3 cloud share
//   ImageList1616   16 x 16: 0 none, 1-3 sticky notes (yellow, pink, blue),
//                   4 memo, 5 office memo, 6 adjustment, 7 voucher
//   ImageListHyouka 96 x 16: 0 poor, 1 even, 2 good (evaluation marks)
// Picture 0 of the 32 x 16 and 16 x 16 lists is deliberately empty: it is
// what a cell shows for "no mark".
//
// A picture item maps a cell value to an index of its list. Values not in
// its table (and empty cells) show no picture.

#include <memory>
#include <utility>

#include <QList>
#include <QPixmap>
#include <QVariant>

#include "ui/xGridBands.h"

class TImageList {
 public:
  TImageList(int AWidth, int AHeight, bool AMasked);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Masked() const { return FMasked; }
  int Count() const { return int(FPictures.size()); }
  // A null pixmap outside 0..Count()-1.
  QPixmap Picture(int AIndex) const;
  // Adds a picture (scaled to the list's size when it differs; a masked
  // list keeps each pixel either fully drawn or clear); returns its index.
  int Add(const QPixmap& APicture);

 private:
  int FWidth;
  int FHeight;
  bool FMasked;
  QList<QPixmap> FPictures;
};

// A picture item of the edit repository: a list and the table of values
// to picture indexes.
class TcxImageRepoItem {
 public:
  TcxImageRepoItem(const TImageList& AList, QList<std::pair<QVariant, int>> AMap);

  const TImageList& Images() const { return *FList; }
  const QList<std::pair<QVariant, int>>& Map() const { return FMap; }
  // The picture index for a cell value; -1 when the value is not in the
  // table. Numbers, truth values and numeric text compare by number
  // ("1", 1, 1.0 and True are the same value); "True"/"False" text as 1/0.
  int ImageIndex(const QVariant& AValue) const;
  // The picture for a cell value; a null pixmap when there is none.
  QPixmap Picture(const QVariant& AValue) const;
  // The item as the editor properties of a grid column
  // (TxGridColumn::RepositoryItem): one picture entry per table value.
  std::shared_ptr<const TcxEditProperties> Properties() const;

 private:
  const TImageList* FList;
  QList<std::pair<QVariant, int>> FMap;
  mutable std::shared_ptr<const TcxEditProperties> FProperties;
};

struct TDMImageLists {
  TDMImageLists();

  TImageList ImageList1;
  TImageList ImageList3216;
  TImageList ImageList1616;
  TImageList ImageListHyouka;

  TcxImageRepoItem cxEditRepo_Image_Kyouyu;
  TcxImageRepoItem cxEditRepo_Image_Lock;
  TcxImageRepoItem cxEditRepo_Image_CloudShare;
  TcxImageRepoItem cxEditRepo_Image_Memo;
  TcxImageRepoItem cxEditRepo_Image_Chosei;
  TcxImageRepoItem cxEditRepo_Image_MemoJimusyo;
  TcxImageRepoItem cxEditRepo_Image_Syouhyou;
  TcxImageRepoItem cxEditRepo_Image_Fusen;
  TcxImageRepoItem cxEditRepo_Image_Boolean_noDisplay;
  TcxImageRepoItem cxEditRepo_Image_Hyouka;
  TcxImageRepoItem cxEditRepo_Image_Hyouka2;

  TDMImageLists(const TDMImageLists&) = delete;
  TDMImageLists& operator=(const TDMImageLists&) = delete;
};

// The process-wide lists and items, made on first use (needs a running
// QGuiApplication: the pictures are pixmaps).
const TDMImageLists& fnDMImageLists();
