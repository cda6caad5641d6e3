// TRecordTableModel: a read-only table model over a list of records, the
// pattern every list grid of the program follows.
//
//   - A row of the grid is one record (a struct of the subsystem), held by
//     the model. Everything the screen needs to know about a row (what it
//     stands for, its state, where it came from) is a field of that record,
//     never a hidden column of strings.
//   - The shown columns are described once: a caption, how the cell's value
//     is taken from the record (and its row number, for a running number),
//     and optionally an alignment. The view shows exactly these columns.
//   - The screen asks the model for the record of a row (`Row`) and derives
//     its selection and its buttons' states from it; a change goes into the
//     record through `SetRow`, `InsertRows` or `RemoveRows`, which tell the
//     views in the model's own terms (dataChanged, rows inserted/removed,
//     reset), so the current row and the selection follow.
//
// A subsystem derives its model from it (or uses it as it stands) and adds
// the look-ups over its own records:
//
//   struct TPlaceRow { int Rec; QString Name; };
//   TRecordTableModel<TPlaceRow> m({
//       {"No", [](const TPlaceRow&, int r) { return r + 1; }, Qt::AlignRight | Qt::AlignVCenter},
//       {"名称", [](const TPlaceRow& p, int) { return p.Name; }}});
//   m.SetRows(places);
//   view->setModel(&m);
//
// QtCore only, so models are tested without a screen (tests run Qt's
// QAbstractItemModelTester over them).
#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include <QAbstractTableModel>
#include <QString>
#include <QVariant>

template <class TRow>
class TRecordTableModel : public QAbstractTableModel {
 public:
  struct TColumn {
    QString Caption;
    // The cell's value (display and edit role) from the record and its row.
    std::function<QVariant(const TRow& ARow, int ARowIndex)> Value;
    // Empty: the view's own alignment.
    Qt::Alignment Alignment = {};
  };

  explicit TRecordTableModel(std::vector<TColumn> AColumns, QObject* AParent = nullptr)
      : QAbstractTableModel(AParent), FColumns(std::move(AColumns))
  {
  }

  // ---- records
  int RowCount() const { return int(FRows.size()); }
  bool IsRow(int ARow) const { return ARow >= 0 && ARow < RowCount(); }
  // The record of a row; ARow must be a row (IsRow).
  const TRow& Row(int ARow) const { return FRows[std::size_t(ARow)]; }
  const std::vector<TRow>& Rows() const { return FRows; }

  // Replaces every row (the views are reset).
  void SetRows(std::vector<TRow> ARows)
  {
    beginResetModel();
    FRows = std::move(ARows);
    endResetModel();
  }
  void Clear() { SetRows({}); }
  // Replaces the record of one row; its cells are redrawn.
  void SetRow(int ARow, TRow ARecord)
  {
    if (!IsRow(ARow))
      return;
    FRows[std::size_t(ARow)] = std::move(ARecord);
    emitRowChanged(ARow, ARow);
  }
  // Inserts records before row AAt (RowCount() appends).
  void InsertRows(int AAt, std::vector<TRow> ARecords)
  {
    if (AAt < 0 || AAt > RowCount() || ARecords.empty())
      return;
    beginInsertRows({}, AAt, AAt + int(ARecords.size()) - 1);
    FRows.insert(FRows.begin() + AAt, std::make_move_iterator(ARecords.begin()),
                 std::make_move_iterator(ARecords.end()));
    endInsertRows();
  }
  void AppendRow(TRow ARecord)
  {
    std::vector<TRow> one;
    one.push_back(std::move(ARecord));
    InsertRows(RowCount(), std::move(one));
  }
  // Removes ACount rows from AAt (as many as there are).
  void RemoveRows(int AAt, int ACount)
  {
    if (!IsRow(AAt) || ACount <= 0)
      return;
    const int last = std::min(RowCount(), AAt + ACount) - 1;
    beginRemoveRows({}, AAt, last);
    FRows.erase(FRows.begin() + AAt, FRows.begin() + last + 1);
    endRemoveRows();
  }

  // ---- columns
  int ColumnCount() const { return int(FColumns.size()); }
  QString Caption(int ACol) const
  {
    return ACol >= 0 && ACol < ColumnCount() ? FColumns[std::size_t(ACol)].Caption : QString();
  }
  void SetCaption(int ACol, const QString& ACaption)
  {
    if (ACol < 0 || ACol >= ColumnCount() || FColumns[std::size_t(ACol)].Caption == ACaption)
      return;
    FColumns[std::size_t(ACol)].Caption = ACaption;
    emit headerDataChanged(Qt::Horizontal, ACol, ACol);
  }
  // The value of a cell as the grid shows it, as text.
  QString Text(int ARow, int ACol) const { return cellValue(ARow, ACol).toString(); }

  // ---- QAbstractTableModel
  int rowCount(const QModelIndex& AParent = {}) const override { return AParent.isValid() ? 0 : RowCount(); }
  int columnCount(const QModelIndex& AParent = {}) const override { return AParent.isValid() ? 0 : ColumnCount(); }
  QVariant data(const QModelIndex& AIndex, int ARole = Qt::DisplayRole) const override
  {
    if (!AIndex.isValid() || !checkIndex(AIndex, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
      return {};
    switch (ARole) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return cellValue(AIndex.row(), AIndex.column());
      case Qt::TextAlignmentRole: {
        const Qt::Alignment a = FColumns[std::size_t(AIndex.column())].Alignment;
        return a ? QVariant(int(a)) : QVariant();
      }
      default:
        return {};
    }
  }
  QVariant headerData(int ASection, Qt::Orientation AOrientation, int ARole = Qt::DisplayRole) const override
  {
    if (ARole != Qt::DisplayRole)
      return {};
    if (AOrientation == Qt::Vertical)
      return ASection >= 0 && ASection < RowCount() ? QVariant(ASection + 1) : QVariant();
    return ASection >= 0 && ASection < ColumnCount() ? QVariant(FColumns[std::size_t(ASection)].Caption) : QVariant();
  }
  Qt::ItemFlags flags(const QModelIndex& AIndex) const override
  {
    if (!AIndex.isValid() || !checkIndex(AIndex, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
      return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  }

 protected:
  // Tells the views that rows AFirst .. ALast changed (after a subclass
  // changed records in place).
  void emitRowChanged(int AFirst, int ALast)
  {
    if (ColumnCount() > 0 && AFirst <= ALast)
      emit dataChanged(index(AFirst, 0), index(ALast, ColumnCount() - 1), {Qt::DisplayRole, Qt::EditRole});
  }
  TRow& rowRef(int ARow) { return FRows[std::size_t(ARow)]; }

 private:
  QVariant cellValue(int ARow, int ACol) const
  {
    if (!IsRow(ARow) || ACol < 0 || ACol >= ColumnCount() || !FColumns[std::size_t(ACol)].Value)
      return {};
    return FColumns[std::size_t(ACol)].Value(Row(ARow), ARow);
  }

  std::vector<TColumn> FColumns;
  std::vector<TRow> FRows;
};
