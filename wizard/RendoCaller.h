// The protocol with the calling tax-form program: while the wizard runs the
// caller's window is disabled; at exit it is brought to the front, enabled
// again and sent the message MessageID with FunctionID and the end state.
// Without the argument (PHandle 0) nothing is sent at all.
#pragma once

#include "wizard/RendoArgs.h"

// How the run ended, the end message's second parameter.
enum TRendoEndState : int {
  resCreated = 0,  // the import file was created
  resStopped = 1,  // stopped by the operator (Cancel, close box)
  resFailed = 2,   // failed, or the wizard never ran
};

class TRendoCaller {
 public:
  TRendoCaller() = default;
  explicit TRendoCaller(const TRendoArgs& args);

  quint64 PHandle = 0;
  int MessageID = 0;
  int FunctionID = 0;
  // The last end state written; 2 until the wizard ends otherwise.
  int EndState = resFailed;

  bool IsCalled() const { return PHandle != 0; }

  // Disables the caller's window while the wizard runs (when called).
  void pcDisableCaller() const;
  // Brings the caller's window to the front, enables it and posts the end
  // message with EndState. Returns false when called and the message could
  // not be delivered; true otherwise (also when there is no caller).
  bool pcSendEndMessage() const;
};
