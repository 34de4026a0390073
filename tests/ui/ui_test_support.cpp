#include "ui_test_support.h"

namespace corvane::ui::test {

FakeUser::FakeUser() {
  PromptHooks hooks;
  hooks.message = [this](const Prompt& prompt) {
    shown.push_back(prompt);
    if (answers.empty()) return prompt.kind == PromptKind::Error ? Answer::Ok : Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  };
  hooks.file = [this](const FileRequest& request) -> std::optional<FileChoice> {
    file_requests.push_back(request);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
  };
  hooks.folder = [this](const FolderRequest& request) -> std::optional<QString> {
    folder_requests.push_back(request);
    if (folders.empty()) return std::nullopt;
    auto f = folders.front();
    folders.pop_front();
    return f;
  };
  hooks.text = [this](const TextRequest& request) -> std::optional<QString> {
    text_requests.push_back(request);
    if (texts.empty()) return std::nullopt;
    auto t = texts.front();
    texts.pop_front();
    return t;
  };
  previous_ = Prompts::SetHooks(std::move(hooks));
}

FakeUser::~FakeUser() { Prompts::SetHooks(std::move(previous_)); }

QStringList FakeUser::ShownTexts() const {
  QStringList out;
  for (const Prompt& p : shown) out << p.text;
  return out;
}

bool FakeUser::Showed(const QString& text) const {
  for (const Prompt& p : shown)
    if (p.text.contains(text)) return true;
  return false;
}

}  // namespace corvane::ui::test
