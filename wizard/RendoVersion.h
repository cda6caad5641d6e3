// The version test with which the wizard accepts an installed accounting
// product or a company data set: up to three dot-separated numbers, each
// written with at least two digits and read back as one number
// (17.0.0 -> 170000, 9.5.3 -> 90503, 17.0.123 -> 1700123).
#pragma once

#include <QString>
#include <QStringList>

// Lowest accepted version of the product and of company data.
QString fnRendoPermitVersion();  // "17.0.0"

// Splits a text at the delimiter the way a delimited list is read: double
// quotes enclose a piece (a doubled quote inside stands for one); outside
// quotes blanks and control characters also end a piece and runs of them
// count as one separator; leading blanks are skipped; a delimiter at the very
// end adds a last, empty piece. An empty text gives one empty piece.
QStringList fnSplitDelimited(const QString& text, QChar delimiter);

// The number of a version text: 0 when it has no, or more than three, pieces.
int fnRendoVersionNumber(const QString& version);

// True when the installed version's number is above 0 and not below the
// required one's.
bool fnRendoVersionAccepted(const QString& installed, const QString& required);

// The error text when the installed product's version is not accepted.
QString fnRendoVersionMessage(const QString& appTitle, const QString& permitVersion);
