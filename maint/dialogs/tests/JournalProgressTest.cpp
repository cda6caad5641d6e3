// The progress text of an export reaches the label and the modeless progress
// box over its form, which stays disabled until the box is hidden.
#include <QLabel>

#include "maint/SiwakeTextIO.h"
#include "maint/dialogs/JournalProgress.h"
#include "maint/tests/JournalTestUtil.h"
#include "ui/xAnimeProgressDialog.h"

namespace journaltest {
namespace {

class JournalProgressTest : public JournalTest {};

TEST_F(JournalProgressTest, ExportShowsItsCountOnLabelAndBox)
{
  openDataSet(0);
  QWidget form;
  form.setObjectName(QStringLiteral("fmJournal"));
  QLabel label(&form);
  form.show();
  TxAnimeProgressDialog box;
  box.Execute(&form);
  EXPECT_FALSE(form.isEnabled());

  TLabelProgressText labelText(&label);
  TProgressBoxText boxText(&box);
  TSiwakeTextIO io;
  io.SetIBTransaction(&tr());
  io.SetMessageCtl(&labelText);
  io.SetProgressBox(&boxText);
  ASSERT_TRUE(io.fnSiwakeOutput(tmp.file("out.txt"), "\t", {"SELECT * FROM SIWAKE_VIEW WHERE TAISHAKU=1"}));
  ASSERT_GE(io.OKCount(), 50);
  const QString last = QStringLiteral("\"%1\"件をｴｸｽﾎﾟｰﾄ中です…").arg(io.OKCount() / 50 * 50);
  EXPECT_EQ(label.text(), last);
  EXPECT_EQ(box.InfoLabel(), last);
  box.Hide();
  EXPECT_TRUE(form.isEnabled());
}

}  // namespace
}  // namespace journaltest
