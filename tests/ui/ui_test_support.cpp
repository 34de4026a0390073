#include "ui_test_support.h"

#include <QCoreApplication>
#include <cstdlib>
#include <sstream>

#include "demo_image.h"

namespace corvane::ui::test {

namespace {

// The first answer of a queue, taken from it; `none` when the queue is empty.
template <typename T>
T Take(std::deque<T>& queue, T none) {
  if (queue.empty()) return none;
  T front = std::move(queue.front());
  queue.pop_front();
  return front;
}

}  // namespace

FakeUser::FakeUser() {
  PromptHooks hooks;
  hooks.message = [this](const Prompt& prompt) {
    shown.push_back(prompt);
    return Take(answers, prompt.kind == PromptKind::Error ? Answer::Ok : Answer::Cancel);
  };
  hooks.file = [this](const FileRequest& request) {
    file_requests.push_back(request);
    return Take(files, std::optional<FileChoice>());
  };
  hooks.folder = [this](const FolderRequest&) {
    const QString chosen = Take(folders, std::optional<QString>()).value_or(QString());
    return std::optional<FolderChoice>(FolderChoice{chosen, browsed_folder});
  };
  hooks.text = [this](const TextRequest&) { return Take(texts, std::optional<QString>()); };
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

QString QPath(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

void ProcessDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

std::filesystem::path WriteDemo(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / "demo.bin";
  WriteFileAtomic(file, demo::DemoImage());
  return file;
}

void OpenThroughDialog(TMainForm& form, FakeUser& user, const std::filesystem::path& file,
                       int model) {
  user.files.push_back(FileChoice{{QPath(file)}, model, {}});
  form.ChooseAndOpen();
}

TNodo* NodeAt(TMainForm& form, const std::string& path) {
  TNodo* node = form.Doc().Root();
  std::istringstream names(path);
  for (std::string name; node != nullptr && std::getline(names, name, '/');) {
    TNodo* found = nullptr;
    for (TNodo* c : node->Children())
      if (c->Text == name) found = c;
    node = found;
  }
  return node;
}

void Click(TMainForm& form, const TNodo* node) {
  form.SelectNode(node);
  form.ActualizaBotones();
}

void DemoTest::init() {
  RegisterEditors();
  w_ = std::make_unique<DemoWindow>();
  QVERIFY(w_->Open());
}

}  // namespace corvane::ui::test
