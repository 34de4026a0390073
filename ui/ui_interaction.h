// The document layer's questions and progress, answered by the desktop program: the "replace?"
// question as a Yes / No / No to all / Yes to all box, progress as the status text of a long
// operation that the user can cancel.
#pragma once

#include <QString>

#include "document/document.h"

class QWidget;

namespace corvane::ui {

class LongOperation;

// The core's questions and progress answered with message boxes and the status bar.
class UiInteraction : public Interaction {
 public:
  // `idle_text` is shown for progress reports without their own text (the search).
  UiInteraction(QWidget* parent, LongOperation& operation, QString idle_text = {});

  ReplaceAnswer AskReplace(const Message& question) override;
  bool Progress(const Message& status, int percent) override;
  void Status(const Message& text) override;

 private:
  QWidget* parent_;
  LongOperation& operation_;
  QString idle_text_;
};

}  // namespace corvane::ui
