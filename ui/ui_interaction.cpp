#include "ui_interaction.h"

#include "long_operation.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

UiInteraction::UiInteraction(QWidget* parent, LongOperation& operation, QString idle_text)
    : parent_(parent), operation_(operation), idle_text_(std::move(idle_text)) {}

ReplaceAnswer UiInteraction::AskReplace(const Message& question) {
  switch (Prompts::YesNoAll(parent_, Render(question))) {
    case Answer::Yes:
    case Answer::Ok:
      return ReplaceAnswer::Yes;
    case Answer::YesToAll:
      return ReplaceAnswer::YesToAll;
    case Answer::No:
      return ReplaceAnswer::No;
    case Answer::NoToAll:
    case Answer::Cancel:
      return ReplaceAnswer::NoToAll;
  }
  return ReplaceAnswer::No;
}

bool UiInteraction::Progress(const Message& status, int percent) {
  return operation_.Progress(status.Empty() ? idle_text_ : Render(status), percent);
}

void UiInteraction::Status(const Message& text) { operation_.Show(Render(text)); }

}  // namespace corvane::ui
