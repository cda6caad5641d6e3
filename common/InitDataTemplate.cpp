#include "common/InitDataTemplate.h"

#include <iterator>

#include <QDir>
#include <QFileInfo>

#include "common/AccRecord.h"
#include "platform/Paths.h"

int fnAccDataInitNo(int ADataKbn, int ACodeKbn)
{
  switch (ADataKbn) {
    case 1:
      return 11;
    case 2:
      return ACodeKbn >= 1 && ACodeKbn <= 4 ? 20 + ACodeKbn : 0;
    case 3:
      return 31;
    default:
      return 0;
  }
}

QString fnAccDataInitFileName(int ATemplateNo)
{
  static constexpr int kNumbers[] = {11, 21, 22, 23, 24, 31};
  for (std::size_t i = 0; i < std::size(kNumbers); ++i)
    if (kNumbers[i] == ATemplateNo)
      return AccDataInitFile[i];
  return QString();
}

QString fnFindAccDataInitFile(const QString& AFolder, int ADataKbn, int ACodeKbn)
{
  const QString name = fnAccDataInitFileName(fnAccDataInitNo(ADataKbn, ACodeKbn));
  if (name.isEmpty() || AFolder.trimmed().isEmpty())
    return QString();
  const QString exact = PathJoin(AFolder, name);
  if (QFileInfo(exact).isFile())
    return exact;
  const QDir dir(AFolder);
  const QStringList files = dir.entryList(QDir::Files, QDir::Name);
  for (const QString& f : files)
    if (SameText(f, name))
      return PathJoin(AFolder, f);
  return QString();
}
