// The panel editor on the demo's menu panel: the canvas against the renderer, mouse editing
// with synthesized events and its undo, the element commands, typing with partial redraws, and
// the element limit of saving.
#include <QPlainTextEdit>
#include <QSlider>

#include "document/panel_commands.h"
#include "panel_canvas.h"
#include "panel_editor.h"
#include "panel_properties.h"
#include "render/panel_sources.h"
#include "ui_test_support.h"
#include "virtual_keyboard.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

namespace {
constexpr const char* kMenu = "panels/menu.paz";

// A point of element i's rectangle that no later listed element covers, away from its edges.
QPoint FreePoint(const TForm9& editor, int i) {
  const PanelRect r = AbsoluteRect(editor.Panel(), i);
  for (int y = r.y1 + 4; y <= r.y2 - 4; y += 2)
    for (int x = r.x1 + 4; x <= r.x2 - 4; x += 2)
      if (GrabAt(editor.Panel(), editor.ElementList(), x, y).element == i) return {x, y};
  return {-1, -1};
}

void Drag(TForm9& editor, QPoint from, QPoint to) {
  PanelCanvas* canvas = editor.CanvasWidget();
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, from);
  for (const QPointF at : {QPointF((from + to) / 2), QPointF(to)}) {
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
  }
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, to);
}

// A panel file of `count` elements (element 0 and buttons on screen 0) in the node.
void WritePanel(TNodo& node, int count) {
  TMHWPanel panel;
  panel.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  panel.elements[0].x2 = 500;
  panel.elements[0].y2 = 400;
  for (int i = 1; i < count; ++i) panel.elements.push_back(TMHWPanel::NewElement(kButton, 0));
  QVERIFY(panel.Guarda(node).ok());
}
}  // namespace

class PanelEditorTest : public DemoTest {
  Q_OBJECT

  TForm9* Open() { return w_->Edit<TForm9>(kMenu); }

 private slots:
  void CanvasShowsTheRenderersPicture() {
    TForm9* editor = Open();
    QVERIFY(editor && editor->Loaded());
    PanelRenderOptions options;
    options.border = true;
    PixelBuffer expected;
    QVERIFY(RenderPanelNode(*w_->form.Doc().Tree(), *NodeAt(w_->form, kMenu),
                            w_->form.Doc().Fonts(), options, expected)
                .ok());
    QVERIFY(editor->Canvas() == expected);
    QVERIFY(!editor->Changed());
  }

  // A drag moves the element on the grid as one undo step.
  void DragIsOneUndoStep() {
    TForm9* editor = Open();
    editor->GridSlider()->setValue(5);
    const PanelRect before = AbsoluteRect(editor->Panel(), 0);
    const QPoint from = FreePoint(*editor, 0);
    QVERIFY(from.x() >= 0);
    const int steps = editor->UndoStack()->count();
    Drag(*editor, from, QPoint(from.x() - before.x1 + 13, from.y()));
    QCOMPARE(AbsoluteRect(editor->Panel(), 0).x1, 10);
    QCOMPARE(editor->UndoStack()->count(), steps + 1);
    QVERIFY(editor->Changed());
    editor->UndoAction()->trigger();
    QCOMPARE(AbsoluteRect(editor->Panel(), 0), before);
    QVERIFY(!editor->Changed());
  }

  void ElementCommands() {
    TForm9* editor = Open();
    const std::size_t count = editor->Panel().elements.size();
    // The first entry of the list can be neither deleted, cloned nor given other screens.
    QVERIFY(!editor->DeleteButton()->isEnabled());
    QVERIFY(!editor->CloneButton()->isEnabled());
    QVERIFY(!editor->Properties()->visibility->isEnabled());

    // An element without screens lists "FF", where a new element can be created.
    editor->SelectElement(editor->ElementList()[1]);
    editor->ApplyVisibility(0);
    editor->ScreenBox()->setCurrentText(QStringLiteral("FF"));
    QCOMPARE(editor->ScreenBox()->currentText(), QStringLiteral("FF"));
    editor->CreateButton()->click();
    QCOMPARE(editor->Panel().elements.size(), count + 1);
    editor->ScreenBox()->setCurrentText(QStringLiteral("00"));

    // Undoing every step gives the panel read from the file; moving to a position is a change.
    while (editor->UndoStack()->canUndo()) editor->UndoStack()->undo();
    QVERIFY(!editor->Changed());
    editor->SelectElement(2);
    const std::string moved = editor->Panel().elements[2].name;
    editor->TargetBox()->setCurrentText(QStringLiteral("1"));
    editor->MoveButton()->click();
    QVERIFY(editor->Changed());
    QCOMPARE(editor->Panel().elements[1].name, moved);
    w_->user.answers = {Answer::Cancel};
    editor->CancelButton()->click();
    QVERIFY(w_->user.Showed(Msg(rows::kSaveChanges)));
  }

  void TypingRedrawsFromTheSelectedElement() {
    TForm9* editor = Open();
    int text_element = -1;
    for (int i : editor->ElementList())
      if (i > 0 && editor->Panel().elements[static_cast<std::size_t>(i)].kind == kTextBox)
        text_element = i;
    QVERIFY(text_element > 0);
    editor->SelectElement(text_element);
    const PixelBuffer work = editor->Work();
    const PixelBuffer canvas = editor->Canvas();
    editor->Properties()->kind->setCurrentIndex(kButton - 1);  // no redraw
    QVERIFY(editor->Canvas() == canvas);
    editor->Properties()->text->setPlainText(QStringLiteral("W"));
    QVERIFY(editor->Canvas() != canvas);  // drawn on the canvas only
    QVERIFY(editor->Work() == work);
    QCOMPARE(editor->UndoStack()->count(), 2);
    editor->Properties()->text->setPlainText(QStringLiteral("WW"));
    QCOMPARE(editor->UndoStack()->count(), 2);  // typing in one field is one step
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(editor->Properties()->text, &leave);
    QVERIFY(editor->Work() != work);  // leaving the box redraws the whole panel

    // The virtual keyboard's characters go in at the caret.
    QTimer::singleShot(0, [this] {
      TForm12& keyboard = VirtualKeyboard(&w_->form);
      keyboard.PointerAt(keyboard.CellWidth() * 1 + 1, keyboard.CellHeight() * 4 + 1);  // 'A'
      keyboard.Press();
      keyboard.AcceptButton()->click();
    });
    editor->Properties()->text->moveCursor(QTextCursor::Start);
    editor->Properties()->keyboard->click();
    QCOMPARE(editor->Panel().elements[static_cast<std::size_t>(text_element)].texts[0],
             std::string("AWW"));
  }

  // Over the element limit: a warning on opening, OK refused; the close question saves anyway.
  void ElementLimitOfSaving() {
    TNodo* node = NodeAt(w_->form, kMenu);
    WritePanel(*node, kPanelSaveLimit + 1);
    w_->form.Action(MainWindowItem::OptionLimitPanels)->setChecked(true);
    QPointer<TForm9> editor = Open();
    QVERIFY(w_->user.Showed(Msg(219)));
    editor->Properties()->panel_name->setText(QStringLiteral("BIG"));
    emit editor->Properties()->panel_name->textEdited(QStringLiteral("BIG"));
    editor->OkButton()->click();
    ProcessDeletes();
    QVERIFY(w_->user.Showed(Msg(217)) && editor);
    w_->user.answers = {Answer::Yes};
    editor->CancelButton()->click();
    ProcessDeletes();
    QVERIFY(editor.isNull());
    TMHWPanel saved;
    QVERIFY(saved.Create(*node).ok());
    QCOMPARE(static_cast<int>(saved.elements.size()), kPanelSaveLimit + 1);
    QCOMPARE(saved.name, std::string("BIG"));
  }
};

QTEST_MAIN(PanelEditorTest)
#include "panel_editor_test.moc"
