#include "comm/TusinZip.h"

#include <sys/stat.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "common/MessageHook.h"

namespace {

void zipMessage(const QString& AText)
{
  MessageHook().ShowMessageDlg(AText, mtError, mbOK);
}

// A name that stays inside the target folder: relative, no "..", no
// backslash tricks, no empty parts.
bool safeEntryName(const QString& AName)
{
  if (AName.isEmpty() || AName.startsWith(QLatin1Char('/')) || AName.startsWith(QLatin1Char('\\')) ||
      (AName.size() > 1 && AName.at(1) == QLatin1Char(':')))
    return false;
  const QStringList parts = QString(AName).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
  for (const QString& p : parts)
    if (p == QLatin1String(".."))
      return false;
  return true;
}

// A link entry: its external attributes carry a Unix file type of a link.
bool isLinkEntry(zip_t* AZip, zip_uint64_t AIndex)
{
  zip_uint8_t opsys = 0;
  zip_uint32_t attr = 0;
  if (zip_file_get_external_attributes(AZip, AIndex, 0, &opsys, &attr) != 0)
    return true;
  return opsys == ZIP_OPSYS_UNIX && ((attr >> 16) & S_IFMT) == S_IFLNK;
}

struct TZipCloser {
  zip_t* Z = nullptr;
  ~TZipCloser()
  {
    if (Z)
      zip_discard(Z);
  }
};

}  // namespace

bool fnZipAssyuku(const QString& AFiles, const QString& AZipPath, const QString& APassword)
{
  try {
    const QFileInfo source(AFiles);
    // The archive is made beside its place and renamed over it once whole.
    const QString work = AZipPath + QStringLiteral(".part");
    QFile::remove(work);
    int err = 0;
    TZipCloser zip{zip_open(QFile::encodeName(work).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err)};
    if (!zip.Z) {
      zipMessage(QStringLiteral("圧縮エラー(NZ)"));
      return false;
    }
    zip_source_t* src =
        source.isFile() ? zip_source_file(zip.Z, QFile::encodeName(AFiles).constData(), 0, -1) : nullptr;
    const zip_int64_t index =
        src ? zip_file_add(zip.Z, source.fileName().toUtf8().constData(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
            : -1;
    if (index < 0) {
      if (src)
        zip_source_free(src);
      zipMessage(QStringLiteral("圧縮エラー(AF)"));
      return false;
    }
    if (zip_file_set_encryption(zip.Z, zip_uint64_t(index), ZIP_EM_AES_128, APassword.toUtf8().constData()) != 0) {
      zipMessage(QStringLiteral("圧縮エラー(AF)"));
      return false;
    }
    const int closed = zip_close(zip.Z);
    if (closed != 0) {
      zipMessage(QStringLiteral("圧縮エラー(WZAC)"));
      QFile::remove(work);
      return false;
    }
    zip.Z = nullptr;
    QFile::remove(AZipPath);
    if (!QFile::rename(work, AZipPath)) {
      QFile::remove(work);
      zipMessage(QStringLiteral("圧縮エラー(WZAC)"));
      return false;
    }
    return true;
  } catch (...) {
    zipMessage(QStringLiteral("圧縮エラー(EX)"));
    return false;
  }
}

bool fnZipKaitou(const QString& AZipPath, const QString& AFolder, const QString& APassword, const QString& AOnlyEntry)
{
  try {
    int err = 0;
    TZipCloser zip{zip_open(QFile::encodeName(AZipPath).constData(), ZIP_RDONLY, &err)};
    if (!zip.Z) {
      zipMessage(QStringLiteral("解凍エラー(OZ)"));
      return false;
    }
    zip_set_default_password(zip.Z, APassword.toUtf8().constData());
    const zip_int64_t entries = zip_get_num_entries(zip.Z, 0);
    auto failUz = [](int ACount) {
      zipMessage(QStringLiteral("解凍エラー(UZ:") + QString::number(ACount) + QStringLiteral(")"));
      return false;
    };
    // Every entry is checked before anything is written.
    QList<zip_uint64_t> take;
    for (zip_int64_t i = 0; i < entries; ++i) {
      const char* raw = zip_get_name(zip.Z, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
      const QString name = raw ? QString::fromUtf8(raw) : QString();
      if (!safeEntryName(name) || isLinkEntry(zip.Z, zip_uint64_t(i)))
        return failUz(0);
      if (name.endsWith(QLatin1Char('/')))
        continue;
      if (AOnlyEntry.isEmpty() || name == AOnlyEntry)
        take << zip_uint64_t(i);
    }
    if (take.isEmpty())
      return failUz(0);
    if (!QDir().mkpath(AFolder))
      return failUz(-1);
    int count = 0;
    for (zip_uint64_t i : take) {
      const QString name = QString::fromUtf8(zip_get_name(zip.Z, i, ZIP_FL_ENC_GUESS));
      const QString target = QDir(AFolder).filePath(name);
      QDir().mkpath(QFileInfo(target).absolutePath());
      zip_file_t* f = zip_fopen_index(zip.Z, i, 0);
      if (!f)
        return failUz(-1);
      QSaveFile out(target);
      bool ok = out.open(QIODevice::WriteOnly);
      char buf[65536];
      zip_int64_t n = 0;
      while (ok && (n = zip_fread(f, buf, sizeof buf)) > 0)
        ok = out.write(buf, n) == n;
      // A wrong password shows as a read error (the checksum fails).
      ok = ok && n == 0 && out.flush();
      zip_fclose(f);
      if (!ok) {
        out.cancelWriting();
        return failUz(-1);
      }
      if (!out.commit())
        return failUz(-1);
      ++count;
    }
    return true;
  } catch (...) {
    zipMessage(QStringLiteral("解凍エラー(EX)"));
    return false;
  }
}
