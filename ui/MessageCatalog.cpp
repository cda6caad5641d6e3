#include "ui/MessageCatalog.h"

#include <vector>

namespace {

struct TLine {
  const char16_t* text;
  TColor color;
};

struct TPreset {
  int code;
  TMsgDlgType type;
  TMsgDlgButtons buttons;
  const char16_t* title;
  std::vector<TLine> lines;
};

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;

const std::vector<TPreset>& catalogue()
{
  static const std::vector<TPreset> presets{
      {0x1010,
       mtConfirmation,
       mbOK | mbCancel,
       u"確認",
       {{u"このデータはお使いのプログラムより新しいプログラムでデータ更新が行われています。", kBlack},
        {u"データを使用するにはプログラムのバージョンアップが必要となります。", kBlack},
        {u"続行してもよろしいですか？", kBlack},
        {u"（ウィルス対策ソフトをご利用中の場合は、該当ソフトを終了してください。）", kBlack}}},
      {0x1011,
       mtInformation,
       mbOK,
       u"情報",
       {{u"このデータは「データの更新」処理を行うことが禁止されています。", kBlack},
        {u"データを選択したい場合は、「データ選択」画面の[情報]ボタンを押し「データの詳細情報」画面を開き", kBlack},
        {u"[データの更新: 禁止する]項目のチェックを外してください。", kBlack},
        {u"または、過去バージョンのプログラムを起動し選択してください。", kBlack}}},
      {0x1012,
       mtInformation,
       mbOK,
       u"情報",
       {{u"このデータは「仕訳の入力」が禁止されています。", kBlack},
        {u"仕訳を入力するには、「データ選択」画面の[情報]ボタンを押し「データの詳細情報」画面を開き", kBlack},
        {u"[仕訳の入力: 禁止する]項目のチェックを外してください。", kBlack}}},
      {0x1020,
       mtInformation,
       mbOK,
       u"情報",
       {{u"このデータは現金出納帳システムと通信しています。マスター情報の変更は、事前に現金出納帳システムから", kBlack},
        {u"送られた最新のデータを受信し、現金出納帳システム側の処理をストップさせてから行ってください。", kBlack},
        {u"マスター情報の変更後には必ず「現金出納帳マスター送信」を実行してください。", kBlack}}},
      {0x1030,
       mtConfirmation,
       mbOK,
       u"エラー",
       {{u"データ使用後検証の結果、このデータは破損している恐れがあります。", kBlack},
        {u"データのバックアップを行っている場合は、適正な方法で破損前の状態へ戻して下さい。", kBlack},
        {u"ご不明な点がございましたら、お問い合わせ先をご確認の上ご連絡下さい。", kBlack}}},
      {0x2014,
       mtInformation,
       mbOK,
       u"情報",
       {{u"過年度明細の取り込みが行われていません。", kBlack},
        {u"このデータに対して過年度明細を取り込むには以下の方法があります。", kBlack},
        {u"１）「過年度残高登録」の[仕訳取込]より過年度明細を取り込みます。", kBlack},
        {u"２）「繰越残高調整」で過年度明細を繰り越します。（前期のみ）", kBlack}}},
      {0x10001010,
       mtInformation,
       mbOK,
       u"情報",
       {{u"振替形式で作成された仕訳のため、訂正・削除を行うことはできません。", kBlack}}},
      {0x10001011,
       mtInformation,
       mbOK,
       u"情報",
       {{u"この仕訳は他処理で作成された自動仕訳のため、自科目訂正を行うことはできません。", kBlack}}},
      {0x10001012,
       mtInformation,
       mbOK,
       u"情報",
       {{u"振替形式で作成された仕訳が含まれているため、訂正・削除を行うことはできません。", kBlack}}},
      {0x10002010,
       mtConfirmation,
       mbOK | mbCancel,
       u"確認",
       {{u"会計データと連動する項目を「上書き入力」に切り替えます。", kBlack}, {u"よろしいですか？", kBlack}}},
      {0x10002011,
       mtConfirmation,
       mbOK | mbCancel,
       u"確認",
       {{u"会計データと連動する項目を「自動取得」に切り替えます。", kBlack},
        {u"よろしいですか？", kBlack},
        {u"注意）上書き入力した項目は、会計データの集計値により書き換えられます。", kRed}}},
      {0x10003010,
       mtConfirmation,
       mbOK | mbCancel,
       u"内訳書の削除",
       {{u"選択行の内訳を削除します。よろしいですか？", kBlack}}},
      {0x10003011,
       mtConfirmation,
       mbOK | mbCancel,
       u"内訳書の削除",
       {{u"選択行の内訳を削除します。よろしいですか？", kBlack},
        {u"注意）削除を行うと、内訳に記述してある名称などの情報は科目情報を取り込んでも記述されません。", kRed},
        {u"一時的に内訳書より削除したい場合は、残高を0円に訂正して印刷方法の[0円の明細を省略する]にチェックを", kRed},
        {u"入れてください。", kRed}}},
      {0x10003020,
       mtConfirmation,
       mbOK | mbCancel,
       u"付属明細表の削除",
       {{u"選択行の明細を削除します。よろしいですか？", kBlack}}},
      {0x10004010,
       mtInformation,
       mbOK,
       u"情報",
       {{u"「基本設定」の「消費税＞一括税抜処理区分」に[処理する]が選択されているため、消費税処理区分を[税込]"
         u"へは変更出来ません。",
         kBlack}}},
  };
  return presets;
}

}  // namespace

bool fnPresetMessage2(int code, TMessage2InfoRec& Info)
{
  if (code == 0)
    return false;
  pcInitMessage2InfoRec(2, Info);
  for (const TPreset& p : catalogue()) {
    if (p.code != code)
      continue;
    Info.MessageType = code;
    Info.DlgType = p.type;
    Info.DlgButtons = p.buttons;
    Info.Title = QString::fromUtf16(p.title);
    for (size_t i = 0; i < p.lines.size() && i < Info.Caption.size(); ++i) {
      Info.Caption[i].Text = QString::fromUtf16(p.lines[i].text);
      Info.Caption[i].Color = p.lines[i].color;
    }
    return true;
  }
  return false;
}

QList<int> fnPresetMessageCodes()
{
  QList<int> codes;
  for (const TPreset& p : catalogue())
    codes << p.code;
  return codes;
}
