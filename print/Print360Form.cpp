#include "print/Print360Form.h"

#include <exception>

#include <QFileInfo>

#include "platform/AppError.h"
#include "platform/Format.h"
#include "print/Print360Engine.h"
#include "print/Print360ImageOut.h"
#include "print/Print360Record.h"

std::array<TFieldPage, FormPageMax> FieldTable;
std::array<TTotalPage, FormPageMax> TotalTable;
int FormPageCount = 0;

TFieldPage* FormFieldPage(int formPage)
{
  if (formPage < 0 || formPage >= FormPageMax)
    return nullptr;
  return &FieldTable[formPage];
}

int FindField(int formPage, const QString& name)
{
  const TFieldPage* page = FormFieldPage(formPage);
  if (!page)
    return 0;
  const QString upper = name.toUpper();
  // Every stored definition is searched, not only the first hundred.
  for (int i = 1; i < FieldDefinitionLimit; ++i)
    if (!(*page)[i].Name.isEmpty() && (*page)[i].Name == upper)
      return i;
  return 0;
}

void ResetFieldCounts(int formPage)
{
  if (TFieldPage* page = FormFieldPage(formPage))
    for (TDataField& f : *page)
      f.Cnt = 0;
}

bool IsPageEndLine(const QString& line)
{
  qsizetype end = line.indexOf(u';');
  QString first = end < 0 ? line : line.left(end);
  first.remove(u'"');
  return first.compare(QLatin1String("E"), Qt::CaseInsensitive) == 0;
}

namespace {

void clearTables()
{
  for (TFieldPage& page : FieldTable)
    page.fill(TDataField());
  for (TTotalPage& page : TotalTable)
    page.fill(TTotalField());
  FormPageCount = 0;
}

int toInt(const QString& field)
{
  int v = 0;
  return TryStrToInt(field, v) ? v : 0;
}

}  // namespace

void HensuuYomikomiFrom(TPrintTextFile& f, int baseX, int baseY)
{
  clearTables();
  int defCount[FormPageMax];
  int totalCount[FormPageMax];
  for (int i = 0; i < FormPageMax; ++i) {
    defCount[i] = 1;
    totalCount[i] = 0;
  }
  f.Reset();
  while (!f.Eof()) {
    QString line = f.ReadLine();
    if (!line.endsWith(u';'))
      line += QStringLiteral(";0;");
    if (IsPageEndLine(line)) {
      if (++FormPageCount > FormPageMax - 1)
        break;
      continue;
    }
    const QString kind = FirstField(line);
    const int fp = FormPageCount;
    if (kind == QLatin1String("&") && defCount[fp] < FieldDefinitionLimit) {
      TDataField d;
      d.X = P360Clamp(qint64(baseX) + toInt(NextField(line)));
      d.Y = P360Clamp(qint64(baseY) + toInt(NextField(line)));
      d.Name = NextField(line).toUpper();
      d.FontName = NextField(line);
      d.FontSize = toInt(NextField(line));
      if (d.FontSize == 0)
        d.FontSize = 12;
      d.FontStyle = NextField(line).toUpper();
      d.Color = ColorOfName(NextField(line), QString());
      d.BrushColor = BackColorOfName(NextField(line));
      d.iAlign = AlignOfName(NextField(line));
      d.X2 = toInt(NextField(line));
      d.Lines = toInt(NextField(line));
      d.Center = toInt(NextField(line));
      if (d.Name == QLatin1String("0") || d.Name == QStringLiteral("行間")) {
        FieldTable[fp][0] = d;
      } else {
        FieldTable[fp][defCount[fp]] = d;
        ++defCount[fp];
      }
    } else if (kind == QLatin1String("$") && totalCount[fp] < FieldDefinitionLimit) {
      TTotalField t;
      t.X = toInt(NextField(line));
      t.Y = toInt(NextField(line));
      t.Name = NextField(line).toUpper();
      TotalTable[fp][totalCount[fp]] = t;
      ++totalCount[fp];
    }
  }
}

bool HensuuYomikomi(const QString& fileName, int baseX, int baseY)
{
  clearTables();
  if (fileName.isEmpty() || !QFileInfo::exists(fileName))
    return true;
  TPrintTextFile f;
  try {
    f.Assign(fileName);
    HensuuYomikomiFrom(f, baseX, baseY);
  } catch (const std::exception&) {
    WriteErrorLog(QStringLiteral("%1:%2").arg(QStringLiteral("ImageOut.HensuuYomikomi"), fnCurrentExceptionText()));
    throw;
  }
  f.Close();
  return true;
}

int CountPagesIn(TPrintTextFile& f, bool numbering)
{
  const bool number = numbering && P360Def.PageBango.Switch;
  int result = 1;
  int given = 0;
  int collected = 0;
  bool singleIsLine = false;
  auto numberPage = [&] {
    bool gets = collected >= 2 || (collected == 1 && !singleIsLine);
    PageNumberList << (gets ? QString::number(++given) : QStringLiteral("0"));
    collected = 0;
    singleIsLine = false;
  };
  if (numbering)
    PageNumberList.clear();
  f.Reset();
  while (!f.Eof()) {
    const QString line = f.ReadLine();
    if (IsPageEndLine(line)) {
      ++result;
      if (number)
        numberPage();
    } else if (number) {
      if (++collected == 1)
        singleIsLine = line.contains(QLatin1String("ORIENTATION")) || line.contains(QLatin1String("LINE"));
    }
  }
  if (number)
    numberPage();
  if (numbering)
    NumberedPages = given;
  return result;
}

int CountPages(const QString& fileName, bool numbering)
{
  if (numbering)
    PageNumberList.clear();
  TPrintTextFile f;
  if (!OpenPrintTextFile(f, fileName))
    return 1;
  const int n = CountPagesIn(f, numbering);
  f.Close();
  return n;
}

void CountTotalPages()
{
  const int f = FormFileName.isEmpty() ? 1 : CountPages(FormFileName, false);
  const int d = CountPages(DataFileName, true);
  if (f < d)
    PageCount = d % f == 0 ? d : d + f - d % f;
  else
    PageCount = f;
  ViewPage = 1;
}

bool SkipPages(TPrintTextFile& f, int n, bool wrap)
{
  int page = 1;
  while (!f.Eof() && page < n) {
    const QString line = f.ReadLine();
    if (f.Eof() && wrap) {
      f.Reset();
      ++page;
    } else if (IsPageEndLine(line)) {
      ++page;
    }
  }
  return page >= n;
}

QStringList PageOrientationsIn(TPrintTextFile& f, int defaultOrientation)
{
  QStringList result;
  int orientation = defaultOrientation;
  f.Reset();
  while (!f.Eof()) {
    const QString line = f.ReadLine();
    if (line.startsWith(u'*'))
      continue;
    if (IsPageEndLine(line)) {
      result << QString::number(orientation);
      orientation = defaultOrientation;
      continue;
    }
    if (FirstField(line + u';') == QLatin1String("ORIENTATION")) {
      int v = 0;
      orientation = TryStrToInt(NextField(line + u';'), v) ? v : defaultOrientation;
    }
  }
  result << QString::number(orientation);
  return result;
}

QStringList PageOrientations(const QString& fileName, int defaultOrientation)
{
  TPrintTextFile f;
  if (!OpenPrintTextFile(f, fileName))
    return {};
  QStringList result = PageOrientationsIn(f, defaultOrientation);
  f.Close();
  return result;
}
