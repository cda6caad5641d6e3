#include "ui/xAnimeProgressDialog.h"

#include <cmath>

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>

// ---------------------------------------------------------------- TxAnimate

TxAnimate::TxAnimate(QWidget* AParent) : QWidget(AParent)
{
  FTimer = new QTimer(this);
  FTimer->setInterval(100);
  connect(FTimer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
  FClock.start();
}

TxAnimate::~TxAnimate() = default;

void TxAnimate::SetCommonAVI(TCommonAVI AValue)
{
  FCommonAVI = AValue;
  update();
}

void TxAnimate::SetFileName(const QString& AFile)
{
  FFileName = AFile;
  FMovie.reset();
  if (!AFile.isEmpty()) {
    auto movie = std::make_unique<QMovie>(AFile);
    if (movie->isValid()) {
      movie->setScaledSize(size());
      connect(movie.get(), &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
      FMovie = std::move(movie);
      if (FActive)
        FMovie->start();
    }
  }
  update();
}

void TxAnimate::SetActive(bool AValue)
{
  FActive = AValue;
  if (FActive) {
    FTimer->start();
    if (FMovie)
      FMovie->start();
  } else {
    FTimer->stop();
    if (FMovie)
      FMovie->stop();
  }
  update();
}

void TxAnimate::paintEvent(QPaintEvent*)
{
  if (!HasAnimation())
    return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  if (FMovie) {
    p.drawPixmap(rect(), FMovie->currentPixmap());
    return;
  }
  // Our own drawing: eight dots on a ring, the lead dot darkest; the lead
  // moves one place every 125 ms while active.
  const int frame = FActive ? static_cast<int>((FClock.elapsed() / 125) % 8) : 0;
  const QPointF centre(width() / 2.0, height() / 2.0);
  const double radius = std::min(width(), height()) / 2.0 - 4.0;
  const double dot = std::max(2.0, radius / 3.5);
  QColor base(0, 0, 128);
  if (FCommonAVI == aviDeleteFile || FCommonAVI == aviRecycleFile || FCommonAVI == aviEmptyRecycle)
    base = QColor(128, 0, 0);
  for (int i = 0; i < 8; ++i) {
    const int age = (frame - i + 8) % 8;  // 0 = the lead dot
    QColor c = base;
    c.setAlpha(255 - age * 28);
    const double angle = i * M_PI / 4.0 - M_PI / 2.0;
    const QPointF at(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(at, dot / 2.0, dot / 2.0);
  }
}

// ----------------------------------------------------------- TxProgressForm

TxProgressForm::TxProgressForm(QWidget* AParent) : QDialog(AParent) {}

bool TxProgressForm::event(QEvent* AEvent)
{
  if (AEvent->type() == static_cast<QEvent::Type>(WM_ANIMEPROGRESS_RUN)) {
    if (OnRun)
      OnRun();
    return true;
  }
  return QDialog::event(AEvent);
}

void TxProgressForm::showEvent(QShowEvent* AEvent)
{
  QDialog::showEvent(AEvent);
  if (PostRunOnShow) {
    PostRunOnShow = false;
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_ANIMEPROGRESS_RUN)));
  }
}

void TxProgressForm::closeEvent(QCloseEvent* AEvent)
{
  if (OnCloseForm)
    OnCloseForm();
  QDialog::closeEvent(AEvent);
}

void TxProgressForm::keyPressEvent(QKeyEvent* AEvent)
{
  // The box has no close icon; Esc must not close it either: a job stops
  // through the cancel button only.
  if (AEvent->key() == Qt::Key_Escape) {
    AEvent->accept();
    return;
  }
  QDialog::keyPressEvent(AEvent);
}

// ---------------------------------------------------- TxAnimeProgressDialog

TxAnimeProgressDialog::TxAnimeProgressDialog(QObject* AOwner) : QObject(AOwner) {}

TxAnimeProgressDialog::~TxAnimeProgressDialog()
{
  Hide();
}

void TxAnimeProgressDialog::WaitMSec(int AMSec)
{
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < AMSec)
    QThread::msleep(1);
}

void TxAnimeProgressDialog::Execute(QWidget* ASender)
{
  FParentForm = (ASender && !ASender->objectName().isEmpty()) ? ASender : nullptr;
  if (FParentForm)
    FParentHandle = FParentForm->window();
  // A window that has gone is no owner.
  if (FParentHandle && !FParentHandle->isWindow())
    FParentHandle = FParentHandle->window();

  if (!FForm) {
    // The box is a window of its own; the parent form owns it as a
    // window (transient parent), so that it stays in front of the form
    // and is not disabled together with it.
    FForm = std::make_unique<TxProgressForm>(nullptr);
    FForm->setAttribute(Qt::WA_DeleteOnClose, false);
    FAnimate1 = new TxAnimate(FForm.get());
    FLabel1 = new QLabel(FForm.get());
    FCancelButton = new QPushButton(QStringLiteral("キャンセル"), FForm.get());
    FCancelButton->setAutoDefault(false);
    connect(FCancelButton, &QPushButton::clicked, this, [this] { FCancel = true; });
  }
  TxProgressForm* box = FForm.get();
  if (FParentForm)
    box->setFont(FParentForm->font());
  box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  if (FParentHandle) {
    box->winId();
    if (box->windowHandle() && FParentHandle->window()->windowHandle())
      box->windowHandle()->setTransientParent(FParentHandle->window()->windowHandle());
  }
  box->setWindowTitle(FCaption);
  box->setFixedSize(380, 100);
  box->OnCloseForm = [this] {
    if (OnClose)
      OnClose(this);
  };

  FAnimate1->setGeometry(20, 16, 32, 32);
  FAnimate1->SetCommonAVI(FCommonAVI);
  if (!FAviFile.isEmpty())
    SetAviFile(FAviFile);
  FLabel1->setText(FInfoLabel);
  FLabel1->setWordWrap(false);

  FCancel = false;
  FCancelButton->setGeometry(152, 67, 76, 23);
  FCancelButton->setVisible(FCancelBtnShow);
  layoutControls();

  FShowing = true;
  AnimationActive(true);

  struct TFinally {
    TxAnimeProgressDialog* self;
    bool modal;
    ~TFinally()
    {
      if (modal) {
        self->FForm.reset();
        self->FLabel1 = nullptr;
        self->FAnimate1 = nullptr;
        self->FCancelButton = nullptr;
      }
      QCoreApplication::processEvents();
      WaitMSec(50);
    }
  };

  if (OnShow) {
    TFinally finally{this, true};
    FException = nullptr;
    box->OnRun = [this] { runWork(); };
    box->PostRunOnShow = true;
    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    if (FException) {
      std::exception_ptr kept = FException;
      FException = nullptr;
      std::rethrow_exception(kept);
    }
  } else if (FParentHandle) {
    TFinally finally{this, false};
    setFormPosition();
    FParentHandle->setEnabled(false);
    box->show();
  } else {
    TFinally finally{this, false};
    box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box->show();
  }
}

void TxAnimeProgressDialog::runWork()
{
  try {
    if (OnShow)
      OnShow(FForm.get());
  } catch (...) {
    FException = std::current_exception();
  }
  if (FForm)
    FForm->done(QDialog::Accepted);
}

void TxAnimeProgressDialog::layoutControls()
{
  if (!FForm)
    return;
  const int labelHeight = FLabel1->fontMetrics().size(Qt::TextSingleLine, QStringLiteral("Wq")).height();
  FAnimate1->setGeometry(20, 16, 32, 32);
  int top = FLabelPosition == xlpRight ? 24 : 52;
  const int left = FLabelPosition == xlpRight ? 60 : 20;
  if (!FCancelBtnShow) {
    const int half = FForm->height() / 2;
    top = FLabelPosition == xlpRight ? half - 8 : half + 20;
  }
  FLabel1->setGeometry(left, top, 300, labelHeight);
  FForm->update();
}

void TxAnimeProgressDialog::setFormPosition()
{
  if (!FForm)
    return;
  QWidget* parent = FParentHandle;
  const QRect parentRect = parent ? parent->frameGeometry() : QRect();
  QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
  if (!FForm->isVisible() || parentRect.isEmpty()) {
    if (screen) {
      const QRect area = screen->geometry();
      FForm->move(area.left() + (area.width() - FForm->width()) / 2,
                  area.top() + (area.height() - FForm->height()) / 2);
    }
    FForm->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return;
  }
  FForm->move(parentRect.left() + (parentRect.width() - FForm->width()) / 2,
              parentRect.top() + (parentRect.height() - FForm->height()) / 2);
}

void TxAnimeProgressDialog::Hide()
{
  if (FParentHandle)
    FParentHandle->setEnabled(true);
  FShowing = false;
  if (FForm) {
    FForm->OnCloseForm = nullptr;
    FForm->OnRun = nullptr;
  }
  FForm.reset();
  FLabel1 = nullptr;
  FAnimate1 = nullptr;
  FCancelButton = nullptr;
}

void TxAnimeProgressDialog::CancelClear()
{
  FCancel = false;
  AnimationActive(true);
}

void TxAnimeProgressDialog::AnimationActive(bool AValue)
{
  if (!FForm)
    return;
  if (FAnimate1->HasAnimation())
    FAnimate1->SetActive(AValue);
  FForm->update();
}

void TxAnimeProgressDialog::SetCaption(const QString& AValue)
{
  FCaption = AValue;
  if (FForm)
    FForm->setWindowTitle(AValue);
}

void TxAnimeProgressDialog::SetInfoLabel(const QString& AValue)
{
  FInfoLabel = AValue;
  if (!FForm)
    return;
  FLabel1->setText(AValue);
  // The job holds the main thread: paint the box now, with the
  // animation's current frame.
  FForm->repaint();
  WaitMSec(1);
}

void TxAnimeProgressDialog::SetLabelPosition(TxLabelPosition AValue)
{
  FLabelPosition = AValue;
  layoutControls();
}

void TxAnimeProgressDialog::SetCommonAVI(TCommonAVI AValue)
{
  FCommonAVI = AValue;
  if (FForm)
    FAnimate1->SetCommonAVI(AValue);
}

void TxAnimeProgressDialog::SetAviFile(const QString& AValue)
{
  FAviFile = AValue;
  if (!FForm)
    return;
  if (!FAviFile.isEmpty() && !QFileInfo::exists(FAviFile))
    FAviFile.clear();
  FAnimate1->SetFileName(FAviFile);
}

bool TxAnimeProgressDialog::AnimeActive() const
{
  return FForm && FAnimate1->Active();
}

void TxAnimeProgressDialog::SetAnimeActive(bool AValue)
{
  if (FForm)
    FAnimate1->SetActive(AValue);
}
