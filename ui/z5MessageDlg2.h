// The framework's message box: an icon, a title, up to 15 lines each with its
// own colour and optional link, up to three buttons with captions of the
// caller's choice and an optional agreement check box. Callers reset a
// request with pcInitMessage2InfoRec, add lines and show it with
// fnShowMessageBox2; a request may instead name a preset message by code
// (see MessageCatalog.h).
#pragma once

#include <array>
#include <functional>

#include <QDialog>
#include <QString>

#include "common/MessageHook.h"
#include "platform/Color.h"

class QLabel;
class QPushButton;
class QWidget;
class TxCheckBox;

inline constexpr int Message2LineCount = 15;

// One line of the box.
struct TMessage2CaptionRec {
  QString Text;
  TColor Color = 0;  // BGR; 0 = black
  QString LinkURL;   // empty = no link
};

// A request of the message box.
struct TMessage2InfoRec {
  int MessageType = 0;                      // preset code; 0 = the record's own content
  TMsgDlgType DlgType = mtCustom;           // chooses the icon
  TMsgDlgButtons DlgButtons = mbYes;        // buttons, in the order of the button table
  std::array<QString, 3> DlgButtonCaption;  // empty = the table's caption
  int DlgButtonFocusIdx = 0;                // 0-based index of the focused button
  QString Title;
  std::array<TMessage2CaptionRec, Message2LineCount> Caption;
  int Agree = 0;            // 0 none; 1 must be ticked before the first button works; other: shown only
  QString AgreeCaption;     // a blank caption hides the agreement box
  bool AgreeCheck = false;  // state of the agreement box, in and out
};

// The button kinds in the order of the button table.
inline constexpr std::array<TMsgDlgBtn, 12> MsgDlgBtnOrder{mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                                           mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp,  mbClose};
// Caption and modal result of a button kind.
QString fnMsgDlgBtnCaption(TMsgDlgBtn b);
int fnMsgDlgBtnResult(TMsgDlgBtn b);

// Turns the "\r" (and "\r\n") line breaks of a message into "\n".
QString fnMessageLines(const QString& text);

// Resets a request for a kind: 0 warning "警告", 1 error "エラー",
// 2 information "情報" (each with the single button "はい(&Y)"),
// 3 confirmation "確認" with OK and Cancel; other kinds: custom, no title.
void pcInitMessage2InfoRec(int AKind, TMessage2InfoRec& Info);

// Shows the request modally; Info.AgreeCheck receives the agreement box's
// state. Returns the modal result.
int fnShowMessageBox2(TMessage2InfoRec& Info);

// While set, fnShowMessageBox2 shows nothing and answers through the hook
// (for unattended runs and tests of code that shows boxes).
using TMessageBox2Hook = std::function<int(TMessage2InfoRec& Info)>;
void pcSetMessageBox2Hook(TMessageBox2Hook hook);

class TMessageBox2 : public QDialog {
  Q_OBJECT
 public:
  explicit TMessageBox2(QWidget* parent = nullptr);

  void setPrepare(bool value);
  void setProcType(int value);
  const TMessage2InfoRec& MessageRec() const { return FMessageRec; }
  void setMessageRec(const TMessage2InfoRec& value);
  void setAgreeCaption(const QString& value) { FAgreeCaption = value; }
  bool AgreeCheck() const;
  void setAgreeCheck(bool value);

  // The form's controls, for callers that adjust them and for checks.
  QLabel* Label(int i) const { return FLabelCtl[i]; }
  QPushButton* Button(int i) const { return FButtonCtl[i]; }
  TxCheckBox* AgreeBox() const { return btnAgree; }
  QLabel* IconImage() const { return imgIcon; }
  QWidget* AgreePanel() const { return pnlAgree; }

  // The text Ctrl+C puts on the clipboard.
  QString fnClipboardText() const;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 public slots:
  void reject() override;

 private:
  void SetPresetMessage(int code);
  void layoutPanels();
  int scaled(int v) const;

  bool FPrepare = false;
  int FProcType = 0;
  TMessage2InfoRec FMessageRec;
  std::array<QLabel*, Message2LineCount> FLabelCtl{};
  std::array<QPushButton*, 3> FButtonCtl{};
  int FAgreeType = 0;
  QString FAgreeCaption;
  bool FAgreeCheck = false;

  QWidget* pnlClient = nullptr;
  QWidget* pnlAgree = nullptr;
  QWidget* pnlBottom = nullptr;
  QLabel* imgIcon = nullptr;
  TxCheckBox* btnAgree = nullptr;
};
