// The password-protected zip archives of the transfer package (libzip, AES
// with a 128-bit key: the common AE-2 zip extension). An archive holds its
// files at the root, by their names alone.
#pragma once

#include <QString>

// Encryption kind and key length of the package's entries.
inline constexpr int TusinZipEncryption = 4;  // AES
inline constexpr int TusinZipKeyLength = 128;

// Creates a new archive AZipPath holding the file AFiles (an existing
// archive is replaced only once the new one is whole) with every entry
// encrypted under APassword. False after its message ("圧縮エラー(NZ)",
// "(AF)", "(WZAC)" or "(EX)").
bool fnZipAssyuku(const QString& AFiles, const QString& AZipPath, const QString& APassword);

// Extracts AZipPath into AFolder with APassword. With AOnlyEntry set only
// that entry is taken (the others are left in the archive). An archive with
// an entry that is a link, an absolute name or a name with ".." is refused
// whole. Each file is written under a temporary name and renamed into place.
// False after its message ("解凍エラー(OZ)", "(UZ:<count>)" or "(EX)").
bool fnZipKaitou(const QString& AZipPath, const QString& AFolder, const QString& APassword,
                 const QString& AOnlyEntry = QString());
