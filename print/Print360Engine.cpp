#include "print/Print360Engine.h"

#include <exception>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>

#include "common/MessageHook.h"
#include "common/TextIO.h"
#include "platform/AppError.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/TextCodec.h"
#include "print/Print360Func.h"
#include "print/Print360Vdb.h"

bool EngineReady = false;
QString FormFileName;
QString DataFileName;
int CurLeftMargin = 0;
int CurTopMargin = 0;
int EvenPageShift = 0;
int PaperState = 0;
int UserPaperWidth = 0;
int UserPaperLength = 0;
int PageCount = 1;
int ViewPage = 1;
int CurPageNo = 1;
int NumberedPages = 1;
QStringList PageNumberList;
QString PrintMessageText;
bool CancelPrint = false;
double VRatio = 0;
double HRatio = 0;
QStringList SjisFonts;
QStringList SymbolFonts;
QStringList OemFonts;
QStringList EastEuropeFonts;
QStringList AllFonts;
std::unique_ptr<TVDBPrint> VdbPrint;

// --- text files -------------------------------------------------------------

namespace {

QString decodePrintText(const QByteArray& bytes, TextEncoding encoding)
{
  QString text = encoding == TextEncoding::Cp932 ? fromCp932(bytes) : QString::fromUtf8(bytes);
  // A byte-order mark is no part of the first line.
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  return text;
}

}  // namespace

void TPrintTextFile::Assign(const QString& fileName)
{
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EAppError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  const QString tooLarge =
      QStringLiteral("%1: larger than %2 bytes, not a print file").arg(fileName).arg(MaxPrintTextFileSize);
  if (file.size() > MaxPrintTextFileSize)
    throw EAppError(tooLarge);
  const QByteArray bytes = file.read(MaxPrintTextFileSize + 1);
  if (file.error() != QFileDevice::NoError)
    throw EAppError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  if (bytes.size() > MaxPrintTextFileSize)
    throw EAppError(tooLarge);
  AssignText(decodePrintText(bytes, DetectTextEncoding(fileName)));
  FFileName = fileName;
}

void TPrintTextFile::AssignBytes(const QByteArray& bytes)
{
  const bool sjis = DetectTextCodePage(bytes.left(TextSampleSize)) == 932;
  AssignText(decodePrintText(bytes, sjis ? TextEncoding::Cp932 : TextEncoding::Utf8));
}

void TPrintTextFile::AssignText(const QString& text)
{
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  FLines = text.split(lineEnd);
  // A final line end closes the last line; it does not open another.
  if (!FLines.isEmpty() && FLines.last().isEmpty())
    FLines.removeLast();
  FFileName.clear();
  FPos = 0;
  FOpen = true;
}

QString TPrintTextFile::ReadLine()
{
  if (Eof())
    return QString();
  return FLines.at(FPos++);
}

void TPrintTextFile::Close()
{
  FLines.clear();
  FPos = 0;
  FOpen = false;
}

// --- engine -----------------------------------------------------------------

void ResetPrintJobState()
{
  FormFileName.clear();
  DataFileName.clear();
  CurLeftMargin = 0;
  CurTopMargin = 0;
  EvenPageShift = 0;
  PaperState = 0;
  UserPaperWidth = 0;
  UserPaperLength = 0;
  PageCount = 1;
  ViewPage = 1;
  CurPageNo = 1;
  NumberedPages = 1;
  PageNumberList.clear();
  PrintMessageText.clear();
  CancelPrint = false;
  VRatio = 0;
  HRatio = 0;
}

void InitPrintEngine()
{
  EngineReady = false;
  VdbPrint.reset();
  for (QStringList* list : {&SjisFonts, &SymbolFonts, &OemFonts, &EastEuropeFonts, &AllFonts})
    list->clear();
  ResetPrintJobState();
  try {
    EnumInstalledFonts();
    VdbPrint = std::make_unique<TVDBPrint>();
    VdbPrint->SetTTOption(2);
    EngineReady = true;
  } catch (const std::exception&) {
    pcLogDroppedError("InitPrintEngine");
  }
}

void FinalizePrintEngine()
{
  EngineReady = false;
  VdbPrint.reset();
  for (QStringList* list : {&SjisFonts, &SymbolFonts, &OemFonts, &EastEuropeFonts, &AllFonts})
    list->clear();
  PageNumberList.clear();
  PrintMessageText.clear();
}

namespace {

struct TFontStandIn {
  const char16_t* name;
  bool mincho;
};

// The Windows faces the print data names, and which kind stands in for them.
const TFontStandIn FontStandIns[] = {
    {u"ＭＳ 明朝", true},      {u"ＭＳ Ｐ明朝", true},      {u"MS Mincho", true},       {u"MS PMincho", true},
    {u"ＭＳ ゴシック", false}, {u"ＭＳ Ｐゴシック", false}, {u"MS Gothic", false},      {u"MS PGothic", false},
    {u"MS UI Gothic", false},  {u"@ＭＳ 明朝", true},       {u"@ＭＳ ゴシック", false},
};

const QString MinchoFamily = QStringLiteral("IPAexMincho");
const QString GothicFamily = QStringLiteral("IPAexGothic");

}  // namespace

void P360AddFaceName(QStringList& list, const QString& face)
{
  const QString name = face.left(32);
  if (!list.isEmpty() && list.last().compare(name, Qt::CaseInsensitive) == 0)
    return;
  list << name;
}

QString P360FontFamily(const QString& fontName)
{
  for (const TFontStandIn& s : FontStandIns)
    if (fontName == QStringView(s.name))
      return s.mincho ? MinchoFamily : GothicFamily;
  return fontName;
}

void EnumInstalledFonts()
{
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw EAppError(QStringLiteral("The installed fonts need a running GUI application."));
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  const QStringList all = QFontDatabase::families();
  QStringList standIns;
  for (const TFontStandIn& s : FontStandIns)
    if (all.contains(s.mincho ? MinchoFamily : GothicFamily))
      standIns << QString::fromUtf16(s.name);

  SjisFonts.clear();
  SymbolFonts.clear();
  OemFonts.clear();
  EastEuropeFonts.clear();
  AllFonts.clear();
  for (const QString& f : japanese + standIns) {
    P360AddFaceName(SjisFonts, f);
    P360AddFaceName(OemFonts, f);
  }
  for (const QString& f : QFontDatabase::families(QFontDatabase::Symbol))
    P360AddFaceName(SymbolFonts, f);
  for (const QString& f : QFontDatabase::families(QFontDatabase::Latin))
    P360AddFaceName(EastEuropeFonts, f);
  for (const QString& f : all + standIns)
    P360AddFaceName(AllFonts, f);
}

bool OpenPrintTextFile(TPrintTextFile& f, const QString& name)
{
  if (name.isEmpty())
    return false;
  const QString full = QFileInfo(name).absoluteFilePath();
  if (!QFileInfo(full).isFile()) {
    MessageHook().ShowMessageDlg(u'<' + name + QStringLiteral("> が見つかりません。"), mtError, mbOK);
    return false;
  }
  f.Assign(full);
  return true;
}

QString ErrorLogPath()
{
  QString dir = fnGetSpecialFolder(CSIDL_PERSONAL);
  if (dir.isEmpty())
    dir = QDir::homePath();
  return dir + QStringLiteral("/Print360_Error.log");
}

void WriteErrorLog(const QString& message) noexcept
{
  try {
    const QString path = ErrorLogPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray line =
        (FormatDateTime(QStringLiteral("yy/mm/dd hh:nn:ss  "), Now()) + message + QStringLiteral("\n")).toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(line) != line.size() || !file.flush())
      qWarning("Print error log %s: %s (%s)", qUtf8Printable(path), qUtf8Printable(file.errorString()),
               qUtf8Printable(message));
  } catch (...) {
    pcLogDroppedError("WriteErrorLog");
  }
}
