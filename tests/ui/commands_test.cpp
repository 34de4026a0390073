// The main window's commands driven through the real window on the demo: which commands the
// selection enables, renaming in place, drag and drop, delete and new directory; insertion with
// the "replace?" question, extraction, file-order lists, saving, and opening over unsaved
// changes; the search, information and comparison windows.
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QScrollBar>

#include "compare_window.h"
#include "editor_registry.h"
#include "firmware/codec.h"
#include "info_window.h"
#include "search_window.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "tree_model.h"
#include "tree_view.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
namespace fs = std::filesystem;

namespace {

struct Enabled {
  bool delete_node, new_directory, hex, insert, extract;
  bool operator==(const Enabled&) const = default;
};

Enabled StatesOf(TMainForm& form) {
  return {form.Action(Item::DeleteNode)->isEnabled(), form.Action(Item::NewDirectory)->isEnabled(),
          form.Action(Item::HexEditorDecompressed)->isEnabled() &&
              form.Action(Item::HexEditorRaw)->isEnabled(),
          form.Action(Item::InsertCompressed)->isEnabled(),
          form.Action(Item::ExtractDecompressed)->isEnabled()};
}

// Renames through the in-place editor, as a user typing and pressing Enter.
void TypeNewName(TMainForm& form, TNodo* node, const QString& text) {
  FirmwareTreeView* view = form.TreeView();
  const QModelIndex index = view->Model()->IndexOf(node);
  view->setCurrentIndex(index);
  view->edit(index);
  auto* editor = view->viewport()->findChild<QLineEdit*>();
  QVERIFY(editor != nullptr);
  editor->setText(text);
  QTest::keyClick(editor, Qt::Key_Return);
  QCoreApplication::processEvents();
}

// A drag entering the tree and moving to `at`; true when the view accepts a drop there.
bool DragMoveTo(FirmwareTreeView* view, const QMimeData* mime, QPoint at) {
  QDragEnterEvent enter(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &enter);
  QDragMoveEvent move(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &move);
  return move.isAccepted();
}

// A drag of the selected node over `target`, then (when `drop`) the drop.
bool DragOnto(TMainForm& form, TNodo* dragged, TNodo* target, bool drop) {
  FirmwareTreeView* view = form.TreeView();
  form.SelectNode(dragged);
  const QModelIndex t = view->Model()->IndexOf(target);
  view->scrollTo(t);
  const QPoint at = view->visualRect(t).center();
  std::unique_ptr<QMimeData> mime(view->Model()->mimeData({view->Model()->IndexOf(dragged)}));
  const bool accepted = DragMoveTo(view, mime.get(), at);
  if (drop && accepted) {
    QDropEvent event(QPointF(at), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &event);
  }
  return accepted;
}

}  // namespace

class CommandsTest : public DemoTest {
  Q_OBJECT

  // Writes `text` as the file `name` of the folder "in" beside the demo.
  fs::path OnDisk(const std::string& name, const std::string& text) {
    fs::create_directories(w_->work / "in");
    corvane::test::WriteText(w_->work / "in" / name, text);
    return w_->work / "in" / name;
  }

 private slots:
  void OpenShowsTheDemoTree() {
    TNodo* root = w_->form.Doc().Root();
    FirmwareTreeModel* model = w_->form.TreeView()->Model();
    QCOMPARE(model->rowCount(model->IndexOf(root)), static_cast<int>(root->ChildCount()));
    QVERIFY(!(model->flags(model->IndexOf(root)) & Qt::ItemIsEditable));  // the root keeps its name
    QVERIFY(model->flags(model->IndexOf(NodeAt(w_->form, "boot"))) & Qt::ItemIsEditable);
    // Right after opening: nothing selected, node commands wait, firmware commands act.
    QVERIFY(w_->form.Action(Item::SaveAs)->isEnabled());
    QVERIFY(!w_->form.Action(Item::DeleteNode)->isEnabled());
    // The open dialog preselected the model last opened (LastFirmwareTypeOpened).
    QCOMPARE(w_->user.file_requests.front().filter_index, 1);
  }

  void SelectionEnablesCommands() {
    const struct {
      const char* path;
      Enabled enabled;
    } cases[] = {{"", {false, false, false, true, true}},
                 {"boot", {true, true, false, true, true}},
                 {"boot/menu.cpi", {true, false, true, true, true}}};
    for (const auto& c : cases) {
      Click(w_->form, NodeAt(w_->form, c.path));
      QVERIFY2(StatesOf(w_->form) == c.enabled, c.path);
      QVERIFY(w_->form.StatusText().startsWith(QStringLiteral("Tamaño del nodo :")));
    }
  }

  void NewDirectoryNeedsRoomInTheDirectoryTable() {
    TNodo* boot = NodeAt(w_->form, "boot");
    // Six directories of twelve slots: room for six more, then none.
    for (int i = 0; i < 6; ++i) {
      Click(w_->form, boot);
      QVERIFY(w_->form.Action(Item::NewDirectory)->isEnabled());
      w_->user.texts.push_back(QStringLiteral("dir%1").arg(i));
      w_->form.Action(Item::NewDirectory)->trigger();
    }
    QCOMPARE(w_->form.Doc().Root()->ChildCount(), 12u);
    Click(w_->form, boot);
    QVERIFY(!w_->form.Action(Item::NewDirectory)->isEnabled());
    QVERIFY(w_->form.isWindowModified());
  }

  void RenameInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("8.3 shortening") << "verylongname.text" << "verylong.tex" << "";
    QTest::newRow("sibling's name") << "logo.imz" << "menu.cpi"
                                    << "¡ Ya existe un nodo con ese nombre !";
  }
  void RenameInPlace() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QFETCH(QString, message);
    TNodo* node = NodeAt(w_->form, "boot/menu.cpi");
    w_->form.TreeView()->expandAll();
    TypeNewName(w_->form, node, typed);
    QCOMPARE(QString::fromStdString(node->Text), result);
    FirmwareTreeModel* model = w_->form.TreeView()->Model();
    QCOMPARE(model->data(model->IndexOf(node), Qt::DisplayRole).toString(), result);
    QCOMPARE(w_->user.ShownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(w_->form.FirmwareModificado(), result != QStringLiteral("menu.cpi"));
  }

  void DragAFileOntoAnotherDirectory() {
    w_->form.TreeView()->expandAll();
    TNodo* readme = NodeAt(w_->form, "extra/readme.txt");
    TNodo* boot = NodeAt(w_->form, "boot");
    QVERIFY(DragOnto(w_->form, readme, boot, true));
    QCOMPARE(NodeAt(w_->form, "extra/readme.txt"), nullptr);
    QCOMPARE(NodeAt(w_->form, "boot/readme.txt"), readme);
    QVERIFY(w_->form.FirmwareModificado());
    // The view follows: the moved node sits below its new parent.
    FirmwareTreeModel* model = w_->form.TreeView()->Model();
    QCOMPARE(model->parent(model->IndexOf(readme)), model->IndexOf(boot));
    QCOMPARE(w_->form.SelectedNode(), readme);
  }

  void DropsThatBreakTheRulesAreRefused() {
    w_->form.TreeView()->expandAll();
    // A directory onto a file.
    QVERIFY(!DragOnto(w_->form, NodeAt(w_->form, "void"), NodeAt(w_->form, "boot/menu.cpi"), false));
    // A drag that did not start in this tree is never accepted.
    QMimeData foreign;
    foreign.setData(QString::fromLatin1(FirmwareTreeModel::kMimeType), "1:2");
    const QPoint at = w_->form.TreeView()->visualRect(
        w_->form.TreeView()->Model()->IndexOf(NodeAt(w_->form, "void"))).center();
    QVERIFY(!DragMoveTo(w_->form.TreeView(), &foreign, at));
    QVERIFY(!w_->form.FirmwareModificado());
  }

  void DraggingNearTheBottomEdgeScrolls() {
    w_->form.resize(400, 260);
    w_->form.TreeView()->expandAll();
    QCoreApplication::processEvents();
    FirmwareTreeView* view = w_->form.TreeView();
    QScrollBar* bar = view->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    TNodo* dragged = NodeAt(w_->form, "extra/readme.txt");
    w_->form.SelectNode(dragged);
    bar->setValue(0);
    const QPoint at(10, view->viewport()->height() - 5);
    QVERIFY(view->Model()->NodeAt(view->indexAt(at)) != nullptr);
    std::unique_ptr<QMimeData> mime(view->Model()->mimeData({view->Model()->IndexOf(dragged)}));
    QVERIFY(DragMoveTo(view, mime.get(), at));
    QVERIFY(bar->value() > 0);
  }

  // A file beside directories (as a crafted image can hold one), dropped onto one of them: the
  // directory it lands in is checked for its name like any other destination.
  void DropOntoASiblingDirectoryChecksTheClash() {
    TNodo* root = w_->form.Doc().Root();
    TNodo* loose = NodeAt(w_->form, "texts/help.mpz");
    QVERIFY(w_->form.Doc().Tree()->Move(loose, root, root->ChildCount()));
    QVERIFY(w_->form.Doc().Rename(loose, "menu.cpi").changed);
    w_->form.TreeChanged();
    w_->form.TreeView()->expandAll();
    QVERIFY(!DragOnto(w_->form, loose, NodeAt(w_->form, "boot"), true));  // boot has a menu.cpi
    QCOMPARE(NodeAt(w_->form, "menu.cpi"), loose);
    QVERIFY(DragOnto(w_->form, loose, NodeAt(w_->form, "void"), true));
    QCOMPARE(NodeAt(w_->form, "void/menu.cpi"), loose);
  }

  // After a delete the node that took its place is selected, and the status text and the
  // commands are those of that node.
  void DeleteSelectsTheNextNode_data() {
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("selected");
    QTest::newRow("a file: the next one") << "boot/main.luz" << "boot/menu.cpi";
    QTest::newRow("the last file: the one before") << "boot/menu.cpi" << "boot/main.luz";
  }
  void DeleteSelectsTheNextNode() {
    QFETCH(QString, deleted);
    QFETCH(QString, selected);
    Click(w_->form, NodeAt(w_->form, deleted.toStdString()));
    w_->form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w_->user.shown.empty());
    QCOMPARE(NodeAt(w_->form, deleted.toStdString()), nullptr);
    QVERIFY(w_->form.FirmwareModificado());
    TNodo* next = NodeAt(w_->form, selected.toStdString());
    QCOMPARE(w_->form.SelectedNode(), next);
    const QString status = w_->form.StatusText();
    const Enabled states = StatesOf(w_->form);
    Click(w_->form, next);
    QCOMPARE(status, w_->form.StatusText());
    QVERIFY(states == StatesOf(w_->form));
  }

  void InsertAsksBeforeReplacing_data() {
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << Answer::Yes << true;
    QTest::newRow("no") << Answer::No << false;
  }
  void InsertAsksBeforeReplacing() {
    QFETCH(Answer, answer);
    QFETCH(bool, replaced);
    const Bytes new_logo = corvane::test::ToBytes("a brand new logo");
    const Bytes old_logo = NodeAt(w_->form, "boot/logo.imz")->Data.Datos;
    Click(w_->form, NodeAt(w_->form, "boot"));
    const QStringList files = {QPath(OnDisk("logo.imz", "a brand new logo")),
                               QPath(OnDisk("extra.cpi", "more"))};
    w_->user.files.push_back(FileChoice{files, 0, {}});
    w_->user.answers.push_back(answer);
    w_->form.Action(Item::InsertRaw)->trigger();
    // The question: message 8, a space, the name, a line break, message 9.
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QCOMPARE(w_->user.shown[0].kind, PromptKind::YesNoAll);
    QCOMPARE(w_->user.shown[0].text,
             QStringLiteral("Ya existe un archivo llamado :  logo.imz\n¿Lo sustituyo por el nuevo?"));
    QCOMPARE(NodeAt(w_->form, "boot/logo.imz")->Data.Datos, replaced ? new_logo : old_logo);
    QVERIFY(NodeAt(w_->form, "boot/extra.cpi") != nullptr);
    QVERIFY(w_->form.FirmwareModificado());
  }

  // The selection windows keep the folder they ended in, also when cancelled.
  void CancelledSelectionsKeepTheirFolder() {
    const fs::path browsed = w_->work / "browsed";
    fs::create_directories(browsed);
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->user.files.push_back(FileChoice{{}, 0, QPath(browsed)});  // Cancel
    w_->form.Action(Item::InsertRaw)->trigger();
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_insert_directory), QPath(browsed));
    w_->user.browsed_folder = QPath(browsed / "deeper");
    w_->form.Action(Item::ExtractRaw)->trigger();  // no folder queued: Cancel
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_export_directory),
             QPath(browsed / "deeper"));
    QVERIFY(!w_->form.FirmwareModificado());
  }

  // Inserting with compression stores the codec's stream; characters a name cannot hold become
  // "_" and the user is told after the command.
  void InsertWithCompressionAndNotes() {
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->user.files.push_back(FileChoice{{QPath(OnDisk("Packed.Text", std::string(300, 'z'))),
                                         QPath(OnDisk("a\xE5\x90\x8D.cpi", "x"))}, 0, {}});
    w_->form.Action(Item::InsertCompressed)->trigger();
    TNodo* node = NodeAt(w_->form, "void/Packed.Tex");
    QVERIFY(node != nullptr);
    QCOMPARE(Decompress(node->Data.Datos), Bytes(300, 'z'));
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QCOMPARE(w_->user.shown[0].kind, PromptKind::Information);
  }

  // Extraction with decompression writes the folder and the file-order list; deleting a
  // directory and importing that list brings it back.
  void ExtractThenImportTheOrderList() {
    const fs::path out = w_->work / "out";
    fs::create_directories(out);
    Click(w_->form, w_->form.Doc().Root());
    w_->user.folders.push_back(QPath(out));
    w_->form.Action(Item::ExtractDecompressed)->trigger();
    QCOMPARE(corvane::test::ReadFile(out / "~demo.bin" / "boot" / "logo.imz"),
             Decompress(NodeAt(w_->form, "boot/logo.imz")->Data.Datos));
    // The status bar shows the selection again once the operation is over.
    QCOMPARE(w_->form.StatusText(), Render(w_->form.Doc().StatusText(w_->form.Doc().Root())));
    QVERIFY(!w_->form.FirmwareModificado());

    Click(w_->form, NodeAt(w_->form, "panels"));
    w_->form.Action(Item::DeleteNode)->trigger();
    w_->Choose(out / "demo.bin.def");
    w_->form.Action(Item::ImportFileOrder)->trigger();
    QVERIFY2(w_->user.shown.empty(), qPrintable(w_->user.ShownTexts().join('\n')));
    QVERIFY(NodeAt(w_->form, "panels/menu.paz") != nullptr);
  }

  void ExtractAllCodeWritesThreeLists() {
    const fs::path out = w_->work / "code";
    fs::create_directories(out);
    w_->user.folders.push_back(QPath(out));
    w_->form.Action(Item::ExtractAllCode)->trigger();
    QVERIFY2(w_->user.shown.empty(), qPrintable(w_->user.ShownTexts().join('\n')));
    for (const char* list : {"Applications.txt", "Classes.txt", "Scripts.txt"})
      QVERIFY2(fs::file_size(w_->work / "code" / list) > 0, list);
    QVERIFY(w_->form.StatusText().isEmpty());
  }

  void SaveWritesTheImageAndClearsTheChange() {
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w_->form.FirmwareModificado());
    const fs::path saved = w_->work / "saved.bin";
    w_->Choose(saved);
    w_->form.Action(Item::SaveAs)->trigger();
    QVERIFY2(fs::is_regular_file(saved), qPrintable(w_->user.ShownTexts().join('\n')));
    QVERIFY(!w_->form.isWindowModified());
    // The saved image opens with the change in it.
    TArbol tree;
    TFirmware firmware;
    QVERIFY(firmware.Create(saved, tree, 2).ok());
    QCOMPARE(tree.Root()->ChildCount(), 5u);
  }

  void OpeningOverChangesAsksMessage226() {
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->form.Action(Item::DeleteNode)->trigger();

    // Cancel: nothing happens, the change stays.
    w_->user.answers.push_back(Answer::Cancel);
    const std::size_t dialogs = w_->user.file_requests.size();
    w_->form.Action(Item::Open)->trigger();
    QCOMPARE(w_->user.shown.back().text, QStringLiteral("¿ Guardar los cambios ?"));
    QCOMPARE(w_->user.shown.back().kind, PromptKind::YesNoCancel);
    QCOMPARE(w_->user.file_requests.size(), dialogs);
    QVERIFY(w_->form.FirmwareModificado());

    // No, then the open dialog cancelled: the change is still there and still marked.
    w_->user.answers.push_back(Answer::No);
    w_->form.Action(Item::Open)->trigger();
    QCOMPARE(w_->user.file_requests.size(), dialogs + 1);
    QVERIFY(w_->form.FirmwareModificado());
    QCOMPARE(NodeAt(w_->form, "void"), nullptr);

    // No, then a file: the demo opens again, unchanged.
    w_->user.answers.push_back(Answer::No);
    OpenThroughDialog(w_->form, w_->user, w_->demo, 2);
    QVERIFY(NodeAt(w_->form, "void") != nullptr);
    QVERIFY(!w_->form.FirmwareModificado());
  }

  // A file that does not load keeps the open firmware. A Pioneer BCT-14xx image reads just as
  // well as a Kenwood DTF-1 image: the user is told which models fit and picks one, rather than
  // the program guessing.
  void FilesThatDoNotOpenKeepTheOpenFirmware() {
    const fs::path junk = w_->work / "junk.bin";
    corvane::test::WriteText(junk, "not a firmware");
    OpenThroughDialog(w_->form, w_->user, junk, 1);
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    corvane::test::ImageSpec spec;
    spec.model = 1;
    spec.dirs = corvane::test::SampleTree();
    const fs::path file = w_->work / "ambiguous.rcu";
    WriteFileAtomic(file, corvane::test::BuildImage(spec).file);
    // The models are named in the language in use.
    w_->form.LanguageSlot(2)->trigger();
    w_->user.shown.clear();
    OpenThroughDialog(w_->form, w_->user, file, 0);
    QVERIFY(NodeAt(w_->form, "boot") != nullptr);
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    const QString text = w_->user.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("The model of the file cannot be told apart!")) &&
                 text.contains(QStringLiteral("1 - Pioneer BCT-14xx Firmware (RCU)")) &&
                 text.contains(QStringLiteral("\n10 - ")),
             qPrintable(text));
    OpenThroughDialog(w_->form, w_->user, file, 1);
    QCOMPARE(w_->form.Doc().Model(), 1);
    // Detection opens the demo as its model, remembered for the next open dialog.
    OpenThroughDialog(w_->form, w_->user, w_->demo, 0);
    QCOMPARE(w_->form.Doc().Model(), 2);
    QCOMPARE(static_cast<int>(w_->form.Config().settings.last_firmware_type_opened), 2);
  }

  // Each hit is selected with the selection update; after a miss the status bar still shows the
  // selected node.
  void SearchStepsThroughNameHits() {
    w_->form.Action(Item::Search)->trigger();
    TForm20* search = w_->form.Search();
    QVERIFY(search != nullptr && search->isVisible());
    search->NamesOnly()->setChecked(true);
    search->Text()->setText(QStringLiteral("cpz"));
    QStringList hits;
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(search->Text(), Qt::Key_Return);
      hits << QString::fromStdString(w_->form.SelectedNode()->Text);
    }
    QCOMPARE(hits, (QStringList{"boot.cpz", "start.cpz", "start.cpz"}));
    QCOMPARE(w_->user.ShownTexts(),
             QStringList{QStringLiteral("¡ No se ha encontrado esa cadena de texto !")});
    QVERIFY(w_->form.Action(Item::HexEditorRaw)->isEnabled());
    const QString status = w_->form.StatusText();
    QVERIFY(!status.isEmpty());
    Click(w_->form, w_->form.SelectedNode());
    QCOMPARE(w_->form.StatusText(), status);
  }

  void SearchOpensTheHitWhenTheOptionIsTicked() {
    EditorRegistry::Register(FileKind::Script, [](TMainForm& main, TNodo& node) -> EditorChild* {
      return new EditorChild(main, node);
    });
    w_->form.Action(Item::OptionOpenSearchResults)->setChecked(true);
    w_->form.Action(Item::Search)->trigger();
    w_->form.Search()->NamesOnly()->setChecked(true);
    w_->form.Search()->Text()->setText(QStringLiteral("menu.cpi"));
    w_->form.Search()->Busca();
    QVERIFY(w_->form.EditorOf(NodeAt(w_->form, "boot/menu.cpi")) != nullptr);
    EditorRegistry::Register(FileKind::Script, {});
  }

  void InformationShowsTheFigures() {
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* window = qobject_cast<TForm19*>(QApplication::activeModalWidget());
      QVERIFY(window != nullptr);
      shown << window->windowTitle() << window->ValueText(0) << window->ValueText(1);
      QCOMPARE(window->PiePosition(0), 50);
      window->close();
    });
    w_->form.Action(Item::Information)->trigger();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0], QStringLiteral("Información"));
    QCOMPARE(shown[1], QStringLiteral("6 / 12  (50.00%)"));
    QVERIFY(shown[2].endsWith(QStringLiteral(" / ???")));
  }

  void CompareAFirmwareWithItsCopy() {
    const fs::path copy = w_->work / "copy.bin";
    fs::copy_file(w_->demo, copy);
    TForm21 window(w_->form);
    QVERIFY(!window.CompareButton()->isEnabled());
    w_->Choose(w_->demo, 2);  // model 2
    window.PickFile(1);
    QVERIFY(!window.CompareButton()->isEnabled());
    window.File(2)->setText(QPath(w_->demo));
    QVERIFY(!window.CompareButton()->isEnabled());  // the same file twice
    w_->Choose(copy);  // detect
    w_->form.Config().settings.last_opened_directory.clear();
    window.PickFile(2);
    // The picked file's folder is where the next open dialog starts.
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_opened_directory), QPath(w_->work));
    QVERIFY(window.CompareButton()->isEnabled());
    window.Compare();
    QVERIFY(window.Summary().endsWith(QStringLiteral(
        "No hay diferencias entre archivos de igual nombre\nNo falta ningún archivo")));
    const fs::path summary = w_->work / "summary.txt";
    w_->Choose(summary);
    window.SaveSummary();
    QCOMPARE(corvane::test::ReadText(summary).substr(0, 25), std::string("Cargando firmware 1 ...\r\n"));
    // The main window's firmware was not touched.
    QVERIFY(!w_->form.FirmwareModificado());
  }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
