#include "ui_test_support.h"

#include <cstdlib>

#include "demo_image.h"
#include "base/file_io.h"
#include "main_window.h"

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
  hooks.folder = [this](const FolderRequest& request) -> std::optional<FolderChoice> {
    folder_requests.push_back(request);
    FolderChoice choice{{}, browsed_folder};
    if (!folders.empty()) {
      choice.chosen = folders.front().value_or(QString());
      folders.pop_front();
    }
    return choice;
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


TestInis::TestInis(Kind kind) : folder_(dir_.path() / "INIs") {
  if (kind != Kind::Missing) std::filesystem::create_directories(folder_);
  if (kind == Kind::Shipped)
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(CORVANE_SOURCE_DIR) / "data" /
                                             "INIs"))
      std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename());
  setenv("CORVANE_INIS", folder_.c_str(), 1);
}

TestInis::~TestInis() { unsetenv("CORVANE_INIS"); }

std::filesystem::path WriteDemo(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / "demo.bin";
  WriteFileAtomic(file, demo::DemoImage());
  return file;
}

void OpenThroughDialog(TMainForm& form, FakeUser& user, const std::filesystem::path& file,
                       int model) {
  user.files.push_back(FileChoice{{QString::fromStdString(file.string())}, model, {}});
  form.ChooseAndOpen();
}

TNodo* NodeAt(TMainForm& form, const std::string& path) {
  TNodo* node = form.Doc().Root();
  std::size_t start = 0;
  while (node != nullptr && start < path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::string name =
        path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    TNodo* found = nullptr;
    for (TNodo* c : node->Children())
      if (c->Text == name) found = c;
    node = found;
    start = slash == std::string::npos ? path.size() : slash + 1;
  }
  return node;
}

void Click(TMainForm& form, const TNodo* node) {
  form.SelectNode(node);
  form.ActualizaBotones();
}

}  // namespace corvane::ui::test
