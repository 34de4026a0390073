// The panel editor on the demo's menu panel: the canvas against the renderer, mouse editing
// with synthesized events and its undo, the element commands, typing with partial redraws, and
// the element limit of saving.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QUndoStack>
#include <QtTest>

#include "colour_popup.h"
#include "document/panel_commands.h"
#include "editors.h"
#include "main_window.h"
#include "panel_canvas.h"
#include "panel_editor.h"
#include "panel_properties.h"
#include "render/panel_sources.h"
#include "ui_test_support.h"
#include "ui_text.h"
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
  QMouseEvent halfway(QEvent::MouseMove, QPointF((from + to) / 2),
                      canvas->mapToGlobal(QPointF((from + to) / 2)), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
  QApplication::sendEvent(canvas, &halfway);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), canvas->mapToGlobal(QPointF(to)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(canvas, &move);
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

class PanelEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  TForm9* Open(const std::string& path = kMenu) {
    TNodo* node = NodeAt(*form_, path);
    form_->AbreHijo(node);
    return qobject_cast<TForm9*>(form_->EditorOf(node));
  }

 private slots:
  void initTestCase() { RegisterEditors(); }
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

  void CanvasShowsTheRenderersPicture() {
    TForm9* editor = Open();
    QVERIFY(editor && editor->Loaded());
    PanelRenderOptions options;
    options.border = true;
    PixelBuffer expected;
    QVERIFY(RenderPanelNode(*form_->Doc().Tree(), *NodeAt(*form_, kMenu), form_->Doc().Fonts(),
                            options, expected)
                .ok());
    QVERIFY(editor->Canvas() == expected);
    QVERIFY(!editor->Changed());
  }

  void MouseEditing_data() {
    QTest::addColumn<int>("which");  // 0: element 0, 1: the second listed element
    QTest::addColumn<int>("zone");   // 0 move, 1 top edge, 2 bottom edge
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("target");  // x1 wanted when moving; else the pointer's y
    QTest::addColumn<int>("expected");
    QTest::newRow("move, grid 5: x1 13 stores 10") << 0 << 0 << 5 << 13 << 10;
    QTest::newRow("move, grid 1: x1 13 stores 13") << 0 << 0 << 1 << 13 << 13;
    QTest::newRow("top edge stops 3 above the bottom") << 1 << 1 << 1 << 480 << -3;
    QTest::newRow("element 0 keeps the lowest element") << 0 << 2 << 1 << 0 << 0;
  }
  void MouseEditing() {
    QFETCH(int, which);
    QFETCH(int, zone);
    QFETCH(int, grid);
    QFETCH(int, target);
    QFETCH(int, expected);
    TForm9* editor = Open();
    editor->GridSlider()->setValue(grid);
    const int i = editor->ElementList()[static_cast<std::size_t>(which)];
    const PanelRect before = AbsoluteRect(editor->Panel(), i);
    QPoint from = FreePoint(*editor, i), to;
    QVERIFY(from.x() >= 0);
    if (zone == 0) {
      to = QPoint(from.x() - before.x1 + target, from.y());
    } else {
      from.setY(zone == 1 ? before.y1 : before.y2);
      to = QPoint(from.x(), target);
    }
    const int steps = editor->UndoStack()->count();
    Drag(*editor, from, to);
    const PanelRect after = AbsoluteRect(editor->Panel(), i);
    if (zone == 0) QCOMPARE(after.x1, expected);
    if (zone == 1) QCOMPARE(after.y1, after.y2 + expected);
    if (zone == 2) {
      int lowest = 0;
      for (int other : editor->ElementList())
        if (other != 0) lowest = std::max(lowest, AbsoluteRect(editor->Panel(), other).y2);
      QCOMPARE(after.y2, lowest);
    }
    QCOMPARE(editor->UndoStack()->count(), steps + 1);  // a drag is one step
    QVERIFY(editor->Changed());
    editor->UndoAction()->trigger();
    QCOMPARE(AbsoluteRect(editor->Panel(), i), before);
    QVERIFY(!editor->Changed());
  }

  void ElementCommands() {
    TForm9* editor = Open();
    const std::size_t count = editor->Panel().elements.size();
    // The first entry of the list can be neither deleted, cloned nor given other screens.
    QVERIFY(!editor->DeleteButton()->isEnabled());
    QVERIFY(!editor->CloneButton()->isEnabled());
    QVERIFY(!editor->Properties()->visibility->isEnabled());

    // An element without screens lists "FF"; creating there gives screen 31.
    const int second = editor->ElementList()[1];
    editor->SelectElement(second);
    editor->ApplyVisibility(0);
    QVERIFY(editor->ScreenBox()->findText(QStringLiteral("FF")) >= 0);
    editor->ScreenBox()->setCurrentText(QStringLiteral("FF"));
    const std::vector<int> unseen = editor->ElementList();  // the elements without screens
    QVERIFY(std::find(unseen.begin(), unseen.end(), second) != unseen.end());
    QVERIFY(std::find(unseen.begin(), unseen.end(), 0) == unseen.end());
    const int selected = editor->Selected();
    editor->CreateButton()->click();
    QCOMPARE(editor->Panel().elements.size(), count + 1);
    QCOMPARE(editor->Panel().elements[static_cast<std::size_t>(selected + 1)].visibility, 1u << 31);

    // A clone touching element 0's right edge ends at that edge.
    editor->ScreenBox()->setCurrentText(QStringLiteral("00"));
    const int third = editor->ElementList()[2];
    editor->SelectElement(third);
    const PanelRect zero = AbsoluteRect(editor->Panel(), 0);
    const PanelRect r = AbsoluteRect(editor->Panel(), third);
    QLineEdit* x = editor->Properties()->x;
    x->setText(QString::number(zero.x2 - (r.x2 - r.x1) - zero.x1));
    emit x->editingFinished();
    editor->CloneButton()->click();
    QCOMPARE(AbsoluteRect(editor->Panel(), third + 1).x2, zero.x2);
    QCOMPARE(AbsoluteRect(editor->Panel(), third + 1).x1, AbsoluteRect(editor->Panel(), third).x1);

    // Undoing every step gives the panel read from the file; moving to a position is a change.
    while (editor->UndoStack()->canUndo()) editor->UndoStack()->undo();
    QVERIFY(!editor->Changed());
    editor->SelectElement(2);
    const std::string moved = editor->Panel().elements[2].name;
    editor->TargetBox()->setCurrentText(QStringLiteral("1"));
    editor->MoveButton()->click();
    QVERIFY(editor->Changed());
    QCOMPARE(editor->Panel().elements[1].name, moved);
    user_->answers = {Answer::Cancel};
    editor->CancelButton()->click();
    QVERIFY(user_->Showed(Msg(226)));
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
      TForm12& keyboard = VirtualKeyboard(form_.get());
      keyboard.PointerAt(keyboard.CellWidth() * 1 + 1, keyboard.CellHeight() * 4 + 1);  // 'A'
      keyboard.Press();
      keyboard.AcceptButton()->click();
    });
    editor->Properties()->text->moveCursor(QTextCursor::Start);
    editor->Properties()->keyboard->click();
    QCOMPARE(editor->Panel().elements[static_cast<std::size_t>(text_element)].texts[0],
             std::string("AWW"));
  }

  void ColourPopupSwatchesAndStatus() {
    TMHWPalette palette = TMHWPalette::Greys();
    palette.entries[5] = {0x12, 0xAB, 0x0C, 7};
    TForm11 popup(palette, 5, nullptr);
    const std::pair<QPoint, int> hits[] = {
        {{2, 2}, 0}, {{21, 21}, 0}, {{23, 2}, -1}, {{26, 26}, 5}, {{98, 98}, -1}};
    for (const auto& [point, swatch] : hits) QCOMPARE(TForm11::SwatchAt(point), swatch);
    QCOMPARE(popup.Describe(5), Msg(264) + " 5 -- " + Msg(265) + " 12 -- " + Msg(266) + " AB -- " +
                                    Msg(267) + " 0C -- " + Msg(268) + " 07");
  }

  void ElementLimitOfSaving_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("refused");
    QTest::newRow("183 elements save") << 183 << false;
    QTest::newRow("184 elements warn and are refused") << 184 << true;
  }
  void ElementLimitOfSaving() {
    QFETCH(int, count);
    QFETCH(bool, refused);
    TNodo* node = NodeAt(*form_, kMenu);
    WritePanel(*node, count);
    form_->Action(MainWindowItem::OptionLimitPanels)->setChecked(true);
    QPointer<TForm9> editor = Open();
    QCOMPARE(user_->Showed(Msg(219)), refused);
    editor->Properties()->panel_name->setText(QStringLiteral("BIG"));
    emit editor->Properties()->panel_name->textEdited(QStringLiteral("BIG"));
    editor->OkButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(user_->Showed(Msg(217)), refused);
    QCOMPARE(editor.isNull(), !refused);
    if (refused) {
      // The close question saves whatever the limit.
      user_->answers = {Answer::Yes};
      editor->CancelButton()->click();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QVERIFY(editor.isNull());
    }
    TMHWPanel saved;
    QVERIFY(saved.Create(*node).ok());
    QCOMPARE(static_cast<int>(saved.elements.size()), count);
    QCOMPARE(saved.name, std::string("BIG"));
  }
};

QTEST_MAIN(PanelEditorTest)
#include "panel_editor_test.moc"
