#pragma once
#include <exception>

// The silent abort: thrown to leave the current operation without any
// message. The application's event dispatch (TApplication) swallows it.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// Throws EAbort.
[[noreturn]] inline void Abort()
{
  throw EAbort();
}
