#pragma once
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, removed with the object.
class TestTempDir {
 public:
  TestTempDir() : m_dir(QDir_tempTemplate()) { m_dir.setAutoRemove(true); }
  QString path() const { return m_dir.path(); }
  QString file(const QString& name) const { return m_dir.filePath(name); }
  bool isValid() const { return m_dir.isValid(); }

 private:
  static QString QDir_tempTemplate();
  QTemporaryDir m_dir;
};
