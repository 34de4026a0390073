// The common editor frame: the close question against the changed flag and the undo stack, "OK"
// refused by the window, and the change notifications reaching only the other open editors.
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QUndoCommand>
#include <QtTest>

#include "main_window.h"
#include "resource_editor.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {

class FakeEditor : public ResourceEditor {
 public:
  using ResourceEditor::ResourceEditor;
  bool GuardaDatos() override {
    ++writes;
    return accept_writes;
  }
  void Redibuja(const QString& palette) override { heard << palette; }
  void NodeWrittenElsewhere(const TNodo& node) override { written.push_back(&node); }

  int writes = 0;
  bool accept_writes = true;
  QStringList heard;
  std::vector<const TNodo*> written;
};

class Edit : public QUndoCommand {
 public:
  explicit Edit(int& value) : value_(value) {}
  void redo() override { ++value_; }
  void undo() override { --value_; }

 private:
  int& value_;
};

}  // namespace

class ResourceEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  FakeEditor* Open(const std::string& path) {
    auto* editor = new FakeEditor(*form_, *NodeAt(*form_, path));
    form_->AddChild(editor);
    return editor;
  }

 private slots:
  void init() {
    inis_ = std::make_unique<TestInis>();
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    OpenThroughDialog(*form_, *user_, WriteDemo(inis_->Folder().parent_path()), 2);
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void CloseQuestionFollowsTheChange_data() {
    QTest::addColumn<bool>("undo_back");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("stays_open");
    QTest::addColumn<int>("writes");
    QTest::newRow("cancel keeps the window") << false << Answer::Cancel << true << 0;
    QTest::newRow("no discards") << false << Answer::No << false << 0;
    QTest::newRow("yes writes") << false << Answer::Yes << false << 1;
    QTest::newRow("undone back: no question") << true << Answer::Cancel << false << 0;
  }
  void CloseQuestionFollowsTheChange() {
    QFETCH(bool, undo_back);
    QFETCH(Answer, answer);
    QFETCH(bool, stays_open);
    QFETCH(int, writes);
    QPointer<FakeEditor> editor = Open("boot/logo.imz");
    int value = 0;
    editor->Push(new Edit(value));
    QVERIFY(editor->Changed());
    if (undo_back) editor->UndoAction()->trigger();
    QCOMPARE(value, undo_back ? 0 : 1);
    user_->answers = {answer};
    const int counted = editor->writes;
    editor->CancelButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(!editor.isNull(), stays_open);
    if (editor) QCOMPARE(editor->writes - counted, writes);
  }

  void RefusedWriteKeepsTheWindow() {
    QPointer<FakeEditor> editor = Open("boot/logo.imz");
    editor->accept_writes = false;
    editor->OkButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!editor.isNull());
    QCOMPARE(editor->writes, 1);
  }

  void NotificationsReachTheOtherEditors() {
    FakeEditor* first = Open("boot/logo.imz");
    FakeEditor* second = Open("texts/menu.mpz");
    form_->CambioColorPaleta(QStringLiteral("boot:a.lut"));
    QCOMPARE(first->heard, QStringList{QStringLiteral("boot:a.lut")});
    QCOMPARE(second->heard, first->heard);
    form_->NodeWritten(first->Node());
    QVERIFY(first->written.empty());
    QCOMPARE(second->written.size(), std::size_t{1});
  }
};

QTEST_MAIN(ResourceEditorTest)
#include "resource_editor_test.moc"
