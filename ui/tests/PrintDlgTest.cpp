// The print dialog and the print colour dialog against a fixture system
// database: keys, buttons and results, the colours and options kept per
// operator and printed form, the operator's default colours and custom
// colours, and a screenshot of each dialog.
#include <functional>

#include <QApplication>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "UiTestUtil.h"
#include "tests/support/DataModuleEnv.h"
#include "ui/xCheckBox.h"
#include "ui/xEdit.h"
#include "ui/xPlButton.h"
#include "ui/xRadioButton.h"
#include "ui/z5PrintDlg.h"
#include "ui/z5PrnColorSet.h"

namespace {

using namespace fixtures;

const int kMe = sample::loginCode(sample::OperatorCode);

// Runs AAnswer on the next modal dialog of type T that shows; AAnswer closes
// it. A dialog that never shows fails the test after five seconds, and
// whatever modal dialog stands then is closed so that the test goes on.
template <class T>
void answerNext(std::function<void(T*)> AAnswer)
{
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  auto ticks = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, ticks, AAnswer] {
    auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
    if (d && d->isVisible()) {
      timer->stop();
      timer->deleteLater();
      AAnswer(d);
    } else if (++*ticks > 500) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no " << T::staticMetaObject.className() << " showed";
      if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        other->reject();
    }
  });
  timer->start();
}

// Picks AColour in the next colour dialog and confirms it; ACustom, when
// valid, becomes the second custom colour meanwhile.
void pickNext(const QColor& AColour, const QColor& ACustom = QColor())
{
  answerNext<QColorDialog>([AColour, ACustom](QColorDialog* c) {
    if (ACustom.isValid())
      QColorDialog::setCustomColor(1, ACustom);
    c->setCurrentColor(AColour);
    c->accept();
  });
}

class PrintDialogs : public testenv::SharedDataRootTest<PrintDialogs> {
 protected:
  void SetUp() override
  {
    setUpDataModule({.root = root->root, .logFile = tmp->file("log")});
    exec(QStringLiteral("DELETE FROM STYLECOLOR"));
    exec(QStringLiteral("DELETE FROM SYSDEF WHERE OPCODE=%1").arg(kMe));
    ASSERT_TRUE(dm->fnGetSYSDEF());  // the operator's row with the default colours
    ASSERT_EQ(SystemDef.LineColor1, 0x7900);
    ASSERT_EQ(SystemDef.NetColor1, 0xD7FFD7);
  }
  void TearDown() override
  {
    exec(QStringLiteral("DROP TRIGGER T_PRINT_TEST"), {}, true);
    exec(QStringLiteral("DROP EXCEPTION E_PRINT_TEST"), {}, true);
    testenv::DataModuleTest::TearDown();
  }
  using testenv::DataModuleTest::exec;
  void exec(const QString& sql, const QVariantMap& params, bool mayFail)
  {
    try {
      exec(sql, params);
    } catch (...) {
      if (!mayFail)
        throw;
    }
  }
  // Every write of ATable refused from now on.
  void refuseWrites(const QString& ATable, const QString& AWhen)
  {
    exec(QStringLiteral("CREATE EXCEPTION E_PRINT_TEST 'refused'"));
    exec(QStringLiteral("CREATE TRIGGER T_PRINT_TEST FOR %1 BEFORE %2 AS BEGIN EXCEPTION E_PRINT_TEST; END")
             .arg(ATable, AWhen));
  }
  QString sysdefColours()
  {
    return value(QStringLiteral("SELECT PLineColor1||','||PLineColor2||','||NetColor1||','||NetColor2 FROM SYSDEF "
                                "WHERE OPCODE=%1")
                     .arg(kMe));
  }
  QString styleRow(const QString& AKey)
  {
    return value(QStringLiteral("SELECT LINECOLOR1||','||LINECOLOR2||','||NETCOLOR1||','||NETCOLOR2||'|'||SSTR "
                                "FROM STYLECOLOR WHERE OPCODE=%1 AND STYLENAME='%2'")
                     .arg(kMe)
                     .arg(AKey));
  }
  QString customColours() { return styleRow(QStringLiteral("Pallet_CustomColor")).section(QLatin1Char('|'), 1); }

  std::unique_ptr<TPrintDlgBox> makePrintDlg(TDefaultPrintRec& ARec, const std::function<void(TPrintDlgBox&)>& ASetup)
  {
    auto dlg = std::make_unique<TPrintDlgBox>();
    dlg->InitDefRecord(ARec);
    ARec.PrintName = QStringLiteral("TestList");
    dlg->SetDefaultPrintRec(&ARec);
    dlg->SetWindowTitle(QStringLiteral(u"試算表の印刷"));
    dlg->SetMainCaption(QStringLiteral(u"試算表を印刷します。"));
    if (ASetup)
      ASetup(*dlg);
    dlg->SetPrepare(true);
    return dlg;
  }

  testenv::ScopedMessageCollector boxes{testenv::MessageCollector::Replies::FirstButton};
};

// ---------------------------------------------------------------- colour dialog

TEST_F(PrintDialogs, ColourDialogDefaultsStoredOnOk)
{
  TPrnColorSetBox dlg;
  // Setting a colour colours its own sample only.
  dlg.SetNetColor2(clRed);
  EXPECT_EQ(QList<TColor>({dlg.SampleColor(0), dlg.SampleColor(1), dlg.SampleColor(2), dlg.SampleColor(3)}),
            QList<TColor>({0x7900, 0x7900, 0xD7FFD7, clRed}));
  EXPECT_EQ(dlg.pnlSample[3]->palette().color(QPalette::Window), QColor(255, 0, 0));
  dlg.SetNetColor2(SystemDef.NetColor2);
  QColorDialog::setCustomColor(0, QColor(1, 2, 3));  // another session's
  dlg.SetPrepare(true);
  EXPECT_FALSE(dlg.lblDefault->isVisibleTo(&dlg));
  // No stored custom colours: sixteen white ones.
  for (int i = 0; i < QColorDialog::customCount(); ++i)
    EXPECT_EQ(QColorDialog::customColor(i), QColor(Qt::white)) << i;

  answerNext<TPrnColorSetBox>([](TPrnColorSetBox* d) {
    pickNext(QColor(255, 0, 0), QColor(0, 0, 255));
    d->btnChange[0]->Click();
    EXPECT_EQ(d->SampleColor(0), clRed);
    EXPECT_EQ(d->LineColor1(), 0x7900);  // the properties change on OK only
    EXPECT_TRUE(uitest::saveScreenshot(d, QStringLiteral("PrnColorSetBox")));
    QTest::keyClick(d->pnlSample[0], Qt::Key_F12);
  });
  EXPECT_EQ(dlg.exec(), mrOk);
  EXPECT_EQ(dlg.LineColor1(), clRed);
  EXPECT_EQ(SystemDef.LineColor1, clRed);
  EXPECT_EQ(sysdefColours(), QStringLiteral("255,30976,14155735,14155735"));
  // Blue is stored blue-green-red: FF0000.
  EXPECT_TRUE(customColours().startsWith(QStringLiteral("ColorA=FFFFFF\r\nColorB=FF0000\r\nColorC=FFFFFF\r\n")))
      << customColours().toStdString();
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();

  // The next preparation offers the stored custom colours.
  QColorDialog::setCustomColor(1, QColor(Qt::white));
  TPrnColorSetBox again;
  again.SetPrepare(true);
  EXPECT_EQ(QColorDialog::customColor(1), QColor(0, 0, 255));
}

TEST_F(PrintDialogs, ColourDialogFormColoursDefaultsLinkAndCancel)
{
  TPrnColorSetBox dlg;
  dlg.SetProcType(1);
  dlg.SetLineColor1(1);
  dlg.SetLineColor2(2);
  dlg.SetNetColor1(3);
  dlg.SetNetColor2(4);
  dlg.SetPrepare(true);
  EXPECT_TRUE(dlg.lblDefault->isVisibleTo(&dlg));
  EXPECT_EQ(dlg.lblDefault->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(dlg.lblDefault->font().underline());

  answerNext<TPrnColorSetBox>([this](TPrnColorSetBox* d) {
    pickNext(QColor(0, 255, 0), QColor(0, 128, 0));
    d->btnChange[2]->Click();
    EXPECT_EQ(d->SampleColor(2), clLime);
    QTest::mouseClick(d->lblDefault, Qt::LeftButton);  // the question answers Yes
    EXPECT_EQ(boxes.texts, QStringList{QStringLiteral(u"帳票の色を環境設定の色に戻します。\r\nよろしいですか？")});
    EXPECT_EQ(d->lblDefault->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_EQ(QList<TColor>({d->SampleColor(0), d->SampleColor(1), d->SampleColor(2), d->SampleColor(3)}),
              QList<TColor>({0x7900, 0x7900, 0xD7FFD7, 0xD7FFD7}));
    QTest::keyClick(d->pnlSample[0], Qt::Key_Escape);
  });
  EXPECT_EQ(dlg.exec(), mrCancel);
  // Cancel returns the colours the dialog was given and touches no default;
  // the custom colours are kept all the same.
  EXPECT_EQ(QList<TColor>({dlg.LineColor1(), dlg.LineColor2(), dlg.NetColor1(), dlg.NetColor2()}),
            QList<TColor>({1, 2, 3, 4}));
  EXPECT_EQ(SystemDef.NetColor1, 0xD7FFD7);
  EXPECT_EQ(sysdefColours(), QStringLiteral("30976,30976,14155735,14155735"));
  EXPECT_TRUE(customColours().contains(QStringLiteral("ColorB=008000\r\n"))) << customColours().toStdString();
}

TEST_F(PrintDialogs, ColourDialogStaysOpenWhenTheDefaultsCannotBeStored)
{
  refuseWrites(QStringLiteral("SYSDEF"), QStringLiteral("UPDATE"));
  TPrnColorSetBox dlg;
  dlg.SetPrepare(true);
  answerNext<TPrnColorSetBox>([this](TPrnColorSetBox* d) {
    pickNext(QColor(0, 0, 255));
    d->btnChange[1]->Click();
    d->btnOK->Click();
    // Told so, still open with the operator's choice, the defaults as stored.
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral(u"システム情報の書き込みに失敗しました。")))
        << boxes.texts[0].toStdString();
    EXPECT_EQ(d->SampleColor(1), clBlue);
    EXPECT_EQ(d->LineColor2(), 0x7900);
    EXPECT_EQ(SystemDef.LineColor2, 0x7900);
    // Once the database takes it, OK goes through.
    exec(QStringLiteral("DROP TRIGGER T_PRINT_TEST"));
    d->btnOK->Click();
  });
  EXPECT_EQ(dlg.exec(), mrOk);
  EXPECT_EQ(dlg.LineColor2(), clBlue);
  EXPECT_EQ(SystemDef.LineColor2, clBlue);
  EXPECT_EQ(sysdefColours(), QStringLiteral("30976,16711680,14155735,14155735"));
}

// ---------------------------------------------------------------- print dialog

TEST_F(PrintDialogs, PrintDialogAreasAndHeight)
{
  struct Case {
    bool colour, startPage, both, preview, copy;
    int height;
  } cases[] = {
      {true, false, false, false, false, 250}, {true, false, true, true, false, 300},
      {false, true, false, false, true, 300},  {false, false, false, false, false, 300},
      {true, true, true, true, true, 300},
  };
  for (const Case& c : cases) {
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, [&](TPrintDlgBox& d) {
      d.SetColorArea(c.colour);
      d.SetStartPageArea(c.startPage);
      d.SetBothArea(c.both);
      d.SetPreviewButton(c.preview);
      d.SetCopyButton(c.copy);
    });
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    SCOPED_TRACE(c.height);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral(u"試算表の印刷"));
    EXPECT_EQ(dlg->lblMain->text(), QStringLiteral(u"試算表を印刷します。"));
    EXPECT_EQ(dlg->grpColor->isVisible(), c.colour);
    EXPECT_EQ(dlg->btnColorSet->isVisible(), c.colour);
    EXPECT_EQ(dlg->txtStartPage->isVisible(), c.startPage);
    EXPECT_EQ(dlg->chkBoth->isVisible(), c.both);
    EXPECT_EQ(dlg->btnPreview->isVisible(), c.preview);
    EXPECT_EQ(dlg->btnCopy->isVisible(), c.copy);
    EXPECT_EQ(dlg->height(), c.height);
    // The buttons stay at the bottom, OK has the focus.
    EXPECT_EQ(dlg->btnOK->mapTo(dlg.get(), QPoint(0, 0)).y() + dlg->btnOK->height() + 12, c.height);
    EXPECT_TRUE(dlg->btnOK->hasFocus());
    if (c.colour && c.startPage && c.both) {
      EXPECT_TRUE(uitest::saveScreenshot(dlg.get(), QStringLiteral("PrintDlgBox")));
    }
    // Only the first preparation sets the height.
    dlg->SetBothArea(!c.both);
    dlg->SetColorArea(true);
    dlg->SetStartPageArea(false);
    dlg->SetPrepare(true);
    EXPECT_EQ(dlg->height(), c.height);
    dlg->close();
  }
}

TEST_F(PrintDialogs, PrintDialogButtonsKeysAndStartPage)
{
  enum Press { OK, Preview, Copy, F12, Esc, Cancel };
  struct Case {
    const char* typed;
    Press press;
    int result;
    TJxPrintModalResult printResult;
    int startPage;
  } cases[] = {
      {"12", OK, mrOk, jxprPrint, 12},      {"0", Preview, mrOk, jxprPreview, 1},    {"-3", Copy, mrOk, jxprCopy, 1},
      {"", F12, mrOk, jxprPrint, 1},        {"99999999999", OK, mrOk, jxprPrint, 1}, {"7", Esc, mrCancel, jxprNone, 1},
      {"7", Cancel, mrCancel, jxprNone, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, [](TPrintDlgBox& d) {
      d.SetColorArea(true);
      d.SetStartPageArea(true);
      d.SetBothArea(true);
      d.SetPreviewButton(true);
      d.SetCopyButton(true);
      d.SetOKButtonToF12();
    });
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    EXPECT_EQ(dlg->txtStartPage->text(), QStringLiteral("1"));
    dlg->txtStartPage->clear();
    QTest::keyClicks(dlg->txtStartPage, QString::fromLatin1(c.typed));
    EXPECT_EQ(dlg->txtStartPage->text(), QString::fromLatin1(c.typed));
    QTest::mouseClick(dlg->btnColor, Qt::LeftButton);
    QTest::mouseClick(dlg->chkBoth, Qt::LeftButton);
    switch (c.press) {
      case OK:
        dlg->btnOK->Click();
        break;
      case Preview:
        dlg->btnPreview->Click();
        break;
      case Copy:
        dlg->btnCopy->Click();
        break;
      case F12:
        QTest::keyClick(dlg->txtStartPage, Qt::Key_F12);
        break;
      case Esc:
        QTest::keyClick(dlg->txtStartPage, Qt::Key_Escape);
        break;
      case Cancel:
        dlg->btnCancel->Click();
        break;
    }
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), c.result);
    EXPECT_EQ(dlg->PrintResult(), c.printResult);
    EXPECT_EQ(rec.StartPage, c.startPage);
    const bool ok = c.result == mrOk;
    EXPECT_EQ(rec.ColorKbn, ok ? 1 : 0);
    EXPECT_EQ(rec.Both, ok);
    EXPECT_EQ(rec.Sonota, ok ? QStringLiteral("C010=1\r\nC020=1\r\n") : QString());
  }
  // Without SetOKButtonToF12, F12 does not print.
  TDefaultPrintRec rec;
  auto dlg = makePrintDlg(rec, {});
  dlg->show();
  QTest::keyClick(dlg->btnOK, Qt::Key_F12);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->PrintResult(), jxprNone);
}

TEST_F(PrintDialogs, PrintDialogKeepsOptionsPerOperatorAndForm)
{
  const auto setup = [](bool AColourArea) {
    return [AColourArea](TPrintDlgBox& d) {
      d.SetUserColorUse(true);
      d.SetColorArea(AColourArea);
      d.SetBothArea(true);
    };
  };
  {
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, setup(true));
    dlg->show();
    QTest::mouseClick(dlg->btnColor, Qt::LeftButton);
    QTest::mouseClick(dlg->chkBoth, Qt::LeftButton);
    dlg->btnOK->Click();
    EXPECT_EQ(dlg->result(), mrOk);
  }
  // The form's colours are the operator's defaults: stored as unset.
  EXPECT_EQ(styleRow(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,-1,-1,-1|C010=1\r\nC020=1\r\n"));
  {
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, setup(true));
    EXPECT_TRUE(dlg->btnColor->isChecked());
    EXPECT_TRUE(dlg->chkBoth->isChecked());
    EXPECT_EQ(rec.ColorKbn, 1);
    EXPECT_TRUE(rec.Both);
    // Cancel writes the record back too.
    exec(QStringLiteral("DELETE FROM STYLECOLOR"));
    dlg->show();
    dlg->btnCancel->Click();
    EXPECT_EQ(dlg->result(), mrCancel);
  }
  EXPECT_EQ(styleRow(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,-1,-1,-1|C010=1\r\nC020=1\r\n"));
  {
    // Without the colour area the colour option is not restored, and not
    // saved again.
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, setup(false));
    EXPECT_FALSE(dlg->btnColor->isChecked());
    EXPECT_EQ(rec.ColorKbn, 0);
    EXPECT_TRUE(dlg->chkBoth->isChecked());
    dlg->show();
    dlg->btnOK->Click();
  }
  EXPECT_EQ(styleRow(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,-1,-1,-1|C020=1\r\n"));

  // No form name, or colours not kept per operator: the table is not touched.
  exec(QStringLiteral("DELETE FROM STYLECOLOR"));
  for (const bool userColour : {true, false}) {
    TDefaultPrintRec rec;
    auto dlg = makePrintDlg(rec, [&](TPrintDlgBox& d) {
      d.SetUserColorUse(userColour);
      d.SetBothArea(true);
      if (userColour)
        d.DefaultPrintRec()->PrintName.clear();
    });
    dlg->show();
    QTest::mouseClick(dlg->chkBoth, Qt::LeftButton);
    dlg->btnOK->Click();
    EXPECT_EQ(rec.Sonota, QStringLiteral("C020=1\r\n"));
  }
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM STYLECOLOR")), QStringLiteral("0"));

  // A refused write is reported and the dialog closes all the same.
  refuseWrites(QStringLiteral("STYLECOLOR"), QStringLiteral("INSERT"));
  TDefaultPrintRec rec;
  auto dlg = makePrintDlg(rec, setup(true));
  dlg->show();
  dlg->btnOK->Click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->PrintResult(), jxprPrint);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral(u"ユーザー別帳票色情報の更新に失敗しました。")))
      << boxes.texts[0].toStdString();
}

TEST_F(PrintDialogs, PrintDialogColourButton)
{
  // Colours of the form: the colour dialog in its per-form mode; the chosen
  // colour goes into the record and is stored at once.
  TDefaultPrintRec rec;
  auto dlg = makePrintDlg(rec, [](TPrintDlgBox& d) {
    d.SetUserColorUse(true);
    d.SetColorArea(true);
  });
  dlg->show();
  answerNext<TPrnColorSetBox>([](TPrnColorSetBox* c) {
    EXPECT_EQ(c->ProcType(), 1);
    EXPECT_TRUE(c->lblDefault->isVisible());
    pickNext(QColor(255, 0, 0));
    c->btnChange[2]->Click();
    c->btnOK->Click();
  });
  dlg->btnColorSet->Click();
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(rec.NetColor1, clRed);
  EXPECT_EQ(styleRow(QStringLiteral("020-TESTLIST")), QStringLiteral("-1,-1,255,-1|"));
  EXPECT_EQ(SystemDef.NetColor1, 0xD7FFD7);
  dlg->btnCancel->Click();

  // Without per-form colours the dialog edits the operator's defaults.
  exec(QStringLiteral("DELETE FROM STYLECOLOR WHERE STYLENAME<>'Pallet_CustomColor'"));
  TDefaultPrintRec plain;
  auto dlg2 = makePrintDlg(plain, [](TPrintDlgBox& d) { d.SetColorArea(true); });
  dlg2->show();
  answerNext<TPrnColorSetBox>([](TPrnColorSetBox* c) {
    EXPECT_EQ(c->ProcType(), 0);
    EXPECT_FALSE(c->lblDefault->isVisible());
    pickNext(QColor(0, 0, 255));
    c->btnChange[3]->Click();
    c->btnOK->Click();
  });
  dlg2->btnColorSet->Click();
  EXPECT_EQ(plain.NetColor2, clBlue);
  EXPECT_EQ(SystemDef.NetColor2, clBlue);
  EXPECT_EQ(sysdefColours(), QStringLiteral("30976,30976,14155735,16711680"));
  EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM STYLECOLOR WHERE STYLENAME<>'Pallet_CustomColor'")),
            QStringLiteral("0"));
  EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
