// Helpers for the desktop program's tests: a stand-in user who answers every message box and
// dialog from queues and records what was shown.
#pragma once

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "editors.h"
#include "main_window.h"
#include "prompts.h"
#include "support/temp_dir.h"
#include "ui_text.h"

namespace corvane::ui::test {

using Item = MainWindowItem;

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
  // The folder a folder dialog was showing when it was answered (also when cancelled).
  QString browsed_folder;
  std::deque<std::optional<QString>> texts;

  // What was shown, in order.
  std::vector<Prompt> shown;
  std::vector<FileRequest> file_requests;

  QStringList ShownTexts() const;
  // True when some message shown so far contains the text.
  bool Showed(const QString& text) const;

 private:
  PromptHooks previous_;
};

// A temporary INIs folder that the window reads through CORVANE_INIS: a copy of the shipped
// data/INIs, an empty folder, or none at all.
class TestInis {
 public:
  enum class Kind { Shipped, Empty, Missing };
  explicit TestInis(Kind kind = Kind::Shipped);
  ~TestInis();
  TestInis(const TestInis&) = delete;
  TestInis& operator=(const TestInis&) = delete;

  std::filesystem::path Folder() const { return folder_; }
  std::filesystem::path MainIni() const { return folder_ / "Corvane.ini"; }

 private:
  corvane::test::TempDir dir_;
  std::filesystem::path folder_;
};

// A disk path as the dialogs give it.
QString QPath(const std::filesystem::path& path);
// Runs the deletions that closed windows posted.
void ProcessDeletes();
// Writes the bundled demo image as `folder`/demo.bin.
std::filesystem::path WriteDemo(const std::filesystem::path& folder);
// Opens a file through the real "&Abrir..." command, answering the open dialog with the file
// and the model's entry.
void OpenThroughDialog(TMainForm& form, FakeUser& user, const std::filesystem::path& file,
                       int model);
// The node at a path below the root, such as "panels/menu.paz" ("" for the root).
TNodo* NodeAt(TMainForm& form, const std::string& path);
// Selects a node the way a click does (selection and the selection update).
void Click(TMainForm& form, const TNodo* node);

// The main window over a copy of the shipped INIs, the stand-in user, and the demo image written
// beside the INIs folder; Open() opens the demo through the open dialog as model 2.
struct DemoWindow {
  TestInis inis;
  FakeUser user;
  std::filesystem::path work = inis.Folder().parent_path();
  std::filesystem::path demo = WriteDemo(work);
  TMainForm form;

  DemoWindow() { form.show(); }
  bool Open() {
    OpenThroughDialog(form, user, demo, 2);
    return form.Doc().IsOpen();
  }
  // The editor a double click on the node at `path` opens.
  template <typename Editor>
  Editor* Edit(const std::string& path) {
    TNodo* node = NodeAt(form, path);
    form.AbreHijo(node);
    return dynamic_cast<Editor*>(form.EditorOf(node));
  }
  // Answers the next file dialog with `file` and the filter.
  void Choose(const std::filesystem::path& file, int filter = 0) {
    user.files.push_back(FileChoice{{QPath(file)}, filter, {}});
  }
};

// The base of a test class whose every test function starts on a fresh DemoWindow with the demo
// open and every editor registered.
class DemoTest : public QObject {
  Q_OBJECT

 protected:
  std::unique_ptr<DemoWindow> w_;

 protected slots:
  void init();
  void cleanup() { w_.reset(); }
};

}  // namespace corvane::ui::test
