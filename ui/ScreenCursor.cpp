#include "ui/ScreenCursor.h"

#include <QApplication>
#include <QCursor>

void pcSetScreenCursor(Qt::CursorShape AShape)
{
  if (AShape == Qt::ArrowCursor) {
    while (QApplication::overrideCursor())
      QApplication::restoreOverrideCursor();
    return;
  }
  if (QApplication::overrideCursor())
    QApplication::changeOverrideCursor(QCursor(AShape));
  else
    QApplication::setOverrideCursor(QCursor(AShape));
}

Qt::CursorShape fnScreenCursor()
{
  const QCursor* cursor = QApplication::overrideCursor();
  return cursor ? cursor->shape() : Qt::ArrowCursor;
}
