// A damaged copy of a database file for the validation tests: one data page
// of a user table gets the page type of an index page, which a full
// validation reports as a page error while the database still opens.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace dmtest {

// Copies `source` to `target` and damages the copy. Returns the number of
// the (first) page damaged, or -1 when no data page of a user table was
// found (or a file could not be copied or written). With `everyPage` every
// data page of every user table is damaged: the database still opens, but
// no table of the company data can be read.
inline qint64 makeDamagedCopy(const QString& source, const QString& target, bool everyPage = false)
{
  QFile::remove(target);
  if (!QFile::copy(source, target))
    return -1;
  QFile f(target);
  if (!f.open(QIODevice::ReadWrite))
    return -1;
  QByteArray bytes = f.readAll();
  // The header page: page size at offset 16.
  if (bytes.size() < 18)
    return -1;
  const int pageSize = qFromLittleEndian<quint16>(bytes.constData() + 16);
  if (pageSize < 1024)
    return -1;
  constexpr char kDataPage = 5;
  constexpr char kIndexPage = 7;
  constexpr quint16 kFirstUserRelation = 128;
  qint64 first = -1;
  for (qint64 page = 1; (page + 1) * pageSize <= bytes.size(); ++page) {
    const char* p = bytes.constData() + page * pageSize;
    // A data page: type, then (after the 16-byte header) its sequence,
    // relation and record count.
    if (p[0] != kDataPage)
      continue;
    const quint16 relation = qFromLittleEndian<quint16>(p + 20);
    const quint16 count = qFromLittleEndian<quint16>(p + 22);
    if (relation < kFirstUserRelation || count == 0)
      continue;
    bytes[page * pageSize] = kIndexPage;
    if (!f.seek(page * pageSize) || f.write(bytes.constData() + page * pageSize, 1) != 1)
      return -1;
    if (first < 0)
      first = page;
    if (!everyPage)
      break;
  }
  f.close();
  return first;
}

}  // namespace dmtest
