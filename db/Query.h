#pragma once
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "db/DbError.h"
#include "platform/Currency.h"
#include "platform/DateTime.h"

namespace db {

class Database;
class Transaction;
class Query;

// Read access to one column of a Query's current row (cheap to copy; valid
// while the row is current). Conversions:
//   asString   text as QString (UTF8 columns decoded; NONE columns decoded as
//              UTF-8 when valid, else as CP932), numbers in plain decimal,
//              DATE "yyyy/MM/dd", TIMESTAMP "yyyy/MM/dd hh:mm:ss", text BLOBs;
//              CHAR(n) is cut to n characters; NULL gives "".
//   asInt/asInt64  integers, numerics (rounded half away from zero), text
//              holding an integer; NULL gives 0.
//   asDouble   any number; NULL gives 0.
//   asCurrency exact from scaled integers (NUMERIC/DECIMAL), rounded to 4
//              decimals from floating point; NULL gives zero.
//   asDateTime DATE, TIMESTAMP, TIME as days since 1899-12-30; NULL gives 0.
//   asBool     BOOLEAN, or a number != 0; NULL gives false.
//   asBytes    raw bytes of text and BLOB columns (any subtype).
// A conversion that makes no sense (a date from a BLOB) is a DbError.
class Field {
 public:
  QString name() const;
  bool isNull() const;
  QString asString() const;
  int asInt() const;
  qint64 asInt64() const;
  double asDouble() const;
  Currency asCurrency() const;
  TDateTime asDateTime() const;
  bool asBool() const;
  QByteArray asBytes() const;

 private:
  friend class Query;
  Field(const Query* q, int index) : m_q(q), m_index(index) {}
  const Query* m_q;
  int m_index;
};

// A SQL statement with named parameters on a Transaction.
//
// Parameters are written ":NAME" (letters, digits, "_" and "$"; matched
// without regard to case); the same name may appear several times and is
// bound to every place. Names inside string literals, quoted identifiers
// and comments are left alone. The text is sent with "?" in their place;
// values are always bound, never put into the text. With
// setParamCheck(false) the text is sent as it stands (PSQL bodies).
//
// Values set stay set until clearParams() or a new setSql(). A parameter
// left unset is NULL. The value's own type is sent and the server converts
// it to the parameter's type (a text into a DATE parameter is parsed by the
// server); BLOB parameters get a blob created from the text (UTF-8) or the
// bytes.
//
// open() runs a selecting statement and fetches its first row; next()
// fetches the following one; eof() is true when there is no current row.
// exec() runs any statement; for EXECUTE PROCEDURE with outputs the output
// row becomes the current row. Both prepare on first use. The transaction
// must be active (a DbError otherwise). Movable, not copyable.
//
//     db::Query q(tr);
//     q.setSql("SELECT NAME FROM T WHERE CODE = :CODE OR PARENT = :CODE");
//     q.setParam("CODE", 12);
//     for (q.open(); !q.eof(); q.next())
//         names << q.field("NAME").asString();
class Query {
 public:
  // A statement on the transaction's first database.
  explicit Query(Transaction& tr);
  Query(Transaction& tr, const QString& sql);
  // A statement on one database of a transaction that spans several (the
  // database is added to the transaction when not yet in it).
  Query(Transaction& tr, Database& db);
  Query(Transaction& tr, Database& db, const QString& sql);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;
  // The moved-to query carries on (statement, open cursor, current row,
  // parameters) on the same transaction; Fields taken from the moved-from
  // one are no longer valid. The moved-from query has no transaction.
  Query(Query&& other);
  Query& operator=(Query&& other);

  // A DbError when the transaction the query was made on has been
  // destroyed or moved from (or this query was moved from).
  Transaction& transaction() const;
  // The database the statement runs on (null when it was destroyed).
  Database* database() const { return m_db; }

  void setSql(const QString& sql);
  QString sql() const { return m_sql; }
  void setParamCheck(bool on);
  // The text sent to the server (named parameters replaced by "?").
  QString processedSql() const;
  // Parameter names in order of first appearance (upper case).
  QStringList paramNames() const;
  bool hasParam(const QString& name) const;

  void setParam(const QString& name, const QString& value);
  void setParam(const QString& name, const char* value) { setParam(name, QString::fromUtf8(value)); }
  void setParam(const QString& name, int value);
  void setParam(const QString& name, qint64 value);
  void setParam(const QString& name, double value);
  void setParam(const QString& name, const Currency& value);
  void setParam(const QString& name, bool value);
  // Binary data: bound as a BLOB (or as octets into a text parameter).
  void setParam(const QString& name, const QByteArray& bytes);
  void setParamDateTime(const QString& name, TDateTime value);
  void setParamNull(const QString& name);
  void clearParams();

  void prepare();
  bool isPrepared() const;
  void exec();
  void open();
  bool next();
  bool eof() const { return !m_hasRow; }
  bool isOpen() const;
  void close() noexcept;
  // Frees the prepared statement (the next exec()/open() prepares again).
  void unprepare() noexcept;

  // Rows changed by the last exec() of INSERT, UPDATE, DELETE, MERGE or
  // UPDATE OR INSERT (0 for other statements).
  qint64 rowsAffected() const { return m_rowsAffected; }

  int fieldCount() const;
  QStringList fieldNames() const;
  int fieldIndex(const QString& name) const;  // -1 when absent
  // A DbError when there is no such column.
  Field field(const QString& name) const;
  Field field(int index) const;
  Field operator[](const QString& name) const { return field(name); }

 private:
  friend class Field;
  friend class Transaction;
  friend class Database;
  struct Impl;
  void releaseForDisconnect() noexcept;
  void requireRow() const;

  Transaction* m_tr;
  Database* m_db;
  QString m_sql;
  bool m_hasRow = false;
  qint64 m_rowsAffected = 0;
  std::unique_ptr<Impl> d;
};

}  // namespace db
