#pragma once
#include <stdexcept>

#include <QString>

// Base of the platform layer's own errors: carries the message as a QString
// (what() gives it as UTF-8).
class EPlatformError : public std::runtime_error {
 public:
  explicit EPlatformError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
  const QString& message() const noexcept { return m_message; }

 private:
  QString m_message;
};

// A text that cannot be read as a number, date or amount, or a value out of range.
class EConvertError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// An amount or date computation left the representable range.
class EOverflowError : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};
