#pragma once
#include <stdexcept>

#include <QByteArray>
#include <QString>

// The one base of the system's own errors: a message as a QString; what()
// gives it as UTF-8. The families below it: EPlatformError (platform/: a
// conversion, an INI file, a safe save, a Japanese code), db::DbError (the
// database layer, with the Firebird status code and SQLSTATE),
// EFileStreamError (common/), EXmlSaveDocError and EDataExportError (the
// export), fixtures::FixtureError. EAbort (platform/Abort.h) is not an
// error: it is the silent abort and stays outside this family.
class EAppError : public std::runtime_error {
 public:
  explicit EAppError(const QString& message);
  const char* what() const noexcept override { return FWhat.constData(); }
  const QString& message() const noexcept { return FMessage; }

 protected:
  // For errors that add context to their message after construction.
  void setMessage(const QString& message);

 private:
  QString FMessage;
  QByteArray FWhat;
};

// Inside a catch block: the text of the exception being handled (an
// EAppError's message, another exception's what(), a fixed text for
// anything else).
QString fnCurrentExceptionText();

// Inside a catch block whose code goes on without the error (a clean-up
// after an error already reported, a destructor, a documented fallback
// value): writes the reason with qWarning as "<where>: <text>" so that
// nothing is dropped unseen. Never throws.
void pcLogDroppedError(const char* where) noexcept;
