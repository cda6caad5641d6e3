// The text edit: the byte limit on every kind of change, refusal of paste,
// caret placement on entry, typed access and the recorded reading.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "ui/xEdit.h"

namespace {

struct TForm {
  QWidget form;
  QLineEdit* other;
  TxEdit* edit;
  TForm()
  {
    auto* lay = new QVBoxLayout(&form);
    other = new QLineEdit(&form);
    edit = new TxEdit(&form);
    lay->addWidget(other);
    lay->addWidget(edit);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    edit->setFocus();
  }
};

void commit(QWidget* w, const QString& preedit, const QString& commitText)
{
  QInputMethodEvent e(preedit, {});
  e.setCommitString(commitText);
  QApplication::sendEvent(w, &e);
}

QString u(const char16_t* s)
{
  return QString::fromUtf16(s);
}

// Types each character as a key press carrying that character (QTest's own
// helpers take ASCII keys only).
void typeText(QWidget* w, const QString& text)
{
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, c.unicode() < 128 ? QChar(c).toUpper().unicode() : 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
  }
}

}  // namespace

TEST(Edit, ByteCountOfCharacters)
{
  struct TCase {
    QString text;
    int bytes;
  } cases[] = {
      {u(u"ABC"), 3}, {u(u"あいう"), 6}, {u(u"ｱｲｳﾞ"), 4}, {u(u""), 0},  {u(u" ~"), 2},
      {u(u"\t"), 2},  {u(u"𠮷"), 2},     {u(u"a𠮷b"), 4}, {u(u"①"), 2}, {u(u"\u007f"), 2},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TxEdit::fnByteCount(c.text), c.bytes) << c.text.toStdString();
}

TEST(Edit, ByteLimitHoldsForTypingSpacesPastesAndInputMethodCommits)
{
  enum class How { Type, Paste, Commit };
  struct TCase {
    const char* what;
    QString start;
    How how;
    QString input;
    QString expected;
  } cases[] = {
      {"typing stops at the limit", {}, How::Type, u(u"abcdefgh"), u(u"abcdef")},
      {"a space counts and is refused at the limit", u(u"abcdef"), How::Type, u(u" "), u(u"abcdef")},
      {"a space fits below the limit", u(u"abcde"), How::Type, u(u"  "), u(u"abcde ")},
      {"half-width katakana counts 1", u(u"abcde"), How::Type, u(u"ｱ"), u(u"abcdeｱ")},
      {"a full-width character needs 2", u(u"abcde"), How::Type, u(u"あ"), u(u"abcde")},
      {"a paste that fits is taken", u(u"abcd"), How::Paste, u(u"xy"), u(u"abcdxy")},
      {"a paste that does not fit is refused whole", u(u"abcd"), How::Paste, u(u"xyz"), u(u"abcd")},
      {"a pasted full-width text is counted in bytes", u(u"ab"), How::Paste, u(u"日本語"), u(u"ab")},
      {"a commit that fits is taken", u(u"abcd"), How::Commit, u(u"あ"), u(u"abcdあ")},
      {"a commit that does not fit is refused", u(u"abcd"), How::Commit, u(u"あい"), u(u"abcd")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TForm f;
    f.edit->setKillPaste(false);
    f.edit->setMaxLengthB(6);
    f.edit->setText(c.start);
    f.edit->end(false);
    switch (c.how) {
      case How::Type:
        typeText(f.edit, c.input);
        break;
      case How::Paste:
        QGuiApplication::clipboard()->setText(c.input);
        QTest::keySequence(f.edit, QKeySequence::Paste);
        break;
      case How::Commit:
        commit(f.edit, {}, c.input);
        break;
    }
    EXPECT_EQ(f.edit->text(), c.expected);
  }
}

TEST(Edit, ByteLimitLiftsTheCharacterLimitAndTextSetByTheProgramStays)
{
  TxEdit e;
  e.setMaxLength(3);
  EXPECT_EQ(static_cast<QLineEdit&>(e).maxLength(), 3);
  e.setMaxLengthB(4);
  EXPECT_GT(static_cast<QLineEdit&>(e).maxLength(), 4);
  e.setText(QStringLiteral("toolong"));
  EXPECT_EQ(e.text(), QStringLiteral("toolong"));
  e.setMaxLengthB(0);
  EXPECT_EQ(static_cast<QLineEdit&>(e).maxLength(), 3);
}

TEST(Edit, PasteIsRefusedWhileTheInputMethodIsOff)
{
  struct TCase {
    bool killPaste;
    bool imeDisabled;
    bool pasted;
  } cases[] = {{true, true, false}, {true, false, true}, {false, true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "KillPaste " << c.killPaste << " IME off " << c.imeDisabled);
    TForm f;
    f.edit->setKillPaste(c.killPaste);
    f.edit->setImeDisabled(c.imeDisabled);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keySequence(f.edit, QKeySequence::Paste);
    QTest::keyClick(f.edit, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(f.edit->text().contains(QStringLiteral("pasted")), c.pasted);
  }
}

TEST(Edit, CaretIsPlacedOnEntry)
{
  struct TCase {
    TCursorPos pos;
    int cursor;
    QString selected;
  } cases[] = {{cpAllSel, 5, QStringLiteral("12345")}, {cpLeft, 0, {}}, {cpRight, 5, {}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.pos));
    TForm f;
    f.other->setFocus();
    f.edit->setText(QStringLiteral("12345"));
    f.edit->setCursorPos(c.pos);
    QTest::keyClick(f.other, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f.edit);
    EXPECT_EQ(f.edit->cursorPosition(), c.cursor);
    EXPECT_EQ(f.edit->selectedText(), c.selected);
  }
}

TEST(Edit, TypedAccessAsAmountAndInteger)
{
  TxEdit e;
  e.setText(QStringLiteral("1234.5"));
  EXPECT_EQ(e.Curr(), Currency::fromString(u"1234.5"));
  e.setText(QStringLiteral("12,345"));
  EXPECT_TRUE(e.Curr().isZero());
  e.setText(QStringLiteral("abc"));
  EXPECT_TRUE(e.Curr().isZero());
  EXPECT_EQ(e.Long(), 0);
  e.setCurr(Currency());
  EXPECT_EQ(e.text(), QStringLiteral("abc")) << "writing 0 leaves the text";
  e.setCurr(Currency::fromString(u"-7.25"));
  EXPECT_EQ(e.text(), QStringLiteral("-7.25"));
  e.setText(QStringLiteral("42"));
  EXPECT_EQ(e.Long(), 42);
  e.setLong(0);
  EXPECT_EQ(e.text(), QStringLiteral("42"));
  e.setLong(-9);
  EXPECT_EQ(e.text(), QStringLiteral("-9"));
}

TEST(Edit, ReadingComesFromTypedTextAndKanaPreedits)
{
  TForm f;
  f.edit->setKanaSw(true);
  f.other->setFocus();
  f.edit->setFocus();
  // A composition whose last preedit was kana alone gives its reading.
  commit(f.edit, u(u"か"), {});
  commit(f.edit, u(u"かな"), {});
  commit(f.edit, {}, u(u"仮名"));
  EXPECT_EQ(f.edit->text(), u(u"仮名"));
  EXPECT_EQ(f.edit->kana(), u(u"ｶﾅ"));
  // A preedit still holding romaji letters gives nothing.
  commit(f.edit, u(u"がっこu"), {});
  commit(f.edit, {}, u(u"学校"));
  EXPECT_EQ(f.edit->kana(), u(u"ｶﾅ"));
  commit(f.edit, u(u"がっこう"), {});
  commit(f.edit, {}, u(u"学校"));
  EXPECT_EQ(f.edit->kana(), u(u"ｶﾅｶﾞｯｺｳ"));
  // Characters typed without the input method are recorded as they are.
  QTest::keyClicks(f.edit, QStringLiteral("ab"));
  EXPECT_EQ(f.edit->kana(), u(u"ｶﾅｶﾞｯｺｳab"));
  // Entering the field again starts a new reading.
  f.other->setFocus();
  f.edit->setFocus();
  EXPECT_EQ(f.edit->kana(), QString());
  f.edit->setKana(u(u"テスト"));
  f.edit->setKana({});
  EXPECT_EQ(f.edit->kana(), u(u"ﾃｽﾄ"));
}

TEST(Edit, NoReadingWithoutKanaSw)
{
  TForm f;
  commit(f.edit, u(u"かな"), {});
  commit(f.edit, {}, u(u"仮名"));
  QTest::keyClicks(f.edit, QStringLiteral("ab"));
  EXPECT_EQ(f.edit->kana(), QString());
}

TEST(Edit, KanaWidthConversions)
{
  struct TCase {
    QString in;
    QString full;
    QString half;
  } cases[] = {
      {u(u"ぱんだ"), u(u"パンダ"), u(u"ﾊﾟﾝﾀﾞ")},
      {u(u"ｶﾞｯｺｳ"), u(u"ガッコウ"), u(u"ｶﾞｯｺｳ")},
      {u(u"ヴァイオリン"), u(u"ヴァイオリン"), u(u"ｳﾞｧｲｵﾘﾝ")},
      {u(u"ＡＢＣ１２３　ー"), u(u"ＡＢＣ１２３　ー"), u(u"ABC123 ｰ")},
      {u(u"ﾎﾟﾎﾞﾎ"), u(u"ポボホ"), u(u"ﾎﾟﾎﾞﾎ")},
      {u(u"漢字"), u(u"漢字"), u(u"漢字")},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(TxEdit::fnToFullKatakana(c.in), c.full) << c.in.toStdString();
    EXPECT_EQ(TxEdit::fnToHalfWidth(TxEdit::fnToFullKatakana(c.in)), c.half) << c.in.toStdString();
  }
  EXPECT_TRUE(TxEdit::fnIsKanaOnly(u(u"かなカナｶﾅー")));
  EXPECT_FALSE(TxEdit::fnIsKanaOnly(u(u"かなa")));
  EXPECT_FALSE(TxEdit::fnIsKanaOnly({}));
}
