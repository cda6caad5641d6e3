#include "ui/AccInterface.h"

#include <memory>
#include <vector>

#include <QRegularExpression>

#include "common/MessageHook.h"
#include "ui/ScreenCursor.h"

const char* const sProcShowNotImplemented =
    "処理を起動するためのインターフェースが実装されていません。\rライブラリのロードに失敗した可能性があります。";

namespace {

struct TFormClassEntry {
  const QMetaObject* Class = nullptr;
  TFormFactory Factory;
};

// FormClassList and FormNameList: parallel lists, the name at position i
// belongs to the class at position i.
std::vector<TFormClassEntry>& formClassList()
{
  static std::vector<TFormClassEntry> list;
  return list;
}

QStringList& formNameList()
{
  static QStringList list;
  return list;
}

void showErrorBox(const QString& AText)
{
  MessageHook().ShowMessageDlg(AText, mtError, mbOK);
}

// Shows the hourglass and returns the default cursor when the start leaves
// by any path.
struct THourglass {
  THourglass() { pcSetScreenCursor(Qt::WaitCursor); }
  ~THourglass() { pcSetScreenCursor(Qt::ArrowCursor); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};

QStringList splitLines(const QString& AText)
{
  if (AText.isEmpty())
    return {};
  QStringList lines = AText.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();  // a closing line break ends the last line
  return lines;
}

}  // namespace

void RegisterFormClassByName(const QMetaObject* AClass, TFormFactory AFactory, const QString& AName)
{
  auto& classes = formClassList();
  for (const auto& entry : classes)
    if (entry.Class == AClass)
      return;
  classes.push_back({AClass, std::move(AFactory)});
  formNameList().append(AName);
}

QObject* FormClassLookup(const QString& AName)
{
  const QStringList& names = formNameList();
  for (int i = 0; i < names.size(); ++i) {
    if (names.at(i).compare(AName, Qt::CaseInsensitive) == 0) {
      const auto& entry = formClassList().at(static_cast<size_t>(i));
      return entry.Factory ? entry.Factory() : nullptr;
    }
  }
  return nullptr;
}

int FormClassCount()
{
  return static_cast<int>(formClassList().size());
}

QString FormClassName(int AIndex)
{
  return formNameList().value(AIndex);
}

int fnSyoriKidou(const QString& ID, int Mode, const QString& Options)
{
  if (ID.isEmpty() || fnScreenCursor() == Qt::WaitCursor)
    return -1;

  THourglass hourglass;
  std::unique_ptr<QObject> form(FormClassLookup(ID));
  auto* proc = dynamic_cast<IProcShow*>(form.get());
  if (!proc) {
    pcSetScreenCursor(Qt::ArrowCursor);
    showErrorBox(QString::fromUtf8(sProcShowNotImplemented));
    return -1;
  }

  const bool modal = Mode == 1;
  QStringList lines = splitLines(Options);
  lines.append(QStringLiteral("FormStyle=%1").arg(modal ? 2 : 0));
  proc->SetOptions(lines);
  // From here the form owns its life: it frees itself when it closes.
  form.release();
  return proc->ShowDisplay(modal ? istShowModal : istShow);
}

QString fnOptionValue(const QStringList& AOptions, const QString& AName, const QString& ADefault)
{
  for (const QString& line : AOptions) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
      continue;
    if (line.left(eq).compare(AName, Qt::CaseInsensitive) == 0)
      return line.mid(eq + 1);
  }
  return ADefault;
}
