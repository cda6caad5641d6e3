// IME composition notification through input-method events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>

#include "ui/ImeHook.h"

namespace {

struct TCall {
  QString who;
  QWidget* wnd;
  bool start;
};
QList<TCall> gCalls;

class TForm {
 public:
  explicit TForm(QString AName) : Name(std::move(AName)) {}
  void IMEStartEndNotify(QWidget* AWnd, bool AStart)
  {
    ImeOnFlg = AStart;
    gCalls.append({Name, AWnd, AStart});
  }
  void Other(QWidget* AWnd, bool AStart) { gCalls.append({Name + QStringLiteral("/other"), AWnd, AStart}); }
  QString Name;
  bool ImeOnFlg = false;
};

void compose(QWidget* AWidget, const QString& APreedit, const QString& ACommit = QString())
{
  QInputMethodEvent e(APreedit, {});
  if (!ACommit.isEmpty())
    e.setCommitString(ACommit);
  QApplication::sendEvent(AWidget, &e);
}

TEST(ImeHookTest, CompositionStartAndEndReachEveryHandlerInOrder)
{
  QLineEdit edit1, edit2;
  TForm a(QStringLiteral("a")), b(QStringLiteral("b"));
  const auto ha = MakeIMEStartEndNotify<&TForm::IMEStartEndNotify>(&a);
  const auto hb = MakeIMEStartEndNotify<&TForm::IMEStartEndNotify>(&b);
  const auto hbOther = MakeIMEStartEndNotify<&TForm::Other>(&b);
  const int before = IMEStartEndNotifyCount();
  AddIMEStartEndNotify(ha);
  AddIMEStartEndNotify(hb);
  AddIMEStartEndNotify(ha);       // once only
  AddIMEStartEndNotify(hbOther);  // same object, other routine: a handler of its own
  EXPECT_EQ(IMEStartEndNotifyCount(), before + 3);

  // Each step: the event, then what every handler was told.
  struct Step {
    QWidget* target;
    const char* preedit;
    const char* commit;
    bool start;
  } steps[] = {
      {&edit1, "か", "", true},     // composition begins
      {&edit1, "かな", "", true},   // goes on
      {&edit1, "", "仮名", false},  // committed
      {&edit2, "に", "", true},     // the other form's edit: every form is told
      {&edit2, "", "", false},      // cancelled
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.preedit);
    gCalls.clear();
    compose(s.target, QString::fromUtf8(s.preedit), QString::fromUtf8(s.commit));
    ASSERT_EQ(gCalls.size(), 3);
    EXPECT_EQ(gCalls[0].who, QStringLiteral("a"));
    EXPECT_EQ(gCalls[1].who, QStringLiteral("b"));
    EXPECT_EQ(gCalls[2].who, QStringLiteral("b/other"));
    for (const auto& c : gCalls) {
      EXPECT_EQ(c.wnd, s.target);
      EXPECT_EQ(c.start, s.start);
    }
    EXPECT_EQ(a.ImeOnFlg, s.start);
    EXPECT_EQ(b.ImeOnFlg, s.start);
  }

  RemoveIMEStartEndNotify(ha);
  RemoveIMEStartEndNotify(ha);  // not there any more: nothing
  gCalls.clear();
  compose(&edit1, QStringLiteral("あ"));
  ASSERT_EQ(gCalls.size(), 2);
  EXPECT_EQ(gCalls[0].who, QStringLiteral("b"));
  RemoveIMEStartEndNotify(hb);
  RemoveIMEStartEndNotify(hbOther);
  EXPECT_EQ(IMEStartEndNotifyCount(), before);
  gCalls.clear();
  compose(&edit1, QString());
  EXPECT_TRUE(gCalls.isEmpty());
}

// A handler that removes itself while being told does not upset the others.
void removeSelf(void* AObject, QWidget*, bool)
{
  gCalls.append({QStringLiteral("self"), nullptr, true});
  RemoveIMEStartEndNotify({&removeSelf, AObject});
}

TEST(ImeHookTest, HandlerMayRemoveItselfWhileNotified)
{
  QLineEdit edit;
  TForm b(QStringLiteral("b"));
  TForm self(QStringLiteral("self"));
  AddIMEStartEndNotify({&removeSelf, &self});
  const auto hb = MakeIMEStartEndNotify<&TForm::IMEStartEndNotify>(&b);
  AddIMEStartEndNotify(hb);
  gCalls.clear();
  compose(&edit, QStringLiteral("あ"));
  compose(&edit, QString());
  ASSERT_EQ(gCalls.size(), 3);
  EXPECT_EQ(gCalls[0].who, QStringLiteral("self"));
  EXPECT_EQ(gCalls[1].who, QStringLiteral("b"));
  EXPECT_EQ(gCalls[2].who, QStringLiteral("b"));
  RemoveIMEStartEndNotify(hb);
}

}  // namespace
