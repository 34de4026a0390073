// A long command of the main window (extraction, insertion, code export, order import, search
// through contents): while it runs, the window's commands are disabled, the status bar shows the
// operation's text and percentage and a Cancel button, and events keep flowing so the window
// repaints and the user can cancel (button or Escape).
#pragma once

#include <QString>

namespace corvane::ui {

class TMainForm;

// A long command in progress: disables the window's commands and offers Cancel.
class LongOperation {
 public:
  explicit LongOperation(TMainForm& form);
  ~LongOperation();
  LongOperation(const LongOperation&) = delete;
  LongOperation& operator=(const LongOperation&) = delete;

  // Shows the text as the status text and lets pending events through. False once the user
  // has asked to cancel.
  bool Show(const QString& text);
  // Shows text, a space, the percentage and "%".
  bool Progress(const QString& text, int percent);
  bool Cancelled() const;

 private:
  TMainForm& form_;
};

}  // namespace corvane::ui
