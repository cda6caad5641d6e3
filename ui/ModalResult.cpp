#include "ui/ModalResult.h"

#include <QDialog>
#include <QVariant>
#include <QWidget>

namespace {
constexpr const char* kModalResultProperty = "ModalResult";
}

int fnFormModalResult(const QWidget* form)
{
  return form ? form->property(kModalResultProperty).toInt() : 0;
}

void pcSetFormModalResult(QWidget* form, int result)
{
  if (form)
    form->setProperty(kModalResultProperty, result);
}

bool pcApplyModalResult(QWidget* form)
{
  const int result = fnFormModalResult(form);
  auto* dialog = qobject_cast<QDialog*>(form);
  if (result == mrNone || !dialog)
    return false;
  pcSetFormModalResult(form, mrNone);
  dialog->done(result);
  return true;
}
