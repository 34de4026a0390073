// Helpers for the desktop program's tests: a stand-in user who answers every message box and
// dialog from queues and records what was shown.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "prompts.h"

namespace corvane::ui::test {

class FakeUser {
 public:
  FakeUser();
  ~FakeUser();
  FakeUser(const FakeUser&) = delete;
  FakeUser& operator=(const FakeUser&) = delete;

  // Answers given in order; when the queue is empty, an error box is acknowledged and any
  // question is cancelled.
  std::deque<Answer> answers;
  // Choices for file dialogs (each entry answers one dialog; nullopt cancels it).
  std::deque<std::optional<FileChoice>> files;
  std::deque<std::optional<QString>> folders;
  std::deque<std::optional<QString>> texts;

  // What was shown, in order.
  std::vector<Prompt> shown;
  std::vector<FileRequest> file_requests;
  std::vector<FolderRequest> folder_requests;
  std::vector<TextRequest> text_requests;

  QStringList ShownTexts() const;
  // True when some message shown so far contains the text.
  bool Showed(const QString& text) const;

 private:
  PromptHooks previous_;
};

}  // namespace corvane::ui::test
