#include "long_operation.h"

#include <QCoreApplication>
#include <cmath>

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

int LongOperation::Percent(long long done, long long total) {
  if (total <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(done) * 100.0 / static_cast<double>(total)));
}

}  // namespace corvane::ui
