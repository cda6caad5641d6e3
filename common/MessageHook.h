// How the widget-free common library shows a message box or asks the
// application to end. The user interface installs its own hook at start-up;
// until then (and in tests) the default hook writes the message to the Qt log
// and answers with the first button it was offered.
#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

// Kind of the platform's standard message dialog.
enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message box (bit set).
enum TMsgDlgBtn : std::uint32_t {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
  mbHelp = 1u << 10,
  mbClose = 1u << 11,
};
using TMsgDlgButtons = std::uint32_t;

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrClose = 8;
inline constexpr int mrHelp = 9;
inline constexpr int mrAll = 12;
inline constexpr int mrNoToAll = 13;
inline constexpr int mrYesToAll = 14;

class IMessageHook {
 public:
  virtual ~IMessageHook() = default;

  // The standard message dialog: Text with its "\r" line breaks, the kind and
  // the buttons; answers the modal result of the button pressed.
  virtual int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;

  // The framework's message box built from lines: kind 0 warning, 1 error,
  // 2 information (each with a Yes button), 3 confirmation (OK and Cancel).
  virtual int ShowMessageLines(int kind, const QStringList& lines) = 0;

  // Asks the application to terminate; the request is queued and the caller
  // goes on.
  virtual void RequestTerminate() = 0;
};

// The hook in use (never null).
IMessageHook& MessageHook();

// Installs a hook (nullptr restores the default); returns the previous one.
// The caller keeps ownership.
IMessageHook* SetMessageHook(IMessageHook* hook);

// Modal result of the first button of a set (Yes, OK, No, Cancel, ... in that order).
int FirstButtonResult(TMsgDlgButtons buttons);

// While it lives, only the first error box is shown: later error boxes (the
// standard dialog of kind mtError, the framework box of kind 1) are written
// to the Qt log and answered with their first button. One failure that every
// later step of the same action reports again (a damaged data set read by
// several steps) reaches the operator once. Other boxes and the request to
// end pass through unchanged. Scopes nest; each puts back the hook it found.
class TFirstErrorOnlyScope final : public IMessageHook {
 public:
  TFirstErrorOnlyScope();
  ~TFirstErrorOnlyScope() override;
  TFirstErrorOnlyScope(const TFirstErrorOnlyScope&) = delete;
  TFirstErrorOnlyScope& operator=(const TFirstErrorOnlyScope&) = delete;

  int ShowMessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
  int ShowMessageLines(int kind, const QStringList& lines) override;
  void RequestTerminate() override;

  // Error boxes held back so far.
  int HeldBack() const { return FHeldBack; }

 private:
  IMessageHook* FPrevious = nullptr;
  bool FErrorShown = false;
  int FHeldBack = 0;
};
