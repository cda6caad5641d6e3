#include "db/Query.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <ibase.h>
#include <limits>
#include <utility>
#include <variant>
#include <vector>

#include <QMap>

#include "db/Database.h"
#include "db/FbApi.h"
#include "db/Transaction.h"

using namespace Firebird;

namespace db {

namespace {

// Firebird counts days from 1858-11-17; TDateTime from 1899-12-30.
constexpr int FbDateOffset = 15018;
constexpr double FbTimeUnitsPerDay = 86400.0 * ISC_TIME_SECONDS_PRECISION;

qint64 pow10(int n)
{
  qint64 r = 1;
  while (n-- > 0)
    r *= 10;
  return r;
}

// value * 10^shift, rounded half away from zero when shift < 0.
qint64 rescale(qint64 value, int shift)
{
  if (shift >= 0)
    return value * pow10(shift);
  const qint64 div = pow10(-shift);
  qint64 q = value / div;
  const qint64 r = value % div;
  if (2 * (r < 0 ? -r : r) >= div)
    q += value < 0 ? -1 : 1;
  return q;
}

QString scaledToString(qint64 value, int scale)
{
  if (scale >= 0)
    return QString::number(value * pow10(scale));
  const qint64 div = pow10(-scale);
  const bool neg = value < 0;
  const quint64 a = neg ? quint64(0) - quint64(value) : quint64(value);
  QString frac = QString::number(a % quint64(div)).rightJustified(-scale, QLatin1Char('0'));
  while (frac.endsWith(QLatin1Char('0')))
    frac.chop(1);
  QString s = QString::number(a / quint64(div));
  if (!frac.isEmpty())
    s += QLatin1Char('.') + frac;
  return neg ? QLatin1Char('-') + s : s;
}

struct CurrencyValue {
  qint64 raw;
};
struct DateTimeValue {
  double value;
};
struct NullValue {};
using Value = std::variant<NullValue, QString, qint32, qint64, double, CurrencyValue, bool, QByteArray, DateTimeValue>;

struct Column {
  QString name;
  unsigned type = 0;
  int subType = 0;
  int scale = 0;
  unsigned charset = 0;
  unsigned length = 0;
  unsigned offset = 0;
  unsigned nullOffset = 0;
};

bool isIdentChar(QChar c)
{
  return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

}  // namespace

struct Query::Impl {
  bool paramCheck = true;
  QString processed;       // SQL text sent to the server
  QStringList positional;  // parameter name per "?" position
  QStringList names;       // distinct names, first appearance order
  QMap<QString, Value> values;

  fb::Ref<IStatement> stmt;
  fb::Ref<IResultSet> rs;
  fb::Ref<IMessageMetadata> outMeta;
  unsigned stmtType = 0;
  std::vector<Column> cols;
  std::vector<unsigned char> row;

  void parse(const QString& sql)
  {
    processed.clear();
    positional.clear();
    names.clear();
    if (!paramCheck) {
      processed = sql;
      return;
    }
    const int n = sql.size();
    int i = 0;
    while (i < n) {
      const QChar c = sql[i];
      if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
        int j = i + 1;
        while (j < n) {
          if (sql[j] == c) {
            if (j + 1 < n && sql[j + 1] == c) {
              j += 2;
              continue;
            }
            break;
          }
          ++j;
        }
        processed += sql.mid(i, j + 1 - i);
        i = j + 1;
      } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
        int j = sql.indexOf(QLatin1Char('\n'), i);
        if (j < 0)
          j = n;
        processed += sql.mid(i, j - i);
        i = j;
      } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
        int j = sql.indexOf(QLatin1String("*/"), i + 2);
        j = j < 0 ? n : j + 2;
        processed += sql.mid(i, j - i);
        i = j;
      } else if (c == QLatin1Char(':') && i + 1 < n && isIdentChar(sql[i + 1])) {
        int j = i + 1;
        while (j < n && isIdentChar(sql[j]))
          ++j;
        const QString name = sql.mid(i + 1, j - i - 1).toUpper();
        positional << name;
        if (!names.contains(name))
          names << name;
        processed += QLatin1Char('?');
        i = j;
      } else {
        processed += c;
        ++i;
      }
    }
  }

  void closeCursor() noexcept
  {
    if (!rs)
      return;
    try {
      fb::Status st;
      rs->close(&st);
      if (!st.failed())
        rs.released();
    } catch (...) {
      // Nothing is lost: only the status object could fail here (no
      // memory); the cursor is dropped below and ends with its transaction.
    }
    rs.reset();
  }

  void freeStatement() noexcept
  {
    closeCursor();
    outMeta.reset();
    if (stmt) {
      try {
        fb::Status st;
        stmt->free(&st);
        if (!st.failed())
          stmt.released();
      } catch (...) {
        // Nothing is lost: only the status object could fail here (no
        // memory); the statement is dropped below and ends with its connection.
      }
      stmt.reset();
    }
    cols.clear();
    row.clear();
  }

  const Value& valueOf(const QString& name) const
  {
    static const Value null;
    auto it = values.constFind(name);
    return it == values.constEnd() ? null : *it;
  }
};

// ---------------------------------------------------------------- Query

Query::Query(Transaction& tr) : m_tr(&tr), m_db(tr.m_db), d(std::make_unique<Impl>())
{
  m_tr->registerQuery(this);
}

Query::Query(Transaction& tr, const QString& sql) : Query(tr)
{
  setSql(sql);
}

Query::Query(Transaction& tr, Database& db) : m_tr(&tr), m_db(&db), d(std::make_unique<Impl>())
{
  m_tr->addDatabase(db);
  m_tr->registerQuery(this);
}

Query::Query(Transaction& tr, Database& db, const QString& sql) : Query(tr, db)
{
  setSql(sql);
}

Query::~Query()
{
  if (d)
    d->freeStatement();
  if (m_tr)
    m_tr->unregisterQuery(this);
}

Query::Query(Query&& other)
    : m_tr(std::exchange(other.m_tr, nullptr)),
      m_db(std::exchange(other.m_db, nullptr)),
      m_sql(std::move(other.m_sql)),
      m_hasRow(std::exchange(other.m_hasRow, false)),
      m_rowsAffected(std::exchange(other.m_rowsAffected, 0)),
      d(std::exchange(other.d, std::make_unique<Impl>()))
{
  if (m_tr)
    m_tr->replaceQuery(&other, this);
}

Query& Query::operator=(Query&& other)
{
  if (this == &other)
    return *this;
  auto fresh = std::make_unique<Impl>();
  d->freeStatement();
  if (m_tr)
    m_tr->unregisterQuery(this);
  m_tr = std::exchange(other.m_tr, nullptr);
  m_db = std::exchange(other.m_db, nullptr);
  m_sql = std::move(other.m_sql);
  m_hasRow = std::exchange(other.m_hasRow, false);
  m_rowsAffected = std::exchange(other.m_rowsAffected, 0);
  d = std::exchange(other.d, std::move(fresh));
  if (m_tr)
    m_tr->replaceQuery(&other, this);
  return *this;
}

Transaction& Query::transaction() const
{
  if (!m_tr)
    throw DbError(
        QStringLiteral("The query's transaction was destroyed or moved; the query cannot be used: %1").arg(m_sql));
  return *m_tr;
}

void Query::setSql(const QString& sql)
{
  unprepare();
  m_sql = sql;
  d->values.clear();
  d->parse(sql);
}

void Query::setParamCheck(bool on)
{
  if (d->paramCheck == on)
    return;
  unprepare();
  d->paramCheck = on;
  d->parse(m_sql);
}

QString Query::processedSql() const
{
  return d->processed;
}

QStringList Query::paramNames() const
{
  return d->names;
}

bool Query::hasParam(const QString& name) const
{
  return d->names.contains(name.toUpper());
}

namespace {
QString paramKey(const Query& q, const QString& name)
{
  const QString key = name.toUpper();
  if (!q.hasParam(key))
    throw DbError(QStringLiteral("Parameter \"%1\" not found in: %2").arg(name, q.sql()));
  return key;
}
}  // namespace

void Query::setParam(const QString& name, const QString& value)
{
  d->values[paramKey(*this, name)] = value;
}
void Query::setParam(const QString& name, int value)
{
  d->values[paramKey(*this, name)] = qint32(value);
}
void Query::setParam(const QString& name, qint64 value)
{
  d->values[paramKey(*this, name)] = value;
}
void Query::setParam(const QString& name, double value)
{
  d->values[paramKey(*this, name)] = value;
}
void Query::setParam(const QString& name, const Currency& value)
{
  d->values[paramKey(*this, name)] = CurrencyValue{value.raw()};
}
void Query::setParam(const QString& name, bool value)
{
  d->values[paramKey(*this, name)] = value;
}
void Query::setParam(const QString& name, const QByteArray& bytes)
{
  d->values[paramKey(*this, name)] = bytes;
}
void Query::setParamDateTime(const QString& name, TDateTime value)
{
  d->values[paramKey(*this, name)] = DateTimeValue{value};
}
void Query::setParamNull(const QString& name)
{
  d->values[paramKey(*this, name)] = NullValue{};
}
void Query::clearParams()
{
  d->values.clear();
}

bool Query::isPrepared() const
{
  return bool(d->stmt);
}

namespace {
ITransaction* activeHandle(Transaction* tr, Database* db)
{
  if (!tr)
    throw DbError(QStringLiteral("The query's transaction was destroyed or moved; the query cannot be used"));
  if (!db)
    throw DbError(QStringLiteral("The query's database was destroyed; the query cannot be used"));
  if (!db->isConnected())
    throw DbError(QStringLiteral("Database is not connected: %1").arg(db->databaseName()));
  if (!tr->inTransaction())
    throw DbError(QStringLiteral("Transaction is not active"));
  return tr->handle();
}
}  // namespace

void Query::prepare()
{
  if (d->stmt)
    return;
  ITransaction* tra = activeHandle(m_tr, m_db);
  if (d->processed.trimmed().isEmpty())
    throw DbError(QStringLiteral("Empty SQL statement"));
  fb::Status st;
  IAttachment* att = m_db->attachment();
  const QByteArray text = d->processed.toUtf8();
  d->stmt.reset(att->prepare(&st, tra, text.size(), text.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA));
  st.check();
  IStatement* stmt = d->stmt.get();
  try {
    d->stmtType = stmt->getType(&st);
    st.check();
    d->outMeta.reset(stmt->getOutputMetadata(&st));
    st.check();
    IMessageMetadata* out = d->outMeta.get();
    const unsigned count = out->getCount(&st);
    st.check();
    d->cols.resize(count);
    for (unsigned i = 0; i < count; ++i) {
      Column& c = d->cols[i];
      const char* alias = out->getAlias(&st, i);
      st.check();
      c.name = QString::fromUtf8(alias);
      if (c.name.isEmpty()) {
        c.name = QString::fromUtf8(out->getField(&st, i));
        st.check();
      }
      c.type = out->getType(&st, i) & ~1u;
      c.subType = out->getSubType(&st, i);
      c.scale = out->getScale(&st, i);
      c.charset = out->getCharSet(&st, i);
      c.length = out->getLength(&st, i);
      c.offset = out->getOffset(&st, i);
      c.nullOffset = out->getNullOffset(&st, i);
      st.check();
    }
    d->row.assign(out->getMessageLength(&st), 0);
    st.check();
    if (count == 0)
      d->row.clear();
  } catch (...) {
    d->freeStatement();  // no half-prepared statement stays; the error goes on
    throw;
  }
}

void Query::unprepare() noexcept
{
  m_hasRow = false;
  d->freeStatement();
}

namespace {

// Builds the input message: our own metadata made from the values, so that
// the server converts each value into the parameter's declared type.
struct InputMessage {
  fb::Ref<IMessageMetadata> meta;
  std::vector<unsigned char> buffer;
};

void putBlob(IAttachment* att, ITransaction* tra, ISC_QUAD* id, const QByteArray& data)
{
  fb::Status st;
  fb::Ref<IBlob> blob(att->createBlob(&st, tra, id, 0, nullptr));
  st.check();
  for (qsizetype pos = 0; pos < data.size();) {
    const unsigned chunk = unsigned(qMin<qsizetype>(32768, data.size() - pos));
    blob->putSegment(&st, chunk, data.constData() + pos);
    if (st.failed()) {
      DbError e = st.error();
      fb::Status st2;
      blob->cancel(&st2);
      if (!st2.failed())
        blob.released();
      throw e;
    }
    pos += chunk;
  }
  blob->close(&st);
  st.check();
  blob.released();
}

}  // namespace

namespace {
void buildInputImpl(IStatement* stmt, const QStringList& positional,
                    const std::function<const Value&(const QString&)>& valueOf, IAttachment* att, ITransaction* tra,
                    InputMessage& msg);
}

void Query::exec()
{
  prepare();
  ITransaction* tra = activeHandle(m_tr, m_db);
  IAttachment* att = m_db->attachment();
  d->closeCursor();
  m_hasRow = false;
  m_rowsAffected = 0;

  InputMessage in;
  buildInputImpl(
      d->stmt.get(), d->positional, [this](const QString& n) -> const Value& { return d->valueOf(n); }, att, tra, in);

  fb::Status st;
  if (d->stmtType == isc_info_sql_stmt_select || d->stmtType == isc_info_sql_stmt_select_for_upd) {
    d->rs.reset(d->stmt->openCursor(&st, tra, in.meta.get(), in.buffer.empty() ? nullptr : in.buffer.data(),
                                    d->outMeta.get(), 0));
    st.check();
    next();
    return;
  }
  const bool hasOut = !d->cols.empty();
  d->stmt->execute(&st, tra, in.meta.get(), in.buffer.empty() ? nullptr : in.buffer.data(),
                   hasOut ? d->outMeta.get() : nullptr, hasOut ? d->row.data() : nullptr);
  st.check();
  m_hasRow = hasOut;
  if (d->stmtType != isc_info_sql_stmt_ddl) {
    // INSERT, UPDATE, DELETE, MERGE, UPDATE OR INSERT (also with RETURNING).
    const ISC_UINT64 n = d->stmt->getAffectedRecords(&st);
    st.check();
    m_rowsAffected = qint64(n);
  }
}

void Query::open()
{
  prepare();
  if (d->cols.empty())
    throw DbError(QStringLiteral("Statement returns no columns: %1").arg(m_sql));
  exec();
}

bool Query::next()
{
  if (!d->rs) {
    m_hasRow = false;
    return false;
  }
  fb::Status st;
  const int r = d->rs->fetchNext(&st, d->row.data());
  st.check();
  m_hasRow = (r == IStatus::RESULT_OK);
  if (!m_hasRow)
    d->closeCursor();
  return m_hasRow;
}

bool Query::isOpen() const
{
  return bool(d->rs);
}

void Query::close() noexcept
{
  d->closeCursor();
  m_hasRow = false;
}

void Query::releaseForDisconnect() noexcept
{
  m_hasRow = false;
  d->freeStatement();
}

void Query::requireRow() const
{
  if (!m_hasRow)
    throw DbError(QStringLiteral("No current row: %1").arg(m_sql));
}

int Query::fieldCount() const
{
  return int(d->cols.size());
}

QStringList Query::fieldNames() const
{
  QStringList r;
  for (const Column& c : d->cols)
    r << c.name;
  return r;
}

int Query::fieldIndex(const QString& name) const
{
  for (size_t i = 0; i < d->cols.size(); ++i)
    if (d->cols[i].name == name)
      return int(i);
  for (size_t i = 0; i < d->cols.size(); ++i)
    if (d->cols[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return int(i);
  return -1;
}

Field Query::field(const QString& name) const
{
  const int i = fieldIndex(name);
  if (i < 0)
    throw DbError(QStringLiteral("Field \"%1\" not found in: %2").arg(name, m_sql));
  return Field(this, i);
}

Field Query::field(int index) const
{
  if (index < 0 || index >= int(d->cols.size()))
    throw DbError(QStringLiteral("Field index %1 out of range in: %2").arg(index).arg(m_sql));
  return Field(this, index);
}

// ------------------------------------------------------------ input message

namespace {
void buildInputImpl(IStatement* stmt, const QStringList& positional,
                    const std::function<const Value&(const QString&)>& valueOf, IAttachment* att, ITransaction* tra,
                    InputMessage& msg)
{
  fb::Status st;
  fb::Ref<IMessageMetadata> declared(stmt->getInputMetadata(&st));
  st.check();
  const unsigned count = declared->getCount(&st);
  st.check();
  if (count == 0)
    return;
  if (int(count) != positional.size())
    throw DbError(QStringLiteral("Parameter count mismatch: %1 declared, %2 named").arg(count).arg(positional.size()));

  fb::Ref<IMetadataBuilder> b(declared->getBuilder(&st));
  st.check();
  std::vector<unsigned> declType(count);
  std::vector<QByteArray> text(count);  // encoded strings for VARCHAR slots
  for (unsigned i = 0; i < count; ++i) {
    const unsigned t = declared->getType(&st, i) & ~1u;
    st.check();
    declType[i] = t;
    const Value& v = valueOf(positional[int(i)]);
    auto setVarying = [&](const QByteArray& bytes, unsigned cs) {
      if (bytes.size() > 32765)
        throw DbError(QStringLiteral("Parameter \"%1\" is too long for a text parameter (%2 bytes); use a BLOB")
                          .arg(positional[int(i)])
                          .arg(bytes.size()));
      text[i] = bytes;
      b->setType(&st, i, SQL_VARYING);
      st.check();
      b->setLength(&st, i, unsigned(qMax<qsizetype>(1, bytes.size())));
      st.check();
      b->setCharSet(&st, i, cs);
      st.check();
      b->setSubType(&st, i, 0);
      b->setScale(&st, i, 0);
      st.check();
    };
    auto setNumeric = [&](unsigned type, unsigned len, int scale) {
      b->setType(&st, i, type);
      st.check();
      b->setLength(&st, i, len);
      st.check();
      b->setScale(&st, i, scale);
      b->setSubType(&st, i, 0);
      st.check();
    };
    if (std::holds_alternative<NullValue>(v))
      continue;  // keep the declared type, flagged NULL
    if (t == SQL_BLOB)
      continue;  // blob id of the declared subtype, filled below
    if (const QString* s = std::get_if<QString>(&v))
      setVarying(s->toUtf8(), fb::CsUtf8);
    else if (const QByteArray* ba = std::get_if<QByteArray>(&v))
      setVarying(*ba, fb::CsNone);
    else if (std::holds_alternative<qint32>(v))
      setNumeric(SQL_LONG, sizeof(ISC_LONG), 0);
    else if (std::holds_alternative<qint64>(v))
      setNumeric(SQL_INT64, sizeof(ISC_INT64), 0);
    else if (std::holds_alternative<double>(v))
      setNumeric(SQL_DOUBLE, sizeof(double), 0);
    else if (std::holds_alternative<CurrencyValue>(v))
      setNumeric(SQL_INT64, sizeof(ISC_INT64), -4);
    else if (std::holds_alternative<bool>(v)) {
      if (t == SQL_BOOLEAN)
        setNumeric(SQL_BOOLEAN, 1, 0);
      else
        setNumeric(SQL_SHORT, sizeof(short), 0);
    } else if (std::holds_alternative<DateTimeValue>(v))
      setNumeric(SQL_TIMESTAMP, sizeof(ISC_TIMESTAMP), 0);
  }
  msg.meta.reset(b->getMetadata(&st));
  st.check();
  IMessageMetadata* m = msg.meta.get();
  msg.buffer.assign(m->getMessageLength(&st), 0);
  st.check();
  unsigned char* buf = msg.buffer.data();
  for (unsigned i = 0; i < count; ++i) {
    const Value& v = valueOf(positional[int(i)]);
    const unsigned off = m->getOffset(&st, i);
    const unsigned nullOff = m->getNullOffset(&st, i);
    const unsigned type = m->getType(&st, i) & ~1u;
    st.check();
    short* nullFlag = reinterpret_cast<short*>(buf + nullOff);
    unsigned char* p = buf + off;
    if (std::holds_alternative<NullValue>(v)) {
      *nullFlag = -1;
      continue;
    }
    *nullFlag = 0;
    if (type == SQL_BLOB) {
      QByteArray data;
      if (const QString* s = std::get_if<QString>(&v))
        data = s->toUtf8();
      else if (const QByteArray* ba = std::get_if<QByteArray>(&v))
        data = *ba;
      else if (const qint32* n = std::get_if<qint32>(&v))
        data = QByteArray::number(*n);
      else if (const qint64* n = std::get_if<qint64>(&v))
        data = QByteArray::number(*n);
      else if (const double* n = std::get_if<double>(&v))
        data = QByteArray::number(*n, 'g', 17);
      else if (const CurrencyValue* c = std::get_if<CurrencyValue>(&v))
        data = scaledToString(c->raw, -4).toUtf8();
      else if (const bool* bv = std::get_if<bool>(&v))
        data = *bv ? "1" : "0";
      else
        throw DbError(QStringLiteral("A date cannot be stored in a BLOB parameter"));
      ISC_QUAD id{};
      putBlob(att, tra, &id, data);
      std::memcpy(p, &id, sizeof id);
      continue;
    }
    switch (type) {
      case SQL_VARYING: {
        const QByteArray& bytes = text[i];
        const unsigned short len = (unsigned short)bytes.size();
        std::memcpy(p, &len, sizeof len);
        std::memcpy(p + sizeof len, bytes.constData(), len);
        break;
      }
      case SQL_LONG: {
        const ISC_LONG n = std::get<qint32>(v);
        std::memcpy(p, &n, sizeof n);
        break;
      }
      case SQL_INT64: {
        const ISC_INT64 n =
            std::holds_alternative<CurrencyValue>(v) ? std::get<CurrencyValue>(v).raw : std::get<qint64>(v);
        std::memcpy(p, &n, sizeof n);
        break;
      }
      case SQL_DOUBLE: {
        const double n = std::get<double>(v);
        std::memcpy(p, &n, sizeof n);
        break;
      }
      case SQL_BOOLEAN:
        *p = std::get<bool>(v) ? FB_TRUE : FB_FALSE;
        break;
      case SQL_SHORT: {
        const short n = std::get<bool>(v) ? 1 : 0;
        std::memcpy(p, &n, sizeof n);
        break;
      }
      case SQL_TIMESTAMP: {
        const double dt = std::get<DateTimeValue>(v).value;
        double dayPart = std::floor(dt);
        double frac = dt - dayPart;
        if (dt < 0 && frac != 0) {
          // Negative TDateTime: integer part is the day, |fraction| the time.
          dayPart = std::ceil(dt);
          frac = dayPart - dt;
        }
        ISC_TIMESTAMP ts;
        qint64 units = qint64(std::llround(frac * FbTimeUnitsPerDay));
        qint64 day = qint64(dayPart);
        if (units >= qint64(FbTimeUnitsPerDay)) {
          units -= qint64(FbTimeUnitsPerDay);
          day += 1;
        }
        ts.timestamp_date = ISC_DATE(day + FbDateOffset);
        ts.timestamp_time = ISC_TIME(units);
        std::memcpy(p, &ts, sizeof ts);
        break;
      }
      default:
        throw DbError(QStringLiteral("Unsupported parameter type %1").arg(type));
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- Field

namespace {

struct Cell {
  const Column* col;
  const unsigned char* data;
  bool null;
};

}  // namespace

QString Field::name() const
{
  return m_q->d->cols[size_t(m_index)].name;
}

bool Field::isNull() const
{
  m_q->requireRow();
  const Column& c = m_q->d->cols[size_t(m_index)];
  short n;
  std::memcpy(&n, m_q->d->row.data() + c.nullOffset, sizeof n);
  return n != 0;
}

namespace {

QByteArray readBlob(IAttachment* att, ITransaction* tra, const unsigned char* idPtr)
{
  ISC_QUAD id;
  std::memcpy(&id, idPtr, sizeof id);
  fb::Status st;
  fb::Ref<IBlob> blob(att->openBlob(&st, tra, &id, 0, nullptr));
  st.check();
  QByteArray out;
  char buf[32768];
  for (;;) {
    unsigned len = 0;
    const int r = blob->getSegment(&st, sizeof buf, buf, &len);
    st.check();
    if (r == IStatus::RESULT_NO_DATA)
      break;
    out.append(buf, qsizetype(len));
  }
  blob->close(&st);
  if (!st.failed())
    blob.released();
  return out;
}

qint64 intValue(const Column& c, const unsigned char* p, int* scaleOut)
{
  *scaleOut = c.scale;
  switch (c.type) {
    case SQL_SHORT: {
      short v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case SQL_LONG: {
      ISC_LONG v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    case SQL_INT64: {
      ISC_INT64 v;
      std::memcpy(&v, p, sizeof v);
      return v;
    }
    default:
      return 0;
  }
}

bool isInteger(unsigned t)
{
  return t == SQL_SHORT || t == SQL_LONG || t == SQL_INT64;
}
bool isFloat(unsigned t)
{
  return t == SQL_FLOAT || t == SQL_DOUBLE || t == SQL_D_FLOAT;
}

double floatValue(const Column& c, const unsigned char* p)
{
  if (c.type == SQL_FLOAT) {
    float v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  double v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

double toTDateTime(ISC_DATE date, ISC_TIME time)
{
  const double day = double(qint64(date) - FbDateOffset);
  const double t = double(time) / FbTimeUnitsPerDay;
  return day >= 0 ? day + t : day - t;
}

}  // namespace

QByteArray Field::asBytes() const
{
  if (isNull())
    return {};
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  switch (c.type) {
    case SQL_TEXT:
      return QByteArray(reinterpret_cast<const char*>(p), qsizetype(c.length));
    case SQL_VARYING: {
      unsigned short len;
      std::memcpy(&len, p, sizeof len);
      return QByteArray(reinterpret_cast<const char*>(p + sizeof len), len);
    }
    case SQL_BLOB: {
      ITransaction* tra = activeHandle(m_q->m_tr, m_q->m_db);
      return readBlob(m_q->m_db->attachment(), tra, p);
    }
    default:
      return asString().toUtf8();
  }
}

QString Field::asString() const
{
  if (isNull())
    return QString();
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  if (isInteger(c.type)) {
    int scale;
    const qint64 v = intValue(c, p, &scale);
    return scaledToString(v, scale);
  }
  if (isFloat(c.type))
    return QString::number(floatValue(c, p), 'g', c.type == SQL_FLOAT ? 7 : 15);
  switch (c.type) {
    case SQL_TEXT: {
      QString s = fb::decodeText(asBytes(), c.charset);
      // CHAR(n) in a multi-byte set comes padded to n * bytes-per-char: keep n characters.
      if (c.charset == fb::CsUtf8 || c.charset == fb::CsUnicodeFss) {
        const int maxChars = int(c.length / (c.charset == fb::CsUtf8 ? 4 : 3));
        const QList<uint> cps = s.toUcs4();
        if (cps.size() > maxChars)
          s = QString::fromUcs4(reinterpret_cast<const char32_t*>(cps.constData()), maxChars);
      }
      return s;
    }
    case SQL_VARYING:
      return fb::decodeText(asBytes(), c.charset);
    case SQL_BLOB:
      return fb::decodeText(asBytes(), c.subType == isc_blob_text ? c.charset : fb::CsNone);
    case SQL_BOOLEAN:
      return *p ? QStringLiteral("True") : QStringLiteral("False");
    case SQL_TYPE_DATE: {
      ISC_DATE dv;
      std::memcpy(&dv, p, sizeof dv);
      return ToQDate(toTDateTime(dv, 0)).toString(QStringLiteral("yyyy/MM/dd"));
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts;
      std::memcpy(&ts, p, sizeof ts);
      return ToQDateTime(toTDateTime(ts.timestamp_date, ts.timestamp_time))
          .toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    }
    case SQL_TYPE_TIME: {
      ISC_TIME tv;
      std::memcpy(&tv, p, sizeof tv);
      return ToQTime(toTDateTime(FbDateOffset, tv)).toString(QStringLiteral("hh:mm:ss"));
    }
    default:
      throw DbError(QStringLiteral("Unsupported column type %1 of \"%2\"").arg(c.type).arg(c.name));
  }
}

qint64 Field::asInt64() const
{
  if (isNull())
    return 0;
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  if (isInteger(c.type)) {
    int scale;
    const qint64 v = intValue(c, p, &scale);
    return rescale(v, scale);
  }
  if (isFloat(c.type))
    return qint64(std::llround(floatValue(c, p)));
  if (c.type == SQL_BOOLEAN)
    return *p ? 1 : 0;
  if (c.type == SQL_TEXT || c.type == SQL_VARYING) {
    bool ok = false;
    const qint64 v = asString().trimmed().toLongLong(&ok);
    if (ok)
      return v;
    throw DbError(QStringLiteral("\"%1\" is not an integer (field %2)").arg(asString(), c.name));
  }
  throw DbError(QStringLiteral("Field %1 cannot be read as an integer").arg(c.name));
}

int Field::asInt() const
{
  return int(asInt64());
}

double Field::asDouble() const
{
  if (isNull())
    return 0;
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  if (isInteger(c.type)) {
    int scale;
    const qint64 v = intValue(c, p, &scale);
    return scale >= 0 ? double(v) * double(pow10(scale)) : double(v) / double(pow10(-scale));
  }
  if (isFloat(c.type))
    return floatValue(c, p);
  if (c.type == SQL_BOOLEAN)
    return *p ? 1 : 0;
  if (c.type == SQL_TEXT || c.type == SQL_VARYING) {
    bool ok = false;
    const double v = asString().trimmed().toDouble(&ok);
    if (ok)
      return v;
  }
  throw DbError(QStringLiteral("Field %1 cannot be read as a number").arg(c.name));
}

Currency Field::asCurrency() const
{
  if (isNull())
    return Currency();
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  if (isInteger(c.type)) {
    int scale;
    const qint64 v = intValue(c, p, &scale);
    // raw = v * 10^(scale + 4)
    if (scale + 4 > 0) {
      const qint64 f = pow10(scale + 4);
      if (v != 0 && (v > std::numeric_limits<qint64>::max() / f || v < std::numeric_limits<qint64>::min() / f))
        throw DbError(QStringLiteral("Value of %1 out of the amount range").arg(c.name));
      return Currency::fromRaw(v * f);
    }
    return Currency::fromRaw(rescale(v, scale + 4));
  }
  if (isFloat(c.type))
    return Currency::fromDouble(floatValue(c, p));
  if (c.type == SQL_TEXT || c.type == SQL_VARYING) {
    if (auto v = Currency::tryFromString(asString()))
      return *v;
  }
  throw DbError(QStringLiteral("Field %1 cannot be read as an amount").arg(c.name));
}

TDateTime Field::asDateTime() const
{
  if (isNull())
    return 0;
  const Column& c = m_q->d->cols[size_t(m_index)];
  const unsigned char* p = m_q->d->row.data() + c.offset;
  switch (c.type) {
    case SQL_TYPE_DATE: {
      ISC_DATE dv;
      std::memcpy(&dv, p, sizeof dv);
      return toTDateTime(dv, 0);
    }
    case SQL_TIMESTAMP: {
      ISC_TIMESTAMP ts;
      std::memcpy(&ts, p, sizeof ts);
      return toTDateTime(ts.timestamp_date, ts.timestamp_time);
    }
    case SQL_TYPE_TIME: {
      ISC_TIME tv;
      std::memcpy(&tv, p, sizeof tv);
      return double(tv) / FbTimeUnitsPerDay;
    }
    default:
      if (isFloat(c.type))
        return floatValue(c, p);
      throw DbError(QStringLiteral("Field %1 cannot be read as a date").arg(c.name));
  }
}

bool Field::asBool() const
{
  if (isNull())
    return false;
  const Column& c = m_q->d->cols[size_t(m_index)];
  if (c.type == SQL_BOOLEAN)
    return *(m_q->d->row.data() + c.offset) != 0;
  return asInt64() != 0;
}

}  // namespace db
