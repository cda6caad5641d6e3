#pragma once
// Dialogs started by a process name.
//
// A dialog that a host program opens without knowing its class registers its
// form class under a process name; the host looks the name up, hands the
// dialog option lines ("name=value") and shows it through IProcShow.

#include <functional>

#include <QObject>
#include <QString>
#include <QStringList>

enum TIShowType { istShow, istShowModal };

// Interface of a dialog started by process name.
class IProcShow {
 public:
  virtual ~IProcShow() = default;
  // Write-only: the option lines, each a name, "=" and a value. The launch
  // adds "FormStyle=2" for a modal start and "FormStyle=0" otherwise.
  virtual void SetOptions(const QStringList& AOptions) = 0;
  // Shows the dialog; what it answers belongs to each dialog.
  virtual int ShowDisplay(TIShowType AShowType) = 0;
};

// Creates a new instance of a registered form class. The instance has no
// parent widget (it is owned by the application: a form started by name
// frees itself when it closes).
using TFormFactory = std::function<QObject*()>;

// Registers AClass (identified by its meta-object) under AName. A class that
// is already registered is ignored, also under another name; a name given to
// two classes is kept twice and a look-up finds the first.
void RegisterFormClassByName(const QMetaObject* AClass, TFormFactory AFactory, const QString& AName);

template <class T>
void RegisterFormClassByName(const QString& AName)
{
  RegisterFormClassByName(
      &T::staticMetaObject, [] { return static_cast<QObject*>(new T(nullptr)); }, AName);
}

// A new instance of the class registered under AName (compared without regard
// to letter case), or nullptr when the name is not registered.
QObject* FormClassLookup(const QString& AName);

// Number of registered classes and the process name at a position (for
// inspection by hosts and tests).
int FormClassCount();
QString FormClassName(int AIndex);

// Starts the dialog registered under ID: the body of the launch hook that the
// wizard installs. Mode 1 is a modal start, any other value a modeless one.
// Options holds option lines separated by line breaks. Answers -1 when ID is
// empty, another start is in progress (the hourglass is showing), or the name
// gives no object implementing IProcShow (after an error box); otherwise the
// answer of ShowDisplay.
int fnSyoriKidou(const QString& ID, int Mode, const QString& Options);

// The value of an option line "Name=Value" (name compared without regard to
// case); ADefault when no line has the name.
QString fnOptionValue(const QStringList& AOptions, const QString& AName, const QString& ADefault = QString());

// The text of the error box shown when a name cannot be started.
extern const char* const sProcShowNotImplemented;
