// A message hook for tests: collects the texts of the boxes the code under
// test shows instead of showing them.
//
// Header only: it needs the common library, which only the test programs of
// folders above it link (the support library itself stays below common).
#pragma once

#include <QString>
#include <QStringList>

#include "common/MessageHook.h"

namespace testenv {

// Collects the texts of message boxes instead of showing them. A box built
// from lines is kept as one text with the lines joined by "\n".
class MessageCollector : public IMessageHook {
 public:
  enum class Replies {
    Ok,           // every box answers OK
    FirstButton,  // a dialog answers its first button, a box of lines Yes
  };
  explicit MessageCollector(Replies replies = Replies::Ok) : replies_(replies) {}

  int ShowMessageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons buttons) override
  {
    texts << text;
    return replies_ == Replies::FirstButton ? FirstButtonResult(buttons) : mrOk;
  }
  int ShowMessageLines(int, const QStringList& lines) override
  {
    texts << lines.join(QLatin1Char('\n'));
    return replies_ == Replies::FirstButton ? mrYes : mrOk;
  }
  void RequestTerminate() override {}

  QStringList texts;

 private:
  Replies replies_;
};

// A collector installed for its lifetime; the hook before it comes back when
// it goes.
class ScopedMessageCollector : public MessageCollector {
 public:
  explicit ScopedMessageCollector(Replies replies = Replies::Ok) : MessageCollector(replies)
  {
    previous_ = SetMessageHook(this);
  }
  ~ScopedMessageCollector() override { SetMessageHook(previous_); }
  ScopedMessageCollector(const ScopedMessageCollector&) = delete;
  ScopedMessageCollector& operator=(const ScopedMessageCollector&) = delete;

 private:
  IMessageHook* previous_ = nullptr;
};

}  // namespace testenv
