#include "long_operation.h"

#include <QCoreApplication>

#include "main_window.h"

namespace corvane::ui {

LongOperation::LongOperation(TMainForm& form) : form_(form) { form_.BeginBusy(); }

LongOperation::~LongOperation() { form_.EndBusy(); }

bool LongOperation::Show(const QString& text) {
  form_.SetStatusText(text);
  QCoreApplication::processEvents();
  return !Cancelled();
}

bool LongOperation::Progress(const QString& text, int percent) {
  return Show(text + QLatin1Char(' ') + QString::number(percent) + QLatin1Char('%'));
}

bool LongOperation::Cancelled() const { return form_.CancelRequested(); }


}  // namespace corvane::ui
