#include "platform/PzConv.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace {

constexpr int kRows = 60;
constexpr int kColumns = 188;

const std::uint16_t kSJisTable[kRows * kColumns] = {
#include "platform/SJisTable.inc"
};

const QByteArray kMimePrefix = QByteArrayLiteral("=?ISO-2022-JP?B?");
const QByteArray kJisStart = QByteArrayLiteral("\x1B$B");
const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool isLeadByte(unsigned char b)
{
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(unsigned char b)
{
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isHalfKana(unsigned char b)
{
  return b >= 0xA1 && b <= 0xDF;
}

// The character of a two-byte code, 0 when it has none.
char16_t charOfCode(unsigned char lead, unsigned char trail)
{
  if (!isLeadByte(lead) || !isTrailByte(trail))
    return 0;
  const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
  const int column = trail < 0x7F ? trail - 0x40 : trail - 0x41;
  return char16_t(kSJisTable[row * kColumns + column]);
}

bool isNecSelectedIbm(std::uint16_t code)
{
  return code >= 0xED40 && code <= 0xEEFC;
}

bool isIbmExtension(std::uint16_t code)
{
  return code >= 0xFA40;
}

struct Tables {
  std::unordered_map<char16_t, std::uint16_t> encode;              // character -> two-byte code
  std::unordered_map<std::uint16_t, std::uint16_t> ibmToJisRange;  // 0xFA40.. -> a code with a JIS form
};

const Tables& tables()
{
  static const Tables t = [] {
    Tables r;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!isLeadByte(lead))
        continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char16_t c = charOfCode(lead, trail);
        if (c == 0)
          continue;
        const std::uint16_t code = std::uint16_t(lead << 8 | trail);
        auto it = r.encode.find(c);
        // A character with several codes is written with the lowest one,
        // except that the IBM extension wins over its NEC-selected copy.
        if (it == r.encode.end() || (isNecSelectedIbm(it->second) && isIbmExtension(code)))
          r.encode[c] = code;
      }
    }
    // Characters that other systems write with a neighbouring code point.
    const std::pair<char16_t, std::uint16_t> alike[] = {
        {u'\u301C', 0x8160},  // WAVE DASH, written like the fullwidth tilde
        {u'\u2016', 0x8161},  // DOUBLE VERTICAL LINE
        {u'\u2212', 0x817C},  // MINUS SIGN
        {u'\u00A2', 0x8191},  // CENT SIGN
        {u'\u00A3', 0x8192},  // POUND SIGN
        {u'\u00AC', 0x81CA},  // NOT SIGN
        {u'\u2014', 0x815C},  // EM DASH
    };
    for (const auto& [c, code] : alike)
      r.encode.emplace(c, code);

    for (int lead = 0xFA; lead <= 0xFC; ++lead)
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        const char16_t c = charOfCode(lead, trail);
        if (c == 0)
          continue;
        for (int l2 = 0x81; l2 <= 0xEF && !r.ibmToJisRange.count(std::uint16_t(lead << 8 | trail)); ++l2) {
          if (!isLeadByte(l2))
            continue;
          for (int t2 = 0x40; t2 <= 0xFC; ++t2)
            if (charOfCode(l2, t2) == c) {
              r.ibmToJisRange[std::uint16_t(lead << 8 | trail)] = std::uint16_t(l2 << 8 | t2);
              break;
            }
        }
      }
    return r;
  }();
  return t;
}

QString hexBytes(unsigned char a, unsigned char b)
{
  return QStringLiteral("%1 %2").arg(a, 2, 16, QLatin1Char('0')).arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

// Shift_JIS pair -> JIS X 0208 pair (each 0x21..0x7E), or throws.
std::pair<unsigned char, unsigned char> sjisToJisPair(unsigned char s1, unsigned char s2)
{
  if (!isTrailByte(s2))
    throw EJapaneseCodeError(QStringLiteral("Shift_JIS として読めないバイト列です（%1）。").arg(hexBytes(s1, s2)));
  std::uint16_t code = std::uint16_t(s1 << 8 | s2);
  if (s1 >= 0xF0) {
    const auto& map = tables().ibmToJisRange;
    auto it = map.find(code);
    if (it == map.end())
      throw EJapaneseCodeError(
          QStringLiteral("Shift_JIS の文字（%1）は JIS コードで表せません。").arg(hexBytes(s1, s2)));
    code = it->second;
    s1 = code >> 8;
    s2 = code & 0xFF;
  }
  int lead = s1 >= 0xE0 ? s1 - 0x40 : s1;
  int j1 = (lead - 0x81) * 2 + 0x21;
  int j2;
  if (s2 >= 0x9F) {
    ++j1;
    j2 = s2 - 0x7E;
  } else {
    j2 = s2 - 0x1F - (s2 >= 0x80 ? 1 : 0);
  }
  return {static_cast<unsigned char>(j1), static_cast<unsigned char>(j2)};
}

std::pair<unsigned char, unsigned char> jisToSJisPair(unsigned char j1, unsigned char j2)
{
  const int s1 = (j1 + 1) / 2 + (j1 <= 0x5E ? 0x70 : 0xB0);
  int s2;
  if (j1 % 2 == 1)
    s2 = j2 + 0x1F + (j2 >= 0x60 ? 1 : 0);
  else
    s2 = j2 + 0x7E;
  return {static_cast<unsigned char>(s1), static_cast<unsigned char>(s2)};
}

bool isJisByte(unsigned char b)
{
  return b >= 0x21 && b <= 0x7E;
}

QByteArray pair(std::uint16_t code)
{
  QByteArray r;
  r.append(char(code >> 8));
  r.append(char(code & 0xFF));
  return r;
}

QByteArray encodeChar(char16_t c)
{
  if (c < 0x80)
    return QByteArray(1, char(c));
  if (c >= 0xFF61 && c <= 0xFF9F)
    return QByteArray(1, char(c - 0xFF61 + 0xA1));
  const auto& map = tables().encode;
  auto it = map.find(c);
  if (it == map.end())
    return {};
  return pair(it->second);
}

// Full-width Shift_JIS of a half-width katakana byte.
QByteArray zenOf(unsigned char b)
{
  if (b == 0xDE)
    return pair(0x814A);  // ゛
  if (b == 0xDF)
    return pair(0x814B);  // ゜
  const QString full = QString(QChar(char16_t(0xFF61 + b - 0xA1))).normalized(QString::NormalizationForm_KC);
  return full.size() == 1 ? encodeChar(full.at(0).unicode()) : QByteArray();
}

// Letter and mark merged into one full-width letter, or empty.
QByteArray mergedOf(unsigned char letter, unsigned char mark)
{
  const bool voicedBase = letter == 0xB3 || (letter >= 0xB6 && letter <= 0xC4) || (letter >= 0xCA && letter <= 0xCE);
  const bool semiBase = letter >= 0xCA && letter <= 0xCE;
  if (!((mark == 0xDE && voicedBase) || (mark == 0xDF && semiBase)))
    return {};
  const QString full = QString(QChar(char16_t(0xFF61 + letter - 0xA1))).normalized(QString::NormalizationForm_KC);
  const QString merged = (full + QChar(mark == 0xDE ? u'\u3099' : u'\u309A')).normalized(QString::NormalizationForm_C);
  return merged.size() == 1 ? encodeChar(merged.at(0).unicode()) : QByteArray();
}

int base64Value(char c)
{
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  if (c == '+')
    return 62;
  if (c == '/')
    return 63;
  return 0;
}

int hexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

}  // namespace

QByteArray TxPzConv::HanKanaToZen(const QByteArray& text) const
{
  if (FJisKanaConvType == ktNone)
    return text;
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text.at(i));
    if (isLeadByte(b) && i + 1 < text.size()) {
      out.append(text.mid(i, 2));
      ++i;
    } else if (isHalfKana(b)) {
      if (FJisKanaConvType == ktZenWithDaku && i + 1 < text.size()) {
        const QByteArray merged = mergedOf(b, static_cast<unsigned char>(text.at(i + 1)));
        if (!merged.isEmpty()) {
          out.append(merged);
          ++i;
          continue;
        }
      }
      out.append(zenOf(b));
    } else {
      out.append(char(b));
    }
  }
  return out;
}

QByteArray TxPzConv::JisToSJis(const QByteArray& text) const
{
  QByteArray out;
  bool doubleByte = false;
  qsizetype i = 0;
  while (i < text.size()) {
    if (text.at(i) == '\x1B') {
      const QByteArray esc = text.mid(i, 3);
      if (esc == kJisStart) {
        doubleByte = true;
        i += 3;
        continue;
      }
      if (esc == "\x1B(B" || esc == "\x1B(J") {
        doubleByte = false;
        i += 3;
        continue;
      }
    }
    if (!doubleByte || text.at(i) == '\x1B') {
      out.append(text.at(i));
      ++i;
      continue;
    }
    if (i + 1 >= text.size())
      break;  // a lone last byte gives nothing
    const auto j1 = static_cast<unsigned char>(text.at(i));
    const auto j2 = static_cast<unsigned char>(text.at(i + 1));
    if (isJisByte(j1) && isJisByte(j2)) {
      const auto [s1, s2] = jisToSJisPair(j1, j2);
      out.append(char(s1));
      out.append(char(s2));
    }
    i += 2;
  }
  return out;
}

QByteArray TxPzConv::SJisToJis(const QByteArray& text) const
{
  const QByteArray src = HanKanaToZen(text);
  const QByteArray close = FJisByteCodeType == btRoman ? QByteArrayLiteral("\x1B(J") : QByteArrayLiteral("\x1B(B");
  QByteArray out;
  bool doubleByte = false;
  for (qsizetype i = 0; i < src.size(); ++i) {
    const auto b = static_cast<unsigned char>(src.at(i));
    if (isLeadByte(b)) {
      if (i + 1 >= src.size())
        throw EJapaneseCodeError(QStringLiteral("Shift_JIS の文字が途中で切れています（%1 バイト目）。").arg(i + 1));
      const auto [j1, j2] = sjisToJisPair(b, static_cast<unsigned char>(src.at(i + 1)));
      if (!doubleByte)
        out.append(kJisStart);
      doubleByte = true;
      out.append(char(j1));
      out.append(char(j2));
      ++i;
    } else {
      if (doubleByte)
        out.append(close);
      doubleByte = false;
      out.append(char(b));
    }
  }
  if (doubleByte)
    out.append(close);
  return out;
}

QByteArray TxPzConv::EucToSJis(const QByteArray& text) const
{
  QByteArray out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text.at(i));
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text.at(i + 1)) : 0;
    if (b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE) {
      const auto [s1, s2] = jisToSJisPair(b - 0x80, next - 0x80);
      out.append(char(s1));
      out.append(char(s2));
      ++i;
    } else if (b == 0x8E && isHalfKana(next)) {
      out.append(char(next));
      ++i;
    } else {
      out.append(char(b));
    }
  }
  return out;
}

QByteArray TxPzConv::SJisToEuc(const QByteArray& text) const
{
  const QByteArray src = HanKanaToZen(text);
  QByteArray out;
  for (qsizetype i = 0; i < src.size(); ++i) {
    const auto b = static_cast<unsigned char>(src.at(i));
    if (isLeadByte(b)) {
      if (i + 1 >= src.size())
        throw EJapaneseCodeError(QStringLiteral("Shift_JIS の文字が途中で切れています（%1 バイト目）。").arg(i + 1));
      const auto [j1, j2] = sjisToJisPair(b, static_cast<unsigned char>(src.at(i + 1)));
      out.append(char(j1 + 0x80));
      out.append(char(j2 + 0x80));
      ++i;
    } else if (isHalfKana(b)) {
      out.append('\x8E');
      out.append(char(b));
    } else {
      out.append(char(b));
    }
  }
  return out;
}

QByteArray TxPzConv::WebEncode(const QByteArray& text) const
{
  static const char hex[] = "0123456789abcdef";
  QByteArray out;
  out.reserve(text.size() * 3);
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 || ch == '+' || ch == '%' || ch == '&' || ch == '=') {
      out.append('%');
      out.append(hex[b >> 4]);
      out.append(hex[b & 0x0F]);
    } else if (ch == ' ') {
      out.append('+');
    } else {
      out.append(ch);
    }
  }
  return out;
}

QByteArray TxPzConv::WebDecode(const QByteArray& text) const
{
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char ch = text.at(i);
    if (ch == '%' && i + 2 < text.size() && hexValue(text.at(i + 1)) >= 0 && hexValue(text.at(i + 2)) >= 0) {
      out.append(char(hexValue(text.at(i + 1)) * 16 + hexValue(text.at(i + 2))));
      i += 2;
    } else if (ch == '+') {
      out.append(' ');
    } else {
      out.append(ch);
    }
  }
  return out;
}

QByteArray TxPzConv::B64Encode(const QByteArray& data) const
{
  QByteArray out;
  out.reserve((data.size() + 2) / 3 * 4);
  for (qsizetype i = 0; i < data.size(); i += 3) {
    const qsizetype n = std::min<qsizetype>(3, data.size() - i);
    std::uint32_t v = std::uint32_t(static_cast<unsigned char>(data.at(i))) << 16;
    if (n > 1)
      v |= std::uint32_t(static_cast<unsigned char>(data.at(i + 1))) << 8;
    if (n > 2)
      v |= static_cast<unsigned char>(data.at(i + 2));
    out.append(kBase64Alphabet[(v >> 18) & 63]);
    out.append(kBase64Alphabet[(v >> 12) & 63]);
    out.append(n > 1 ? kBase64Alphabet[(v >> 6) & 63] : '=');
    out.append(n > 2 ? kBase64Alphabet[v & 63] : '=');
  }
  return out;
}

QByteArray TxPzConv::B64Decode(const QByteArray& text) const
{
  QByteArray out;
  out.reserve(text.size() / 4 * 3);
  for (qsizetype i = 0; i + 4 <= text.size(); i += 4) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
      v = v << 6 | base64Value(text.at(i + k));
    int bytes = 3;
    if (text.at(i + 2) == '=')
      bytes = 1;
    else if (text.at(i + 3) == '=')
      bytes = 2;
    out.append(char(v >> 16));
    if (bytes > 1)
      out.append(char((v >> 8) & 0xFF));
    if (bytes > 2)
      out.append(char(v & 0xFF));
  }
  return out;
}

QByteArray TxPzConv::MIMEHeaderEncode(const QByteArray& text) const
{
  bool hasDoubleByte = false;
  for (qsizetype i = 0; i + 1 < text.size() && !hasDoubleByte; ++i)
    hasDoubleByte = isLeadByte(static_cast<unsigned char>(text.at(i)));
  if (!hasDoubleByte)
    return text;
  return kMimePrefix + B64Encode(SJisToJis(text)) + "?=";
}

QByteArray TxPzConv::MIMEHeaderDecode(const QByteArray& text) const
{
  QByteArray out;
  QByteArray word;
  bool inWord = false;
  bool pending = false;  // a closed word waiting to be written
  auto flush = [&] {
    if (pending)
      out.append(JisToSJis(B64Decode(word)));
    pending = false;
    word.clear();
  };
  qsizetype i = 0;
  while (i < text.size()) {
    if (text.size() - i >= kMimePrefix.size() &&
        text.mid(i, kMimePrefix.size()).compare(kMimePrefix, Qt::CaseInsensitive) == 0) {
      if (!inWord)
        flush();  // a word written right before this one
      inWord = true;
      i += kMimePrefix.size();
      continue;
    }
    if (text.at(i) == '?' && i + 1 < text.size() && text.at(i + 1) == '=') {
      if (inWord) {
        inWord = false;
        pending = true;
      }
      i += 2;
      continue;
    }
    if (inWord) {
      word.append(text.at(i));
    } else {
      flush();
      out.append(text.at(i));
    }
    ++i;
  }
  flush();  // a word still open stays unwritten: pending is false for it
  return out;
}

QByteArray UnicodeToSJis(const QString& text)
{
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    QByteArray bytes;
    if (!c.isSurrogate())
      bytes = encodeChar(c.unicode());
    if (bytes.isEmpty()) {
      char32_t cp = c.unicode();
      QString shown(c);
      if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        cp = QChar::surrogateToUcs4(c, text.at(i + 1));
        shown = text.mid(i, 2);
      }
      throw EJapaneseCodeError(QStringLiteral("文字「%1」(U+%2) は Shift_JIS で表せません。")
                                   .arg(shown, QString::number(uint(cp), 16).toUpper().rightJustified(4, u'0')));
    }
    out.append(bytes);
  }
  return out;
}

QString SJisToUnicode(const QByteArray& bytes)
{
  QString out;
  out.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes.at(i));
    if (b < 0x80) {
      out.append(QChar(char16_t(b)));
    } else if (isHalfKana(b)) {
      out.append(QChar(char16_t(0xFF61 + b - 0xA1)));
    } else {
      const char16_t c = i + 1 < bytes.size() ? charOfCode(b, static_cast<unsigned char>(bytes.at(i + 1))) : 0;
      if (c == 0)
        throw EJapaneseCodeError(QStringLiteral("Shift_JIS として読めないバイト列です（%1 バイト目）。").arg(i + 1));
      out.append(QChar(c));
      ++i;
    }
  }
  return out;
}
