#pragma once
#include <QString>

#include "platform/AppError.h"

// Base of the platform layer's own errors (an EAppError: the message as a
// QString, what() as UTF-8).
class EPlatformError : public EAppError {
 public:
  using EAppError::EAppError;
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
