#pragma once
#include "db/Query.h"

namespace db {

// Executes a stored procedure by name with named inputs and reads its
// output row: "EXECUTE PROCEDURE NAME(:IN1, :IN2 ...)" built from the
// procedure's declared input parameters, so callers set only the inputs they
// need (others are NULL). Selectable procedures are read with a Query
// ("SELECT ... FROM PROC(:A)").
//
//     db::StoredProc sp(tr, "SP_SETEVENT");
//     sp.setParam("EVENTNO", 1);
//     sp.execute();
//     sp.field("OUTVALUE").asInt();
class StoredProc {
 public:
  StoredProc(Transaction& tr, const QString& procName);
  // Movable, not copyable (as its Query).
  StoredProc(StoredProc&&) = default;
  StoredProc& operator=(StoredProc&&) = default;
  StoredProc(const StoredProc&) = delete;
  StoredProc& operator=(const StoredProc&) = delete;

  QString procName() const { return m_name; }
  // Declared input parameter names in order (read on first use).
  QStringList inputNames();

  template <typename T>
  void setParam(const QString& name, const T& value)
  {
    prepareText();
    m_query.setParam(name, value);
  }
  void setParamDateTime(const QString& name, TDateTime value)
  {
    prepareText();
    m_query.setParamDateTime(name, value);
  }
  void setParamNull(const QString& name)
  {
    prepareText();
    m_query.setParamNull(name);
  }

  void execute();
  Field field(const QString& name) const { return m_query.field(name); }
  QStringList fieldNames() const { return m_query.fieldNames(); }
  Query& query() { return m_query; }

 private:
  void prepareText();
  QString m_name;
  QStringList m_inputs;
  bool m_ready = false;
  Query m_query;
};

}  // namespace db
