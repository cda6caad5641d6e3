// Typed settings of a company data set: ACCREG (typed text values),
// ACCREG_BLOB_BINARY (pictures and memos) and MSD_HOUKOKU (typed report
// settings of medical-corporation data), and the query factory of the common
// library.
//
// Database errors are not reported here: they reach the caller after the
// transaction this routine started has been rolled back.
#pragma once

#include <memory>

#include <QString>
#include <QVariant>

#include "db/Query.h"

// A new query bound to the system database ("ACCDEF") or to the company
// database (any other name; with Second on the snapshot transaction). Null
// when there is no data module.
std::unique_ptr<db::Query> fnCreateQuery(const QString& DbName, bool Second);
std::unique_ptr<db::Query> fnCreateIBSQL(const QString& DbName, bool Second);

// Reads a typed setting; a missing one is created with TypeWord and Default
// (the Default text is what is converted then).
QVariant fnGetAccReg(const QString& Group, const QString& Code, const QString& TypeWord, const QString& Default);
// Writes a typed setting; an existing row keeps its stored type word.
void pcSetAccReg(const QString& Group, const QString& Code, const QString& TypeWord, const QVariant& Value);
void pcDelAccReg(const QString& Group, const QString& Code);

// As fnGetAccReg on MSD_HOUKOKU (five type words). It commits the company
// transaction whenever it is active at its end, also one the caller started.
QVariant fnGetMsdHoukoku(const QString& Group, const QString& Code, const QString& TypeWord, const QString& Default);

bool fnIsZaidanSyakaiTokutei();
bool fnIsKikinAri();

// Blob kinds of ACCREG_BLOB_BINARY.
inline const QString AccRegBlobPicture = QStringLiteral("画像");
inline const QString AccRegBlobJpeg = QStringLiteral("画Ｊ");
inline const QString AccRegBlobMemo = QStringLiteral("メモ");

// A picture is written to "<TEMP>/accreg-<yyyymmddhhnnss>.bmp" (".jpg" for a
// JPEG) and its file name returned; a memo returns its text (every line
// ended by CR LF). No row or another kind: an invalid QVariant.
QVariant fnGetAccRegBlob(const QString& Group, const QString& Key);
// Value: a picture's file name, or a memo's text (stored as CP932 lines).
void pcSetAccRegBlob(const QString& Group, const QString& Key, const QString& Kind, const QVariant& Value);
// Where: the caller's condition (it must use :FGROUP and :FKEY); empty for
// the row of Group and Key.
void pcDelAccRegBlob(const QString& Group, const QString& Key, const QString& Where);
