#include "ui/AbacorExDateEdit.h"

#include <cmath>

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QRegularExpressionValidator>

#include "platform/Abort.h"

namespace {

const QString kSeireki = QStringLiteral("西暦");
const QString kAm = QStringLiteral("午前");
const QString kPm = QStringLiteral("午後");

// Days of 0001-01-01 and 9999-12-31.
constexpr double kMinDay = -693593.0;
constexpr double kMaxDay = 2958466.0;

int toInt(const QString& AText)
{
  bool ok = false;
  const int n = AText.toInt(&ok);
  return ok ? n : 0;
}

}  // namespace

// ---------------------------------------------------------- caption cell

TAbacorExDateEditLabel::TAbacorExDateEditLabel(TAbacorExDateEdit* AOwner) : QWidget(AOwner), FplDate(AOwner)
{
  setFocusPolicy(Qt::NoFocus);
}

void TAbacorExDateEditLabel::SetText(const QString& AText)
{
  FText = AText;
  update();
}

void TAbacorExDateEditLabel::SetColor(TColor AColor)
{
  FColor = AColor;
  update();
}

void TAbacorExDateEditLabel::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, toQColor(FColor));
  if (FplDate) {
    // A raised flat edge.
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(160, 160, 160));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
  }
  QFont f = font();
  f.setBold(false);
  f.setItalic(false);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, FText);
}

// ---------------------------------------------------------- the control

const TGengoArray& TAbacorExDateEdit::BuiltInEras()
{
  static const TGengoArray eras = [] {
    TGengoArray a;
    a.push_back({QStringLiteral("令和"), QStringLiteral("R"), EncodeDate(2019, 5, 1), 2019});
    a.push_back({QStringLiteral("平成"), QStringLiteral("H"), EncodeDate(1989, 1, 8), 1989});
    a.push_back({QStringLiteral("昭和"), QStringLiteral("S"), EncodeDate(1926, 12, 25), 1926});
    a.push_back({QStringLiteral("大正"), QStringLiteral("T"), EncodeDate(1912, 7, 30), 1912});
    a.push_back({QStringLiteral("明治"), QStringLiteral("M"), EncodeDate(1868, 9, 8), 1868});
    return a;
  }();
  return eras;
}

TAbacorExDateEdit::TAbacorExDateEdit(QWidget* AParent) : QWidget(AParent)
{
  FBaseDate = EncodeDate(1873, 1, 1);
  FEmptyDate = FBaseDate - 1;
  FDateTime = FMinDate = FMaxDate = FEmptyDate;
  FDialogCaption = QStringLiteral("日付時刻入力");
  const char* captions[6] = {"年", "月", "日", "時", "分", "秒"};
  setFocusPolicy(Qt::NoFocus);

  auto makeCombo = [this] {
    auto* c = new QComboBox(this);
    c->setEditable(false);
    c->setAttribute(Qt::WA_InputMethodEnabled, false);
    c->setMaxVisibleItems(12);
    c->installEventFilter(this);
    connect(c, &QComboBox::currentIndexChanged, this, [this, c](int) { FieldChange(c); });
    return c;
  };
  FGengoCombo = makeCombo();
  FGengoCombo->setObjectName(QStringLiteral("GengoCombo"));
  for (int i = 0; i < 6; ++i) {
    if (i == 3) {
      FAmpmCombo = makeCombo();
      FAmpmCombo->setObjectName(QStringLiteral("AmpmCombo"));
      FAmpmCombo->addItems({kAm, kPm});
      FAmpmCombo->setCurrentIndex(-1);
    }
    auto* e = new QLineEdit(this);
    static const char* names[6] = {"YearEdit", "MonthEdit", "DayEdit", "HourEdit", "MinuteEdit", "SecondEdit"};
    e->setObjectName(QString::fromLatin1(names[i]));
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setMaxLength(2);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    e->setFrame(true);
    e->installEventFilter(this);
    connect(e, &QLineEdit::textChanged, this, [this, e](const QString&) { FieldChange(e); });
    FEdits[i] = e;
    FLabelTexts[i] = QString::fromUtf8(captions[i]);
    FLabels[i] = new TAbacorExDateEditLabel(this);
    FLabels[i]->SetText(FLabelTexts[i]);
    FLabels[i]->SetColor(FLabelColor);
  }
  refillGengoCombo();
  relayout();
  recolour();
  clearFields();
}

TAbacorExDateEdit::~TAbacorExDateEdit() = default;

// ---------------------------------------------------------- parts shown

bool TAbacorExDateEdit::partShown(TPart APart) const
{
  static const bool table[9][6] = {
      // year month day hour minute second
      {true, true, true, true, true, true},       // desYearMonthDayHMS
      {true, true, true, true, true, false},      // desYearMonthDayHM
      {true, true, true, true, false, false},     // desYearMonthDayH
      {true, true, true, false, false, false},    // desYearMonthDay
      {true, true, false, false, false, false},   // desYearMonth
      {true, false, false, false, false, false},  // desYear
      {false, false, false, true, true, true},    // desHourMinuteSecond
      {false, false, false, true, true, false},   // desHourMinute
      {false, false, false, true, false, false},  // desHour
  };
  const bool* row = table[FEditStyle];
  switch (APart) {
    case ptGengo:
      return FEditGengo && row[0];
    case ptYear:
      return row[0];
    case ptMonth:
      return row[1];
    case ptDay:
      return row[2];
    case ptAmpm:
      return FEditAmpm && row[3];
    case ptHour:
      return row[3];
    case ptMinute:
      return row[4];
    case ptSecond:
      return row[5];
  }
  return false;
}

QWidget* TAbacorExDateEdit::partWidget(TPart APart) const
{
  switch (APart) {
    case ptGengo:
      return FGengoCombo;
    case ptYear:
      return FEdits[0];
    case ptMonth:
      return FEdits[1];
    case ptDay:
      return FEdits[2];
    case ptAmpm:
      return FAmpmCombo;
    case ptHour:
      return FEdits[3];
    case ptMinute:
      return FEdits[4];
    case ptSecond:
      return FEdits[5];
  }
  return nullptr;
}

bool TAbacorExDateEdit::yearFourDigits() const
{
  return FYeardigit == yddigit4 && FGengo != rsWareki;
}

bool TAbacorExDateEdit::isEmptyValue(TDateTime AValue) const
{
  // 0 is "no date"; so is anything up to the empty value before the
  // earliest processable date. Dates from 1873 to 1899 count below zero
  // and are dates like any other.
  return AValue == 0 || AValue <= FEmptyDate;
}

bool TAbacorExDateEdit::IsEmpty() const
{
  for (TPart p : {ptYear, ptMonth, ptDay, ptHour, ptMinute, ptSecond})
    if (partShown(p) && !static_cast<QLineEdit*>(partWidget(p))->text().trimmed().isEmpty())
      return false;
  return true;
}

TDateTime TAbacorExDateEdit::clampValue(TDateTime AValue) const
{
  if (minSet() && AValue < FMinDate)
    AValue = FMinDate;
  if (maxSet() && AValue > FMaxDate)
    AValue = FMaxDate;
  return AValue;
}

// ---------------------------------------------------------- errors

void TAbacorExDateEdit::fail(const QString& AText, TAbacorExDateEditErrors AErrors, QWidget* AFocus)
{
  FErrorKinds = AErrors;
  if (FDisplayError) {
    QMessageBox box(QMessageBox::Information, FDialogCaption, AText, QMessageBox::Ok, window());
    box.exec();
  }
  if (!AFocus) {
    for (TPart p : {ptGengo, ptYear, ptAmpm, ptHour})
      if (partShown(p)) {
        AFocus = partWidget(p);
        break;
      }
  }
  if (AFocus && isVisible() && isEnabled())
    AFocus->setFocus(Qt::OtherFocusReason);
  Abort();
}

// ---------------------------------------------------------- value

void TAbacorExDateEdit::SetDateTime(TDateTime AValue)
{
  if (!std::isfinite(AValue) || AValue < kMinDay || AValue >= kMaxDay) {
    fail(QStringLiteral("正しくない日付時刻型の値がセットされました．　　"), derBit(derSetDateTimeError), nullptr);
  }
  if (!isEmptyValue(AValue)) {
    if (partShown(ptYear) && partShown(ptHour))
      ;  // the whole value
    else if (partShown(ptYear))
      AValue = DateOf(AValue);
    else
      AValue = TimeOf(AValue);
  }
  if (!isEmptyValue(AValue))
    AValue = clampValue(AValue);
  FDateTime = AValue;
  if (!isEmptyValue(AValue)) {
    showValue(AValue);
  } else {
    FDateTime = FEmptyDate;
    clearFields();
  }
}

TDateTime TAbacorExDateEdit::DateTime()
{
  const TDateTime v = readFields();
  return isEmptyValue(v) ? 0 : v;
}

void TAbacorExDateEdit::clearFields()
{
  const QSignalBlocker b1(FGengoCombo);
  const QSignalBlocker b2(FAmpmCombo);
  FGengoCombo->setCurrentIndex(-1);
  FAmpmCombo->setCurrentIndex(-1);
  for (QLineEdit* e : FEdits)
    e->clear();
  FGengoStr.clear();
  FGengoYearStr.clear();
  FAmpmStr.clear();
  FYearStr.clear();
  FMonthStr.clear();
  FDayStr.clear();
  FHourStr.clear();
  FMinuteStr.clear();
  FSecondStr.clear();
  FGengoYear = FYear = FMonth = FDay = FHour = FMinute = FSecond = 0;
  FIsEmpty = true;
}

void TAbacorExDateEdit::SetEditEmpty()
{
  clearFields();
  FDateTime = FEmptyDate;
}

TGengoArray TAbacorExDateEdit::OfferedEras() const
{
  const TGengoArray& source = (FUseWarekiTable && !FGengoRecA.empty()) ? FGengoRecA : BuiltInEras();
  TGengoArray out;
  for (const auto& g : source) {
    if (g.Name.isEmpty())
      break;
    out.push_back(g);
  }
  return out;
}

void TAbacorExDateEdit::showValue(TDateTime AValue)
{
  if (partShown(ptYear) && AValue >= FBaseDate) {
    int y = 0, m = 0, d = 0;
    DecodeDate(AValue, y, m, d);
    FYear = y;
    FMonth = m;
    FDay = d;
    FYearStr = QStringLiteral("%1").arg(y, 4, 10, QLatin1Char('0'));
    const QSignalBlocker block(FGengoCombo);
    if (FGengo == rsWareki || FGengo == rsBoth) {
      const TGengoArray eras = OfferedEras();
      int idx = static_cast<int>(eras.size()) - 1;  // before all of them: the oldest
      for (int i = 0; i < static_cast<int>(eras.size()); ++i) {
        if (eras[i].StartDate <= DateOf(AValue)) {
          idx = i;
          break;
        }
      }
      if (idx >= 0) {
        FGengoYear = y - eras[idx].YearOffSet + 1;
        FGengoStr = eras[idx].Name;
        FGengoCombo->setCurrentIndex(idx + (FGengo == rsBoth ? 1 : 0));
      } else {
        FGengoYear = y;
        FGengoStr.clear();
      }
      FGengoYearStr = QString::number(FGengoYear);
      FEdits[0]->setText(FGengoYearStr);
    } else {
      FGengoCombo->setCurrentIndex(FGengoCombo->count() > 0 ? 0 : -1);
      FGengoStr = kSeireki;
      FGengoYear = y;
      FGengoYearStr = QString::number(y);
      FEdits[0]->setText(FYeardigit == yddigit2 ? QStringLiteral("%1").arg(y % 100, 2, 10, QLatin1Char('0'))
                                                : QString::number(y));
    }
    FMonthStr = QString::number(m);
    FDayStr = QString::number(d);
    FEdits[1]->setText(FMonthStr);
    FEdits[2]->setText(FDayStr);
  }
  if (partShown(ptHour) && TimeOf(AValue) > 0) {
    int h = 0, mi = 0, s = 0, ms = 0;
    DecodeTime(AValue, h, mi, s, ms);
    FHour = h;
    FMinute = mi;
    FSecond = s;
    int shownHour = h;
    if (FEditAmpm) {
      const QSignalBlocker block(FAmpmCombo);
      FAmpmCombo->setCurrentIndex(h >= 12 ? 1 : 0);
      FAmpmStr = h >= 12 ? kPm : kAm;
      if (h >= 12)
        shownHour = h - 12;
    }
    FHourStr = QString::number(shownHour);
    FMinuteStr = QString::number(mi);
    FSecondStr = QString::number(s);
    FEdits[3]->setText(FHourStr);
    FEdits[4]->setText(FMinuteStr);
    FEdits[5]->setText(FSecondStr);
  }
  FIsEmpty = false;
}

TDateTime TAbacorExDateEdit::readFields()
{
  FErrorKinds = 0;
  if (!FEditGengo) {
    const QSignalBlocker block(FGengoCombo);
    FGengoCombo->setCurrentIndex(-1);
  }

  // 1. The texts; parts not shown take fixed texts.
  const int thisYear = YearOf(maxSet() ? FMaxDate : ::Date());
  const QString fixedYear = FYeardigit == yddigit2 ? QStringLiteral("%1").arg(thisYear % 100, 2, 10, QLatin1Char('0'))
                                                   : QString::number(thisYear);
  const QString gengo = FGengoCombo->currentText().trimmed();
  const QString ampm = partShown(ptAmpm) ? FAmpmCombo->currentText().trimmed() : QStringLiteral("AM");
  const QString year = partShown(ptYear) ? FEdits[0]->text().trimmed() : fixedYear;
  const QString month = partShown(ptMonth) ? FEdits[1]->text().trimmed() : QStringLiteral("1");
  const QString day = partShown(ptDay) ? FEdits[2]->text().trimmed() : QStringLiteral("1");
  const QString hour = partShown(ptHour) ? FEdits[3]->text().trimmed() : QStringLiteral("0");
  const QString minute = partShown(ptMinute) ? FEdits[4]->text().trimmed() : QStringLiteral("0");
  const QString second = partShown(ptSecond) ? FEdits[5]->text().trimmed() : QStringLiteral("0");

  // 2. Every number field empty: the control is empty.
  if (IsEmpty()) {
    if (!FCanEmpty)
      fail(QStringLiteral("入力欄が全て空白です．　　"), derBit(derAllEmpty), nullptr);
    SetEditEmpty();
    return FEmptyDate;
  }

  // 3. Some field empty.
  struct Check {
    TPart part;
    const QString* text;
    TAbacorExDateEditError error;
  } checks[] = {
      {ptYear, &year, derYearEmpty},       {ptMonth, &month, derMonthEmpty}, {ptDay, &day, derDayEmpty},
      {ptAmpm, &ampm, derAMPMEmpty},       {ptHour, &hour, derHourEmpty},    {ptMinute, &minute, derMinuteEmpty},
      {ptSecond, &second, derSecondEmpty},
  };
  TAbacorExDateEditErrors empties = 0;
  QWidget* firstEmpty = nullptr;
  for (const auto& c : checks) {
    if (partShown(c.part) && c.text->isEmpty())
      empties |= derBit(c.error);
  }
  if (empties) {
    if (partShown(ptGengo) && gengo.isEmpty())
      empties |= derBit(derYearEmpty);
    if (partShown(ptGengo) && gengo.isEmpty())
      firstEmpty = FGengoCombo;
    for (const auto& c : checks)
      if (!firstEmpty && partShown(c.part) && c.text->isEmpty())
        firstEmpty = partWidget(c.part);
    fail(QStringLiteral("空白の入力欄があります．　　"), empties, firstEmpty);
  }

  // 4. The year.
  int f = 0;
  if (FEditGengo) {
    for (int i = 0; i < FGengoCombo->count(); ++i)
      if (FGengoCombo->itemText(i) == gengo) {
        f = i;
        break;
      }
  }
  if (FGengo == rsWareki)
    ++f;
  int y = toInt(year);
  const TGengoArray eras = OfferedEras();
  if (f == 0) {
    if (FYeardigit == yddigit2)
      y += (YearOf(::Date()) / 100) * 100;
  } else if (f - 1 < static_cast<int>(eras.size())) {
    y = y + eras[f - 1].YearOffSet - 1;
  }
  const int mo = toInt(month);
  const int d = toInt(day);

  // 5. The time.
  TDateTime time = 0;
  if (partShown(ptHour)) {
    int h = toInt(hour);
    const int mi = toInt(minute);
    const int s = toInt(second);
    const bool twelve = partShown(ptAmpm);
    const QString limit = twelve ? QStringLiteral("時刻の入力可能な値は11時59分59秒までです．　　")
                                 : QStringLiteral("時刻の入力可能な値は23時59分59秒までです．　　");
    if (h >= (twelve ? 12 : 24))
      fail(limit, derBit(derTimeError), FEdits[3]);
    if (mi > 59 || s > 59)
      fail(limit, derBit(derTimeError), FEdits[4]);
    if (ampm == kPm)
      h += 12;
    if (!TryEncodeTime(h, mi, s, 0, time))
      fail(QStringLiteral("時刻が正しくありません．　　"), derBit(derTimeError),
           FEditAmpm ? static_cast<QWidget*>(FAmpmCombo) : FEdits[3]);
  }

  // 6. The date.
  TDateTime date = 0;
  if (partShown(ptYear)) {
    if (y < 1873)
      fail(QStringLiteral("1873年01月01日(明治6年01月01日)より前の日付は処理できません．　　"),
           derBit(derBeforeBaseDate), FEdits[0]);
    if (y >= 2999 && (FGengo == rsWareki || FGengo == rsBoth))
      fail(QStringLiteral("2999年以降は元号に変換できません．　　"), derBit(derChangeGengo), FEdits[0]);
    if (!TryEncodeDate(y, mo, d, date))
      fail(QStringLiteral("日付が正しくありません（変換できません）．　　"), derBit(derDateError), FEdits[0]);
  }

  // 7. The value.
  TDateTime value = partShown(ptYear) ? ComposeDateTime(date, time) : time;
  if (!std::isfinite(value))
    fail(QStringLiteral("日付または時刻が正しくありません．　　"), derBit(derDateTimeError), nullptr);
  value = clampValue(value);
  FDateTime = value;
  FAmpmStr = partShown(ptAmpm) ? ampm : QString();
  if (!isEmptyValue(value)) {
    showValue(value);
  } else if (!partShown(ptYear)) {
    // Midnight in a time-only style: the fields show 0.
    FHour = FMinute = FSecond = 0;
    FHourStr = hour;
    FMinuteStr = minute;
    FSecondStr = second;
    FIsEmpty = false;
  }
  return value;
}

// ---------------------------------------------------------- parts

int TAbacorExDateEdit::GengoYear()
{
  readFields();
  return FGengoYear;
}
int TAbacorExDateEdit::Year()
{
  readFields();
  return FYear;
}
int TAbacorExDateEdit::Month()
{
  readFields();
  return FMonth;
}
int TAbacorExDateEdit::Day()
{
  readFields();
  return FDay;
}
int TAbacorExDateEdit::Hour()
{
  readFields();
  return FHour;
}
int TAbacorExDateEdit::Minute()
{
  readFields();
  return FMinute;
}
int TAbacorExDateEdit::Second()
{
  readFields();
  return FSecond;
}
QString TAbacorExDateEdit::GengoStr()
{
  readFields();
  return FGengoStr;
}
QString TAbacorExDateEdit::GengoYearStr()
{
  readFields();
  return FGengoYearStr;
}
QString TAbacorExDateEdit::YearStr()
{
  readFields();
  return FYearStr;
}
QString TAbacorExDateEdit::MonthStr()
{
  readFields();
  return FMonthStr;
}
QString TAbacorExDateEdit::DayStr()
{
  readFields();
  return FDayStr;
}
QString TAbacorExDateEdit::AmpmStr()
{
  readFields();
  return FAmpmStr;
}
QString TAbacorExDateEdit::HourStr()
{
  readFields();
  return FHourStr;
}
QString TAbacorExDateEdit::MinuteStr()
{
  readFields();
  return FMinuteStr;
}
QString TAbacorExDateEdit::SecondStr()
{
  readFields();
  return FSecondStr;
}

// ---------------------------------------------------------- age

bool TAbacorExDateEdit::GetAge(TDateTime Date1, TDateTime Date2, int AgeType, int& gAge, int& gMonth)
{
  gAge = 0;
  gMonth = 0;
  if (!std::isfinite(Date1) || !std::isfinite(Date2) || Date1 < kMinDay || Date2 < kMinDay || Date1 >= kMaxDay ||
      Date2 >= kMaxDay)
    return false;
  int y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
  DecodeDate(Date1, y1, m1, d1);
  DecodeDate(Date2, y2, m2, d2);
  if (AgeType == 0) {
    if (d1 > d2)
      --m2;
  } else {
    if (d2 == DaysInAMonth(y2, m2)) {
      if (m2 == 12) {
        ++y2;
        m2 = 1;
      } else {
        ++m2;
      }
      d2 = 0;
    }
    if (d1 > d2 + 1)
      --m2;
  }
  int month = m2 - m1;
  int age = y2 - y1;
  if (month >= -12 && month <= -1) {
    --age;
    month += 12;
  }
  if (age < 0)
    return false;
  gAge = age;
  gMonth = month;
  return true;
}

// ---------------------------------------------------------- era table

void TAbacorExDateEdit::SetGengoRec(const TGengoArray& AValue)
{
  FUseWarekiTable = true;
  FGengoRec = AValue;
  rebuildEraWindow();
}

void TAbacorExDateEdit::rebuildEraWindow()
{
  const int n = static_cast<int>(FGengoRec.size());
  FGengoRecA.clear();
  if (n > 0) {
    int last = n - 1;
    int first = 0;
    const TDateTime upperStart = EncodeDate(2101, 1, 1);
    if (FMinDate > FBaseDate + 1) {
      TDateTime upper = upperStart;
      for (int i = 0; i < n; ++i) {
        if (FGengoRec[i].StartDate <= FMinDate && upper > FMinDate) {
          last = i;
          break;
        }
        upper = FGengoRec[i].StartDate;
      }
    }
    if (FMaxDate > FBaseDate + 1 && FMaxDate < upperStart) {
      for (int i = 0; i < n; ++i)
        if (FGengoRec[i].StartDate <= FMaxDate) {
          first = i;
          break;
        }
    }
    if (first > last) {
      first = 0;
      last = n - 1;
    }
    for (int i = first; i <= last; ++i)
      FGengoRecA.push_back(FGengoRec[i]);
  }
  refillGengoCombo();
}

void TAbacorExDateEdit::refillGengoCombo()
{
  const QSignalBlocker block(FGengoCombo);
  FGengoCombo->clear();
  if (FGengo != rsWareki)
    FGengoCombo->addItem(kSeireki);
  for (const auto& g : OfferedEras())
    FGengoCombo->addItem(g.Name);
  FGengoCombo->setCurrentIndex(-1);
  if (!isEmptyValue(FDateTime))
    showValue(FDateTime);
}

// ---------------------------------------------------------- properties

void TAbacorExDateEdit::SetMinDate(TDateTime AValue)
{
  FMinDate = AValue == 0 ? FEmptyDate : AValue;
  rebuildEraWindow();
  if (!isEmptyValue(FDateTime))
    SetDateTime(FDateTime);
}

void TAbacorExDateEdit::SetMaxDate(TDateTime AValue)
{
  FMaxDate = AValue == 0 ? FEmptyDate : AValue;
  rebuildEraWindow();
  if (!isEmptyValue(FDateTime))
    SetDateTime(FDateTime);
}

void TAbacorExDateEdit::SetEditStyle(TAbacorExDateEditStyle AValue)
{
  FEditStyle = AValue;
  relayout();
  SetEditEmpty();
}

void TAbacorExDateEdit::SetEditGengo(bool AValue)
{
  FEditGengo = AValue;
  if (!AValue)
    FGengo = rsSeireki;
  refillGengoCombo();
  relayout();
  if (!isEmptyValue(FDateTime))
    showValue(FDateTime);
}

void TAbacorExDateEdit::SetEditAmpm(bool AValue)
{
  FEditAmpm = AValue;
  relayout();
  if (!isEmptyValue(FDateTime))
    showValue(FDateTime);
}

void TAbacorExDateEdit::SetLabelColor(TColor AValue)
{
  FLabelColor = AValue;
  for (auto* l : FLabels)
    l->SetColor(AValue);
}

void TAbacorExDateEdit::setLabelText(int AIndex, const QString& AText)
{
  FLabelTexts[AIndex] = AText;
  FLabels[AIndex]->SetText(AText);
  relayout();
}

void TAbacorExDateEdit::SetSpaceWidth(int AValue)
{
  FSpaceWidth = AValue;
  relayout();
}

void TAbacorExDateEdit::SetYeardigit(TAbacorExYeardigitSet AValue)
{
  FYeardigit = AValue;
  relayout();
  if (!isEmptyValue(FDateTime))
    showValue(FDateTime);
}

void TAbacorExDateEdit::SetUseWarekiTable(bool AValue)
{
  FUseWarekiTable = AValue;
  refillGengoCombo();
}

void TAbacorExDateEdit::SetGengo(TAbacorExRekiSet AValue)
{
  // A filled control keeps its value: it is read under the old setting
  // and shown again under the new one (quietly: a value that does not
  // read is dropped).
  TDateTime keep = FEmptyDate;
  if (!IsEmpty()) {
    const bool display = FDisplayError;
    FDisplayError = false;
    try {
      keep = readFields();
    } catch (const EAbort&) {
      keep = FEmptyDate;
    }
    FDisplayError = display;
  }
  FGengo = FEditGengo ? AValue : rsSeireki;
  FDateTime = FEmptyDate;
  clearFields();
  refillGengoCombo();
  relayout();
  if (!isEmptyValue(keep)) {
    FDateTime = keep;
    showValue(keep);
  }
}

void TAbacorExDateEdit::SetDisableColor(TColor AValue)
{
  FDisableColor = AValue;
  recolour();
}

void TAbacorExDateEdit::SetDisableFontColor(TColor AValue)
{
  FDisableFontColor = AValue;
  recolour();
}

void TAbacorExDateEdit::SetColor(TColor AValue)
{
  FColor = AValue;
  recolour();
}

void TAbacorExDateEdit::SetTabStop(bool AValue)
{
  FTabStop = AValue;
  fgTabStop = AValue;
  for (TPart p : {ptGengo, ptYear, ptMonth, ptDay, ptAmpm, ptHour, ptMinute, ptSecond})
    partWidget(p)->setFocusPolicy(AValue ? Qt::StrongFocus : Qt::ClickFocus);
}

// ---------------------------------------------------------- layout

void TAbacorExDateEdit::relayout()
{
  fgResize = true;
  const QFontMetrics fm(font());
  SingleHeight = fm.height() + 8;
  const int selW = fm.horizontalAdvance(QStringLiteral("0000")) + 26;
  const int yearW = yearFourDigits() ? fm.horizontalAdvance(QStringLiteral("0000")) + 20
                                     : fm.horizontalAdvance(QStringLiteral("00")) + 16;
  const int numW = fm.horizontalAdvance(QStringLiteral("00")) + 16;
  FEdits[0]->setMaxLength(yearFourDigits() ? 4 : 2);

  int right = 0;
  auto place = [&](QWidget* w, bool shown, int x, int y, int width) {
    w->setVisible(shown);
    if (!shown) {
      w->setGeometry(x, y, 0, SingleHeight);
      return x;
    }
    w->setGeometry(x, y, width, SingleHeight);
    right = std::max(right, x + width);
    return x + width;
  };

  int x = 0;
  int y = 0;
  bool any = false;
  if (partShown(ptGengo)) {
    x = place(FGengoCombo, true, 0, 0, selW) - 2;
  } else {
    place(FGengoCombo, false, 0, 0, 0);
  }
  const TPart dateParts[3] = {ptYear, ptMonth, ptDay};
  for (int i = 0; i < 3; ++i) {
    const bool shown = partShown(dateParts[i]);
    if (shown && any)
      x -= 3;  // overlaps the preceding caption
    const int after = place(FEdits[i], shown, x, y, i == 0 ? yearW : numW);
    const int capEnd = place(FLabels[i], shown, after, y, fm.horizontalAdvance(FLabelTexts[i]) + 14);
    if (shown) {
      x = capEnd;
      any = true;
    }
  }
  const bool timeShown = partShown(ptHour);
  int rows = 1;
  if (timeShown && any) {
    if (FSpaceWidth >= 0) {
      x += FSpaceWidth;
    } else {
      x = 0;
      y = SingleHeight - FSpaceWidth;
      rows = 2;
    }
  } else if (timeShown) {
    x = 0;
  }
  bool anyTime = false;
  if (partShown(ptAmpm)) {
    x = place(FAmpmCombo, true, x, y, selW) - 2;
  } else {
    place(FAmpmCombo, false, x, y, 0);
  }
  const TPart timeParts[3] = {ptHour, ptMinute, ptSecond};
  for (int i = 0; i < 3; ++i) {
    const bool shown = partShown(timeParts[i]);
    if (shown && anyTime)
      x -= 3;
    const int after = place(FEdits[3 + i], shown, x, y, numW);
    const int capEnd = place(FLabels[3 + i], shown, after, y, fm.horizontalAdvance(FLabelTexts[3 + i]) + 14);
    if (shown) {
      x = capEnd;
      anyTime = true;
    }
  }
  // Later parts overlap earlier ones: keep the stacking in field order.
  for (QWidget* w :
       {static_cast<QWidget*>(FGengoCombo), static_cast<QWidget*>(FEdits[0]), static_cast<QWidget*>(FLabels[0]),
        static_cast<QWidget*>(FEdits[1]), static_cast<QWidget*>(FLabels[1]), static_cast<QWidget*>(FEdits[2]),
        static_cast<QWidget*>(FLabels[2]), static_cast<QWidget*>(FAmpmCombo), static_cast<QWidget*>(FEdits[3]),
        static_cast<QWidget*>(FLabels[3]), static_cast<QWidget*>(FEdits[4]), static_cast<QWidget*>(FLabels[4]),
        static_cast<QWidget*>(FEdits[5]), static_cast<QWidget*>(FLabels[5])})
    w->raise();
  const int height = rows == 2 ? 2 * SingleHeight - FSpaceWidth : SingleHeight;
  setFixedSize(std::max(right, 1), height);
  fgResize = false;
}

void TAbacorExDateEdit::applyFieldColour(QWidget* AField, TColor ABack, TColor AFont)
{
  QPalette pal = AField->palette();
  for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
    pal.setColor(role, toQColor(ABack));
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
    pal.setColor(role, toQColor(AFont));
  AField->setPalette(pal);
}

void TAbacorExDateEdit::recolour()
{
  const bool on = isEnabled();
  const TColor back = on ? FColor : FDisableColor;
  const TColor font =
      on ? (palette().color(QPalette::WindowText) == QColor() ? clBlack
                                                              : fromQColor(palette().color(QPalette::WindowText)))
         : FDisableFontColor;
  applyFieldColour(FGengoCombo, back, font);
  for (QLineEdit* e : FEdits)
    applyFieldColour(e, back, font);
}

void TAbacorExDateEdit::changeEvent(QEvent* AEvent)
{
  QWidget::changeEvent(AEvent);
  if (AEvent->type() == QEvent::EnabledChange) {
    recolour();
  } else if (AEvent->type() == QEvent::FontChange) {
    for (auto* l : FLabels)
      l->setFont(font());
    relayout();
  }
}

// ---------------------------------------------------------- focus and keys

void TAbacorExDateEdit::FieldEnter(QObject* ASender)
{
  auto* w = qobject_cast<QWidget*>(ASender);
  if (!w)
    return;
  if (!FFocused) {
    FFocused = true;
    fgTabStop = FTabStop;
    if (!FTabStop)
      for (TPart p : {ptGengo, ptYear, ptMonth, ptDay, ptAmpm, ptHour, ptMinute, ptSecond})
        partWidget(p)->setFocusPolicy(Qt::StrongFocus);
  }
  w->setToolTip(toolTip());
  if (w != FAmpmCombo)
    applyFieldColour(w, FFocusedColor, fromQColor(w->palette().color(QPalette::Text)));
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (FAutoSelect)
      e->selectAll();
    else
      e->setCursorPosition(0);
  }
}

void TAbacorExDateEdit::leaveControl()
{
  if (FExitCheck) {
    try {
      readFields();
    } catch (const EAbort&) {
      // The message is shown and the focus is back on the field.
    }
  }
  if (!fgTabStop)
    for (TPart p : {ptGengo, ptYear, ptMonth, ptDay, ptAmpm, ptHour, ptMinute, ptSecond})
      partWidget(p)->setFocusPolicy(Qt::ClickFocus);
  FFocused = false;
}

void TAbacorExDateEdit::FieldKeyDown(QObject* ASender, QKeyEvent* AEvent, bool& AHandled)
{
  auto* combo = qobject_cast<QComboBox*>(ASender);
  const int key = AEvent->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (combo)
      combo->hidePopup();
    if (FEnterNext) {
      const bool back = AEvent->modifiers() & Qt::ShiftModifier;
      QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
      QApplication::sendEvent(static_cast<QWidget*>(ASender), &tab);
    }
    AHandled = true;
    return;
  }
  if (key == Qt::Key_Down && FDropDownKey) {
    if (combo) {
      combo->showPopup();
      AHandled = true;
    } else {
      AHandled = true;
    }
    return;
  }
  if (key == Qt::Key_Delete && combo) {
    const bool had = !combo->currentText().isEmpty();
    {
      const QSignalBlocker block(combo);
      combo->setCurrentIndex(-1);
    }
    if (had && OnChange)
      OnChange(combo);
    AHandled = true;
  }
}

void TAbacorExDateEdit::FieldKeyPress(QObject* ASender, QKeyEvent* AEvent, bool& AHandled)
{
  const QString text = AEvent->text();
  if (text.isEmpty())
    return;
  QChar ch = text.at(0);
  if (OnKeyPress) {
    OnKeyPress(ASender, ch);
    if (ch.isNull()) {
      AHandled = true;
      return;
    }
  }
  if (ch == QChar(8) || ch == QChar(27) || ch == QLatin1Char('\t'))
    return;
  const bool isCombo = qobject_cast<QComboBox*>(ASender) != nullptr;
  if (isCombo || !(ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
    AHandled = true;  // swallowed
}

void TAbacorExDateEdit::FieldChange(QObject* ASender)
{
  if (OnChange)
    OnChange(ASender);
}

void TAbacorExDateEdit::FieldClick(QObject* ASender)
{
  if (OnClick)
    OnClick(ASender);
}

bool TAbacorExDateEdit::eventFilter(QObject* AWatched, QEvent* AEvent)
{
  switch (AEvent->type()) {
    case QEvent::KeyPress: {
      auto* ke = static_cast<QKeyEvent*>(AEvent);
      if (OnKeyDown) {
        int key = ke->key();
        OnKeyDown(AWatched, key, ke->modifiers());
        if (key == 0)
          return true;
      }
      bool handled = false;
      FieldKeyDown(AWatched, ke, handled);
      if (handled)
        return true;
      FieldKeyPress(AWatched, ke, handled);
      if (handled)
        return true;
      break;
    }
    case QEvent::FocusIn:
      FieldEnter(AWatched);
      break;
    case QEvent::FocusOut: {
      auto* w = qobject_cast<QWidget*>(AWatched);
      if (w && w != FAmpmCombo)
        applyFieldColour(w, isEnabled() ? FColor : FDisableColor, fromQColor(w->palette().color(QPalette::Text)));
      const auto reason = static_cast<QFocusEvent*>(AEvent)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        QWidget* now = QApplication::focusWidget();
        if (!now || !isAncestorOf(now))
          leaveControl();
      }
      break;
    }
    case QEvent::MouseButtonRelease:
      FieldClick(AWatched);
      break;
    default:
      break;
  }
  return QWidget::eventFilter(AWatched, AEvent);
}
