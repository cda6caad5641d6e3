#include "platform/AppError.h"

#include <exception>

#include <QtGlobal>

#include "platform/Abort.h"

EAppError::EAppError(const QString& message)
    : std::runtime_error(message.toStdString()), FMessage(message), FWhat(message.toUtf8())
{
}

void EAppError::setMessage(const QString& message)
{
  FMessage = message;
  FWhat = message.toUtf8();
}

QString fnCurrentExceptionText()
{
  if (!std::current_exception())
    return QString();
  try {
    throw;
  } catch (const EAppError& e) {
    return e.message();
  } catch (const EAbort& e) {
    return QString::fromUtf8(e.what());
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    // Not an exception of ours or of the standard library: nothing more to tell.
    return QStringLiteral("unknown exception");
  }
}

void pcLogDroppedError(const char* where) noexcept
{
  try {
    qWarning("%s: %s", where, qPrintable(fnCurrentExceptionText()));
  } catch (...) {
    // Only the text could fail here (no memory); logging never throws.
  }
}
