// The relay server's reply, read line by line at fixed positions.
//
// A reply is a sequence of lines (LF ends a line, a CR before it is
// dropped). Empty lines before the first non-empty line are skipped; that
// line is line 1, every later line counts, empty or not. The result line
// carries its three-character code at characters 11 to 13; a time line and
// the FTP lines carry their value from character 8 on. The server-information
// reply adds ten folder blocks of nine lines (relay) or twelve (cloud share).
//
// Widget-free and socket-free: the reader takes its lines from any
// TRelayLineSource (the TLS connection, or a buffer in tests and the fuzz
// target).
#pragma once

#include <array>

#include <QByteArray>
#include <QString>

#include "platform/AppError.h"
#include "platform/DateTime.h"

// A reply that ended early, a line beyond any sane length, or a value that
// is not what its line must hold.
class ERelayReplyError : public EAppError {
 public:
  using EAppError::EAppError;
};

// Where the reader takes its lines from.
class TRelayLineSource {
 public:
  virtual ~TRelayLineSource() = default;
  // The next line without its LF (and without a CR before it); false when
  // the reply has ended.
  virtual bool ReadLine(QByteArray& ALine) = 0;
};

// Lines out of a byte buffer (tests, fuzzing).
class TRelayBufferSource : public TRelayLineSource {
 public:
  explicit TRelayBufferSource(QByteArray AData) : FData(std::move(AData)) {}
  bool ReadLine(QByteArray& ALine) override;

 private:
  QByteArray FData;
  qsizetype FPos = 0;
};

// A line longer than this ends the reply as broken.
inline constexpr qsizetype RelayMaxLineLength = 64 * 1024;

// Reads a reply by its line numbers.
class TRelayReplyReader {
 public:
  explicit TRelayReplyReader(TRelayLineSource& ASource) : FSource(ASource) {}

  // Skips the empty lines before line 1 and reads lines until line ANo has
  // been read; returns it. Lines are read in order: ANo must not be below
  // the line last read. A reply that ends before throws ERelayReplyError.
  QString Line(int ANo);
  // The next line (line 1 when nothing was read yet).
  QString Next() { return Line(FLineNo + 1); }
  int LineNo() const { return FLineNo; }

 private:
  QByteArray ReadRaw();

  TRelayLineSource& FSource;
  int FLineNo = 0;
};

// The value of a line from character AFrom (1-based) on; empty when the line
// is shorter.
QString fnRelayValue(const QString& ALine, int AFrom);
// The result code of a result line: characters 11 to 13, shorter when the
// line is.
QString fnRelayResultCode(const QString& ALine);

// The server's time of a notice reply. Separated form (1834):
// "yyyy-mm-dd hh:nn:ss" by position; compact form (1821, 1824):
// "yyyymmddhhnnss". AWText gets "yyyy/mm/dd hh:nn:ss", ATime the value; a
// text that is no valid time throws ERelayReplyError.
void pcRelayServerTime(const QString& AValue, bool ACompact, QString& AWText, TDateTime& ATime);

// One relay folder or cloud-share line as the server describes it.
struct TServerFolderRow {
  QString Fol_Name;
  QString Data_Name;
  QString Kaikei_Nend;
  QString Sta_Kikan;
  QString End_Kikan;
  QString Sta_Kikan2;
  QString End_Kikan2;
  QString Up_Day;
  QString Up_Day2;
  QString Wp_Day;
  QString Dn_Day;
  QString Dn_Day2;
  QString Pas_Word;
  QString Data_Ver;
  QString Data_Share;
  QString Op_Name;
  QString Pc_Name;
};

using TServerFolderRows = std::array<TServerFolderRow, 10>;

// What a "000" server-information reply fills.
struct TServerInfo {
  QString Ftp_Add;
  QString Ftp_Pass;
  TServerFolderRows Rows;
};

// Reads the rest of a server-information reply whose result line (line 5)
// was "000": the FTP lines 6 to 8 and the ten blocks, into AInfo. ACloud
// chooses blocks of twelve lines; ANengoSwitch the era form of the display
// fields. A field that a block does not take keeps its value; a reply that
// ends in the middle leaves the rows read so far and throws.
void pcReadServerInfo(TRelayReplyReader& AReader, bool ACloud, int ANengoSwitch, TServerInfo& AInfo);

// The display form of a "yyyy/mm/dd hh:nn" text: unchanged with the era
// switch off; else the date in era form ("yy/mm/dd" with the era sign), and
// with AWithTime a blank and the "hh:nn" part.
QString fnRelayDisplayDate(const QString& AText, int ANengoSwitch, bool AWithTime);
