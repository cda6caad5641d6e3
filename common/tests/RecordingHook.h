// A message hook for tests: records every box and termination request and
// answers with a preset result.
#pragma once

#include <QString>
#include <QStringList>

#include "common/MessageHook.h"

struct RecordedBox {
  QString text;
  int type = -1;  // TMsgDlgType, or 100 + kind for a box of lines
  TMsgDlgButtons buttons = 0;
};

class RecordingHook : public IMessageHook {
 public:
  RecordingHook() { previous_ = SetMessageHook(this); }
  ~RecordingHook() override { SetMessageHook(previous_); }

  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override
  {
    boxes.push_back({text, int(type), buttons});
    return answer ? answer : FirstButtonResult(buttons);
  }
  int ShowMessageLines(int kind, const QStringList& lines) override
  {
    boxes.push_back({lines.join(QLatin1Char('\n')), 100 + kind, 0});
    return answer ? answer : mrYes;
  }
  void RequestTerminate() override { ++terminations; }

  std::vector<RecordedBox> boxes;
  int terminations = 0;
  int answer = 0;

 private:
  IMessageHook* previous_ = nullptr;
};
