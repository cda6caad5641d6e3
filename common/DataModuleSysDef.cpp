// The operator's system definitions: the SYSDEF row and the per-operator
// register entries read into SystemDef after the logon and written back,
// the dictionary counters, the stored message text, and the removal of the
// operator's logon and window-size rows.
#include <functional>

#include <QRegularExpression>

#include "common/DataModule.h"
#include "common/DbUtil.h"
#include "common/FbError.h"
#include "common/TypedValue.h"
#include "db/DbError.h"

std::function<bool(const QString&)> TDM::FontExistsProc;

namespace {

const QString kGetText = QStringLiteral("システム情報の取得に失敗しました。\rアプリケーションを終了します。");
const QString kPutText = QStringLiteral("システム情報の書き込みに失敗しました。\r現在のシステム設定は保存されません。");

// The integer columns of SYSDEF and their fields, in the order of the update
// statement (the text columns are handled apart).
struct IntColumn {
  const char* column;
  int TSystemDef::*field;
};

const IntColumn kIntColumns[] = {
    {"MFTop", &TSystemDef::AppTop},
    {"MFLeft", &TSystemDef::AppLeft},
    {"MFWidth", &TSystemDef::AppWidth},
    {"MFHeight", &TSystemDef::AppHeight},
    {"LastMenu", &TSystemDef::LastMenu},
    {"FontSize", &TSystemDef::FontSize},
    {"FontStyle", &TSystemDef::FontStyle},
    {"FontCharset", &TSystemDef::FontCharSet},
    {"FontHeight", &TSystemDef::FontHeight},
    {"GridResize", &TSystemDef::GridResize},
    {"ShowHint", &TSystemDef::ShowHint},
    {"GridMaxRow", &TSystemDef::GridMaxRow},
    {"GridRsiz", &TSystemDef::GridRsiz},
    {"ClientColor", &TSystemDef::ClientColor},
    {"ClientColor1", &TSystemDef::ClientColor1},
    {"ClientColor2", &TSystemDef::ClientColor2},
    {"ClientColor3", &TSystemDef::ClientColor3},
    {"ForeColor", &TSystemDef::ForeColor},
    {"BorderColor", &TSystemDef::BorderColor},
    {"ActiveColor", &TSystemDef::ActiveColor},
    {"ThruBorderColor", &TSystemDef::ThruBorderColor},
    {"ColHeaderColor", &TSystemDef::ColHeaderColor},
    {"FixedTopColor", &TSystemDef::FixedTopColor},
    {"RowHeaderColor", &TSystemDef::RowHeaderColor},
    {"FixedLeftColor", &TSystemDef::FixedLeftColor},
    {"TotalColor", &TSystemDef::TotalColor},
    {"NetColor1", &TSystemDef::NetColor1},
    {"NetColor2", &TSystemDef::NetColor2},
    {"PLineColor1", &TSystemDef::LineColor1},
    {"PLineColor2", &TSystemDef::LineColor2},
    {"PreviewZOOM", &TSystemDef::PreviewZOOM},
    {"PanelColor", &TSystemDef::PanelColor},
    {"PanelBackColor", &TSystemDef::PanelBackColor},
    {"MenuPrintSw", &TSystemDef::MenuPrintSw},
    {"HojWait", &TSystemDef::HojWait},
    {"DicSwitch", &TSystemDef::DicSwitch},
    {"DicTekAuto", &TSystemDef::DicTekAuto},
    {"DicTorAuto", &TSystemDef::DicTorAuto},
    {"DicUsednt", &TSystemDef::DicUsednt},
    {"DicType", &TSystemDef::DicType},
    {"DicNum1", &TSystemDef::DicNum1},
    {"DicNum2", &TSystemDef::DicNum2},
    {"DicSortType", &TSystemDef::DicSortType},
    {"ColHeaderGradColor1", &TSystemDef::ColHeaderGradColor1},
    {"ColHeaderGradColor2", &TSystemDef::ColHeaderGradColor2},
    {"ShowDataSentaku", &TSystemDef::ShowDataSentaku},
    {"UserPrint", &TSystemDef::UserPrint},
    {"SwkTotal", &TSystemDef::SwkTotal},
    {"SwkLine", &TSystemDef::SwkLine},
    {"KingakuPlus", &TSystemDef::KingakuPlus},
    {"ZeroPrint", &TSystemDef::ZeroPrint},
    {"SankakuPlus", &TSystemDef::SankakuPlus},
    {"TEK_AUTOUP", &TSystemDef::DicTekAutoAdd},
    {"TOR_AUTOUP", &TSystemDef::DicTorAutoAdd},
    {"Reserve1", &TSystemDef::ZeigakuSanko},
    {"Reserve2", &TSystemDef::Reserve2},
    {"Reserve3", &TSystemDef::SwkTorokuKakunin},
    {"Reserve4", &TSystemDef::Reserve4},
    {"Reserve5", &TSystemDef::Reserve5},
};

struct TextColumn {
  const char* column;
  QString TSystemDef::*field;
};

const TextColumn kTextColumns[] = {
    {"DataDir", &TSystemDef::IBPATHDAT}, {"PrinterName", &TSystemDef::PrinterName},
    {"FontName", &TSystemDef::FontName}, {"ZenkaiDrive", &TSystemDef::ZenkaiDrive},
    {"SSTR", &TSystemDef::SSTR},
};

// The packed switches of Reserve4 (bit, field); bits 4 and 5 carry
// BunsekiOutputGyoChosei.
struct Bit {
  int bit;
  int TSystemDef::*field;
};
const Bit kReserve2Bits[] = {{0, &TSystemDef::FusainoBuKaiPage}, {1, &TSystemDef::KessansyoSotowaku}};
const Bit kReserve4Bits[] = {
    {0, &TSystemDef::KyoyuDataAutoCopy},
    {1, &TSystemDef::KyoyuListKousin},
    {2, &TSystemDef::SyohyoKirikae},
    {3, &TSystemDef::SotaiSiwakeNoHyoji},
    {6, &TSystemDef::MotochoSaisyuGyoZanOut},
    {7, &TSystemDef::SiwakeDefHizukeHyoji},
    {8, &TSystemDef::MotochoInputModeZanHyoji},
    {9, &TSystemDef::NengoSwitch},
    {10, &TSystemDef::BunsekiNendoOrder},
};

void unpack(TSystemDef& s)
{
  for (const Bit& b : kReserve2Bits)
    s.*b.field = (s.Reserve2 >> b.bit) & 1;
  for (const Bit& b : kReserve4Bits)
    s.*b.field = (s.Reserve4 >> b.bit) & 1;
  s.BunsekiOutputGyoChosei = (s.Reserve4 & 16) ? 1 : (s.Reserve4 & 32) ? 2 : 0;
}

void pack(TSystemDef& s)
{
  s.Reserve2 = 0;
  s.Reserve4 = 0;
  for (const Bit& b : kReserve2Bits)
    if (s.*b.field == 1)
      s.Reserve2 |= 1 << b.bit;
  for (const Bit& b : kReserve4Bits)
    if (s.*b.field == 1)
      s.Reserve4 |= 1 << b.bit;
  if (s.BunsekiOutputGyoChosei == 1)
    s.Reserve4 |= 16;
  if (s.BunsekiOutputGyoChosei == 2)
    s.Reserve4 |= 32;
}

const QString kInt = TypeWordInt;
const QString kText = TypeWordText;

// The eight dictionary keys with their fields.
struct DicKey {
  const char16_t* key;
  std::array<int, 2> TSystemDef::*field;
  int index;
};
const DicKey kDicKeys[] = {
    {u"摘要＿辞書開く区分", &TSystemDef::ImpCtrl_Jisyo, 0},
    {u"摘要＿連想開く区分", &TSystemDef::ImpCtrl_JisyoRenso, 0},
    {u"摘要＿自動開く区分", &TSystemDef::ImpCtrl_JisyoAuto, 0},
    {u"摘要＿入力なし区分", &TSystemDef::ImpCtrl_JisyoNasi, 0},
    {u"取引先＿辞書開く区分", &TSystemDef::ImpCtrl_Jisyo, 1},
    {u"取引先＿連想開く区分", &TSystemDef::ImpCtrl_JisyoRenso, 1},
    {u"取引先＿自動開く区分", &TSystemDef::ImpCtrl_JisyoAuto, 1},
    {u"取引先＿入力なし区分", &TSystemDef::ImpCtrl_JisyoNasi, 1},
};

// The title keys (text) with their fields.
struct TitleKey {
  const char16_t* key;
  QString* field;
  const char16_t* def;
};

std::vector<TitleKey> titleKeys(TSystemDef& s)
{
  return {
      {u"試算表タイトル", &s.SisanhyoTitle, u"試　算　表"},
      {u"２期試算表タイトル", &s.Sisanhyo2KiTitle, u"２期比較試算表"},
      {u"全科目ＢＳタイトル", &s.SisanhyoSubTitle_BS[0], u"資産・負債・純資産"},
      {u"全科目資産タイトル", &s.SisanhyoSubTitle_Sisan[0], u"資産の部"},
      {u"全科目負債タイトル", &s.SisanhyoSubTitle_Fusai[0], u"負債・純資産の部"},
      {u"全科目ＰＬタイトル", &s.SisanhyoSubTitle_PL[0], u"損益"},
      {u"定形A4資産タイトル", &s.SisanhyoSubTitle_Sisan[1], u"資産の部"},
      {u"定形A4負債タイトル", &s.SisanhyoSubTitle_Fusai[1], u"負債・純資産の部"},
      {u"定形A4ＰＬタイトル", &s.SisanhyoSubTitle_PL[1], u"損益"},
      {u"定形A4販売費タイトル", &s.SisanhyoSubTitle_Hanbai[1], u"販売費・一般管理費"},
      {u"定形A3ＢＳタイトル", &s.SisanhyoSubTitle_BS[2], u"資産・負債・純資産"},
      {u"定形A3ＰＬタイトル", &s.SisanhyoSubTitle_PL[2], u"損益"},
  };
}

QString str(const char16_t* s)
{
  return QString::fromUtf16(s);
}

QString lineValue(const QStringList& lines, const QString& name)
{
  for (const QString& line : lines) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq >= 0 && line.left(eq) == name)
      return line.mid(eq + 1);
  }
  return QString();
}

}  // namespace

bool TDM::fnGetSYSDEF()
{
  TSystemDef& s = SystemDef;
  const bool partner = IsOemEdition(OemEdition);
  TOwnTransaction tr(IBTransactionDEF);
  try {
    auto getInt = [&](const QString& key, const QString& def) {
      return int(funcGetSysReg(key, kInt, def).toLongLong());
    };
    auto putInt = [&](const QString& key, int value) { funcPutSysReg(key, kInt, value); };

    db::Query& q = IBQSysDefGet;
    q.close();
    q.setSql(QStringLiteral("SELECT * FROM SYSDEF WHERE OPCODE=:OPCODE"));
    q.setParam("OPCODE", s.OPCODE);
    q.open();
    if (q.eof()) {
      q.close();
      db::Query& ins = IBQSysDefPut;
      ins.setSql(
          QStringLiteral("INSERT INTO SYSDEF(OPCODE,SankakuPlus,ColHeaderColor,ColHeaderGradColor1,ColHeaderGradColor2"
                         ",ClientColor,ClientColor1,ClientColor2,TotalColor,ActiveColor,ROWHEADERCOLOR"
                         ",NetColor1,NetColor2,PLineColor1,PLineColor2,DICSWITCH,DicTekAuto,DicTorAuto)"
                         "VALUES(:OPCODE,1,:ColHeaderColor,:ColHeaderGradColor1,:ColHeaderGradColor2"
                         ",:ClientColor,:ClientColor1,:ClientColor2,:TotalColor,:ActiveColor,:ROWHEADERCOLOR"
                         ",:NetColor1,:NetColor2,:PLineColor1,:PLineColor2,:DICSWITCH,:DicTekAuto,:DicTorAuto)"));
      ins.setParam("OPCODE", s.OPCODE);
      ins.setParam("ColHeaderColor", DefColHeaderColor);
      ins.setParam("ROWHEADERCOLOR", DefColHeaderColor);
      ins.setParam("ColHeaderGradColor1", DefColHeaderGradColor1);
      ins.setParam("ColHeaderGradColor2", DefColHeaderGradColor2);
      ins.setParam("ClientColor", DefClientColor);
      ins.setParam("ClientColor1", DefClientColor1);
      ins.setParam("ClientColor2", DefClientColor2);
      ins.setParam("TotalColor", DefTotalColor);
      ins.setParam("ActiveColor", DefActiveColor);
      ins.setParam("NetColor1", 0xD7FFD7);
      ins.setParam("NetColor2", 0xD7FFD7);
      ins.setParam("PLineColor1", 0x7900);
      ins.setParam("PLineColor2", 0x7900);
      ins.setParam("DICSWITCH", partner ? 2 : 0);
      ins.setParam("DicTekAuto", partner ? 2 : 1);
      ins.setParam("DicTorAuto", partner ? 0 : 1);
      ins.exec();
      q.open();
      const int first[] = {1, 0, 1, 0, 1, 0, 1, 0};
      for (int i = 0; i < 8; ++i)
        putInt(str(kDicKeys[i].key), first[i]);
      if (partner) {
        const std::pair<const char16_t*, int> more[] = {
            {u"次項目移動区分", 1},       {u"科目コード桁数", 0},     {u"補助コード桁数", 0},
            {u"部門コード桁数", 1},       {u"仕訳日付フォーカス", 1}, {u"元帳最終行残高出力区", 1},
            {u"試算表集計出力区分", 1},   {u"元帳１行出力区分", 0},   {u"元帳付箋マーク出力区", 0},
            {u"連想辞書抽出条件区分", 1},
        };
        for (const auto& m : more)
          putInt(str(m.first), m.second);
        const int again[] = {0, 1, 1, 0, 1, 0, 0, 0};
        for (int i = 0; i < 8; ++i)
          putInt(str(kDicKeys[i].key), again[i]);
      }
    }

    s.FormSizeInit = false;
    s.PrintFontType = 0;
    s.ZenkaiMenuWinState = wsNormal;
    for (const TextColumn& c : kTextColumns)
      s.*c.field = q.field(QLatin1String(c.column)).asString();
    for (const IntColumn& c : kIntColumns)
      s.*c.field = q.field(QLatin1String(c.column)).asInt();
    if (s.ColHeaderGradColor1 == 0)
      s.ColHeaderGradColor1 = 0xFFFFFF;
    if (s.ColHeaderGradColor2 == 0)
      s.ColHeaderGradColor2 = 0xBBBBBB;
    q.close();
    unpack(s);

    s.Jimusho.clear();
    s.JimushoAddr.clear();
    s.JimushoTel.clear();
    s.JimushoPrint = s.JimushoPrintItem = s.JimushoPrintItem02 = 0;
    TSystemIniRec ini;
    ini.Rec = 10;
    if (GetSysIni(ini)) {
      const QStringList lines = ini.InfoText.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
      s.Jimusho = lineValue(lines, QStringLiteral("NAME"));
      s.JimushoAddr = lineValue(lines, QStringLiteral("JYUSHO"));
      s.JimushoTel = lineValue(lines, QStringLiteral("TEL"));
      s.JimushoPrint = ini.Info1;
      s.JimushoPrintItem = ini.Info2;
      s.JimushoPrintItem02 = ini.Info3;
    }
    s.DataSeigenNasi = 0;
    TSystemIniRec access;
    access.Rec = 20;
    if (GetSysIni(access))
      s.DataSeigenNasi = access.Info1;

    s.NextItemKeyPlus = 0;
    s.KCodeLenMode = s.HCodeLenMode = s.BCodeLenMode = jxkcLen4;
    s.SwkHizukeFocus = jxsfDD;
    s.SisanhyoSyukei_OutputKbn = s.Motocho1Gyo = s.MotochoFusenMark = s.RensoJisyoFilterKbn = 0;
    if (partner) {
      s.NextItemKeyPlus = getInt(QStringLiteral("次項目移動区分"), QStringLiteral("1"));
      s.KCodeLenMode = TJxKamokuCodeLen(getInt(QStringLiteral("科目コード桁数"), QStringLiteral("0")));
      s.HCodeLenMode = TJxKamokuCodeLen(getInt(QStringLiteral("補助コード桁数"), QStringLiteral("0")));
      s.BCodeLenMode = TJxKamokuCodeLen(getInt(QStringLiteral("部門コード桁数"), QStringLiteral("1")));
      s.SwkHizukeFocus = TJxSwkHizukeFocus(getInt(QStringLiteral("仕訳日付フォーカス"), QStringLiteral("1")));
      s.MotochoSaisyuGyoZanOut = 1;
      s.SisanhyoSyukei_OutputKbn = 1;
      s.Motocho1Gyo = getInt(QStringLiteral("元帳１行出力区分"), QStringLiteral("0"));
      s.MotochoFusenMark = getInt(QStringLiteral("元帳付箋マーク出力区"), QStringLiteral("0"));
      s.RensoJisyoFilterKbn = getInt(QStringLiteral("連想辞書抽出条件区分"), QStringLiteral("1"));
    }
    const QString std0 = partner ? QStringLiteral("1") : QStringLiteral("0");
    const QString std1 = partner ? QStringLiteral("0") : QStringLiteral("1");
    s.MotochoSaisyuGyoZanOut =
        getInt(QStringLiteral("元帳最終行残高出力区"), QString::number(s.MotochoSaisyuGyoZanOut));
    s.SisanhyoSyukei_OutputKbn =
        getInt(QStringLiteral("試算表集計出力区分"), QString::number(s.SisanhyoSyukei_OutputKbn));
    s.MotochoTitle_OutputKbn = getInt(QStringLiteral("元帳タイトル出力区分"), std0);
    s.SisanhyoBS_KaipageKbn = getInt(QStringLiteral("試算表ＢＳ改ページ区"), std1);
    s.SisanhyoTitle_OutputKbn = getInt(QStringLiteral("試算表タイトル出力区"), std0);
    s.SisanhyoKikan_OutputKbn = getInt(QStringLiteral("試算表期間出力区分"), std0);
    for (const TitleKey& t : titleKeys(s))
      *t.field = funcGetSysReg(str(t.key), kText, str(t.def)).toString();
    s.SisanhyoSubTitle_Hanbai[0].clear();
    s.SisanhyoSubTitle_BS[1].clear();
    s.SisanhyoSubTitle_Sisan[2].clear();
    s.SisanhyoSubTitle_Fusai[2].clear();
    s.SisanhyoSubTitle_Hanbai[2].clear();
    s.DataHasonCheck =
        int(funcGetSysReg(QStringLiteral("データ破損チェック区"), kInt, QStringLiteral("1"), s.GROUPID * 10000 + 9999)
                .toLongLong());
    s.DataPlaceRec = getInt(QStringLiteral("サーバのデータの場所"), QStringLiteral("0"));
    s.TekiyoEditMode = getInt(QStringLiteral("摘要項目の編集モード"), QStringLiteral("0"));
    s.DicTekiyoNasi = getInt(QStringLiteral("摘要項目の入力区分"), QStringLiteral("0"));
    s.DicTorihikiNasi = getInt(QStringLiteral("取引先項目の入力区分"), QStringLiteral("0"));
    s.SiwakechoUramenKeisen = getInt(QStringLiteral("裏面の罫線印刷区分"), QStringLiteral("0"));
    s.SiwakechoTCodeOut = getInt(QStringLiteral("消費税コード印刷区分"), QStringLiteral("1"));
    if (!partner)
      s.SiwakechoTCodeOut = 1;
    s.KessansyoTegataSosai = getInt(QStringLiteral("決算書手形相殺区分"), QStringLiteral("0"));
    s.KessansyoHanbaihiKumikomi = getInt(QStringLiteral("決算書販売費組入区分"), QStringLiteral("0"));
    s.SisanhyoOutputGyoChosei = getInt(QStringLiteral("試算表行数調整区分"), QStringLiteral("0"));
    s.RensoDicInputKbn = getInt(QStringLiteral("連想辞書コード入力区"), QStringLiteral("0"));
    s.RensoDicSortType = getInt(QStringLiteral("連想辞書リスト並び順"), QStringLiteral("0"));
    s.MotochoFusenMark = getInt(QStringLiteral("元帳付箋マーク出力区"), QString::number(s.MotochoFusenMark));
    s.SiwakeGroupTeisei = 1;
    for (const DicKey& d : kDicKeys) {
      const bool opens = QStringView(d.key).contains(u"辞書開く");
      (s.*d.field)[d.index] = getInt(str(d.key), opens ? QStringLiteral("1") : QStringLiteral("0"));
    }
    s.SeizoGenkaGokei_OutputKbn = getInt(QStringLiteral("試算表製造集計行出区"), QStringLiteral("1"));
    s.Sisanhyo_ClipboardFormType = 0;
    s.AnimeDialog = nullptr;

    SetSystemDBVersion();

    if (FontExistsProc && !s.FontName.isEmpty() && FontExistsProc(s.FontName)) {
      s.NowFont.Name = s.FontName;
      s.NowFont.Size = s.FontSize;
      if (s.FontStyle >= 0 && s.FontStyle <= 3)
        s.NowFont.Style = s.FontStyle;
      s.NowFont.CharSet = s.FontCharSet;
    }
    TGridStyles& g = cxStyleRepository1;
    g.Font = s.NowFont;
    g.Title = s.ColHeaderColor;
    g.TitleTop = s.ColHeaderGradColor1;
    g.TitleEnd = s.ColHeaderGradColor2;
    g.TitleRow = s.RowHeaderColor;
    g.Meisai = s.ClientColor;
    g.MeisaiOdd = s.ClientColor1;
    g.MeisaiEven = s.ClientColor2;
    g.Gokei = s.TotalColor;
    g.Select = s.ActiveColor;
    g.InactiveFromSystem = true;

    q.setSql(QStringLiteral("SELECT COUNT(RECNO) AS RECCNT FROM USERCODE"));
    q.open();
    const int slotCount = q.field("RECCNT").asInt();
    q.close();
    if (slotCount == 0) {
      db::Query& ins = IBQSysDefPut;
      ins.setSql(QStringLiteral("INSERT INTO USERCODE(RECNO,NAME,DATATYPE,CODETYPE)VALUES(:RECNO,'',0,0)"));
      for (int i = 1; i <= 20; ++i) {
        ins.setParam("RECNO", i);
        ins.exec();
      }
    }
    // Committed also when the transaction was open before.
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.commit();
    return true;
  } catch (const db::DbError& e) {
    IBQSysDefGet.close();
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowFbError(e, QStringLiteral("TDM.fnGetSysDef"), kGetText, true);
  } catch (const std::exception& e) {
    IBQSysDefGet.close();
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowErrorDetail(kGetText, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

bool TDM::fnPutSysdef()
{
  TSystemDef& s = SystemDef;
  const bool partner = IsOemEdition(OemEdition);
  pack(s);
  try {
    IBTransactionDEF.startIfNeeded();
    QString sql = QStringLiteral("UPDATE SYSDEF SET ");
    for (const TextColumn& c : kTextColumns)
      if (QLatin1String(c.column) != QLatin1String("SSTR"))
        sql += QStringLiteral("%1=:%1,").arg(QLatin1String(c.column));
    // The unused column Shouhyou is left as it is stored.
    for (const IntColumn& c : kIntColumns)
      sql += QStringLiteral("%1=:%1,").arg(QLatin1String(c.column));
    sql += QStringLiteral("SSTR=:SSTR WHERE OPCODE=:OPCODE");
    db::Query& q = IBQSysDefPut;
    q.setSql(sql);
    for (const TextColumn& c : kTextColumns)
      q.setParam(QLatin1String(c.column), s.*c.field);
    for (const IntColumn& c : kIntColumns)
      q.setParam(QLatin1String(c.column), s.*c.field);
    q.setParam("OPCODE", s.OPCODE);
    q.exec();
    IBTransactionDEF.commit();
  } catch (const db::DbError& e) {
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowFbError(e, QStringLiteral("TDM.fnPutSysDef"), kPutText, true);
    return false;
  } catch (const std::exception& e) {
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowErrorDetail(kPutText, QString::fromUtf8(e.what()), mtError);
    return false;
  }

  auto putInt = [&](const QString& key, int value) { funcPutSysReg(key, kInt, value); };
  if (partner) {
    putInt(QStringLiteral("次項目移動区分"), s.NextItemKeyPlus);
    putInt(QStringLiteral("科目コード桁数"), s.KCodeLenMode);
    putInt(QStringLiteral("補助コード桁数"), s.HCodeLenMode);
    putInt(QStringLiteral("部門コード桁数"), s.BCodeLenMode);
    putInt(QStringLiteral("仕訳日付フォーカス"), s.SwkHizukeFocus);
    putInt(QStringLiteral("元帳１行出力区分"), s.Motocho1Gyo);
    putInt(QStringLiteral("元帳付箋マーク出力区"), s.MotochoFusenMark);
    putInt(QStringLiteral("連想辞書抽出条件区分"), s.RensoJisyoFilterKbn);
  }
  putInt(QStringLiteral("試算表集計出力区分"), s.SisanhyoSyukei_OutputKbn);
  putInt(QStringLiteral("元帳タイトル出力区分"), s.MotochoTitle_OutputKbn);
  putInt(QStringLiteral("試算表ＢＳ改ページ区"), s.SisanhyoBS_KaipageKbn);
  putInt(QStringLiteral("試算表タイトル出力区"), s.SisanhyoTitle_OutputKbn);
  for (const TitleKey& t : titleKeys(s))
    funcPutSysReg(str(t.key), kText, *t.field);
  putInt(QStringLiteral("元帳最終行残高出力区"), s.MotochoSaisyuGyoZanOut);
  putInt(QStringLiteral("サーバのデータの場所"), s.DataPlaceRec);
  putInt(QStringLiteral("摘要項目の編集モード"), s.TekiyoEditMode);
  putInt(QStringLiteral("摘要項目の入力区分"), s.DicTekiyoNasi);
  putInt(QStringLiteral("取引先項目の入力区分"), s.DicTorihikiNasi);
  putInt(QStringLiteral("裏面の罫線印刷区分"), s.SiwakechoUramenKeisen);
  putInt(QStringLiteral("消費税コード印刷区分"), s.SiwakechoTCodeOut);
  putInt(QStringLiteral("決算書手形相殺区分"), s.KessansyoTegataSosai);
  putInt(QStringLiteral("決算書販売費組入区分"), s.KessansyoHanbaihiKumikomi);
  putInt(QStringLiteral("連想辞書コード入力区"), s.RensoDicInputKbn);
  putInt(QStringLiteral("連想辞書リスト並び順"), s.RensoDicSortType);
  putInt(QStringLiteral("元帳付箋マーク出力区"), s.MotochoFusenMark);
  putInt(QStringLiteral("試算表期間出力区分"), s.SisanhyoKikan_OutputKbn);
  for (const DicKey& d : kDicKeys)
    putInt(str(d.key), (s.*d.field)[d.index]);
  putInt(QStringLiteral("試算表製造集計行出区"), s.SeizoGenkaGokei_OutputKbn);
  return true;
}

bool TDM::fnPutSysdefJisyoField()
{
  TOwnTransaction tr(IBTransactionDEF);
  try {
    db::Query& q = IBQSysDefPut;
    q.setSql(
        QStringLiteral("UPDATE SYSDEF SET DicNum1=:DicNum1,DicNum2=:DicNum2,DicSortType=:DicSortType "
                       "WHERE OPCODE=:OPCODE"));
    q.setParam("DicNum1", SystemDef.DicNum1);
    q.setParam("DicNum2", SystemDef.DicNum2);
    q.setParam("DicSortType", SystemDef.DicSortType);
    q.setParam("OPCODE", SystemDef.OPCODE);
    q.exec();
    tr.Commit();
    return true;
  } catch (const db::DbError& e) {
    tr.Rollback();
    fnShowFbError(e, QStringLiteral("TDM.fnPutSysdefJisyoField"), kPutText, true);
  } catch (const std::exception& e) {
    tr.Rollback();
    fnShowErrorDetail(kPutText, QString::fromUtf8(e.what()), mtError);
  }
  return false;
}

QString TDM::fnGetMessage()
{
  const QString text = kGetText + QStringLiteral("(SSTRﾌｨｰﾙﾄﾞ)");
  QString result;
  try {
    IBTransactionDEF.startIfNeeded();
    db::Query& q = IBQSysDefGet;
    q.close();
    q.setSql(QStringLiteral("SELECT SSTR from SYSDEF WHERE OPCODE=:OPCODE"));
    q.setParam("OPCODE", SystemDef.OPCODE);
    q.open();
    if (!q.eof()) {
      SystemDef.SSTR = q.field("SSTR").asString();
      result = SystemDef.SSTR;
    }
    q.close();
    IBTransactionDEF.commit();
  } catch (const db::DbError& e) {
    IBQSysDefGet.close();
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowFbError(e, QStringLiteral("TDM.fnGetMessage"), text, true);
    return QString();
  } catch (const std::exception& e) {
    IBQSysDefGet.close();
    if (IBTransactionDEF.inTransaction())
      IBTransactionDEF.rollback();
    fnShowErrorDetail(text, QString::fromUtf8(e.what()), mtError);
    return QString();
  }
  return result;
}

namespace {

void deleteRows(TDM& dm, const QString& sql, const QString& step, const QString& message)
{
  TOwnTransaction tr(dm.IBTransactionDEF);
  try {
    dm.QueryDef.setSql(sql);
    dm.QueryDef.setParam("OPCODE", SystemDef.OPCODE);
    dm.QueryDef.exec();
    tr.Commit();
  } catch (const db::DbError& e) {
    tr.Rollback();
    fnShowFbError(e, step, message, true);
  } catch (const std::exception& e) {
    tr.Rollback();
    fnShowErrorDetail(message, QString::fromUtf8(e.what()), mtError);
  }
}

}  // namespace

void TDM::DeleteLogonInfo()
{
  deleteRows(*this, QStringLiteral("DELETE FROM LOGONUSERLIST WHERE OPCODE=:OPCODE"),
             QStringLiteral("TDM.DeleteLogonInfo"), QStringLiteral("ログイン情報の削除に失敗しました。"));
}

void TDM::DeleteFormSizeInfo()
{
  deleteRows(*this, QStringLiteral("DELETE FROM FORMRSIZE WHERE OPCODE=:OPCODE"),
             QStringLiteral("TDM.DeleteFormSizeInfo"), QStringLiteral("フォームのサイズ情報の削除に失敗しました。"));
}
