// Moving files between the tree and the disk through the real window: insertion with the
// "replace?" question, extraction, file-order lists, saving, and opening over unsaved changes.
#include <QAction>
#include <QtTest>
#include <filesystem>

#include "firmware/codec.h"
#include "base/file_io.h"
#include "main_window.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "tree_view.h"
#include "ui_test_support.h"
#include "ui_text.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;
namespace fs = std::filesystem;

namespace {
Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }
QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }
}  // namespace

class FileCommandsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DemoWindow> w_;

  void OpenDemo() { QVERIFY(w_->Open()); }

 private slots:
  void init() { w_ = std::make_unique<DemoWindow>(); }
  void cleanup() { w_.reset(); }

  void InsertAsksBeforeReplacing_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << static_cast<int>(Answer::Yes) << true;
    QTest::newRow("no") << static_cast<int>(Answer::No) << false;
  }
  void InsertAsksBeforeReplacing() {
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    OpenDemo();
    const fs::path in = w_->work / "in";
    fs::create_directories(in);
    const Bytes new_logo = BytesOf("a brand new logo");
    corvane::test::WriteFile(in / "logo.imz", new_logo);
    corvane::test::WriteFile(in / "extra.cpi", BytesOf("more"));
    const Bytes old_logo = NodeAt(w_->form, "boot/logo.imz")->Data.Datos;

    Click(w_->form, NodeAt(w_->form, "boot"));
    w_->user.files.push_back(FileChoice{{Q(in / "logo.imz"), Q(in / "extra.cpi")}, 0, {}});
    w_->user.answers.push_back(static_cast<Answer>(answer));
    w_->form.Action(Item::InsertRaw)->trigger();

    // The question: message 8, a space, the name, a line break, message 9.
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QCOMPARE(w_->user.shown[0].kind, PromptKind::YesNoAll);
    QCOMPARE(w_->user.shown[0].text,
             QStringLiteral("Ya existe un archivo llamado :  logo.imz\n¿Lo sustituyo por el nuevo?"));
    QCOMPARE(NodeAt(w_->form, "boot/logo.imz")->Data.Datos, replaced ? new_logo : old_logo);
    QVERIFY(NodeAt(w_->form, "boot/extra.cpi") != nullptr);
    QCOMPARE(NodeAt(w_->form, "boot/extra.cpi")->Data.Datos, BytesOf("more"));
    QVERIFY(w_->form.FirmwareModificado());
    QCOMPARE(w_->form.StatusText().startsWith(QStringLiteral("Tamaño del nodo :")), true);
    // The file-selection window: its caption, every resource filter, several files.
    const FileRequest& request = w_->user.file_requests.back();
    QCOMPARE(request.caption, QStringLiteral("Selección de los archivos..."));
    QCOMPARE(request.mode, FileRequest::Mode::OpenMany);
    QCOMPARE(request.filters.front(), QStringLiteral("Todos los archivos (*.*)"));
    QVERIFY(request.filters.contains(QStringLiteral("Scripts (CPI) (*.cpi *.cpz)")));
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_insert_directory), Q(in));
  }

  // The selection windows keep the folder they ended in, also when cancelled.
  void CancelledSelectionsKeepTheirFolder() {
    OpenDemo();
    const fs::path browsed = w_->work / "browsed";
    fs::create_directories(browsed);
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->user.files.push_back(FileChoice{{}, 0, Q(browsed)});  // Cancel
    w_->form.Action(Item::InsertRaw)->trigger();
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_insert_directory), Q(browsed));
    w_->user.browsed_folder = Q(browsed / "deeper");
    w_->form.Action(Item::ExtractRaw)->trigger();  // no folder queued: Cancel
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_export_directory),
             Q(browsed / "deeper"));
    QVERIFY(!w_->form.FirmwareModificado());
  }

  // Characters a name cannot hold become "_"; the user is told after the command.
  void InsertionNotesAreShownAfterTheCommand() {
    OpenDemo();
    const fs::path in = w_->work / "in";
    fs::create_directories(in);
    corvane::test::WriteFile(in / "a\xE5\x90\x8D.cpi", BytesOf("x"));
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->user.files.push_back(FileChoice{{Q(in / "a\xE5\x90\x8D.cpi")}, 0, {}});
    w_->form.Action(Item::InsertRaw)->trigger();
    QVERIFY(w_->form.Doc().Root() != nullptr);
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QCOMPARE(w_->user.shown[0].kind, PromptKind::Information);
  }

  void InsertWithCompressionStoresTheCodecStream() {
    OpenDemo();
    const fs::path in = w_->work / "in";
    fs::create_directories(in);
    const Bytes plain = BytesOf(std::string(300, 'z'));
    corvane::test::WriteFile(in / "Packed.Text", plain);
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->user.files.push_back(FileChoice{{Q(in / "Packed.Text")}, 0, {}});
    w_->form.Action(Item::InsertCompressed)->trigger();
    TNodo* node = NodeAt(w_->form, "void/Packed.Tex");
    QVERIFY(node != nullptr);
    QCOMPARE(Decompress(node->Data.Datos), plain);
    QVERIFY(w_->user.shown.empty());
  }

  // Extraction with decompression writes the folder and the file-order list; deleting a
  // directory and importing that list brings it back.
  void ExtractThenImportTheOrderList() {
    OpenDemo();
    const fs::path out = w_->work / "out";
    fs::create_directories(out);
    Click(w_->form, w_->form.Doc().Root());
    w_->user.folders.push_back(Q(out));
    w_->form.Action(Item::ExtractDecompressed)->trigger();
    QVERIFY(w_->user.shown.empty());
    QCOMPARE(w_->user.folder_requests.front().caption, QStringLiteral("Selección de directorio..."));
    QCOMPARE(corvane::test::ReadFile(out / "~demo.bin" / "boot" / "logo.imz"),
             Decompress(NodeAt(w_->form, "boot/logo.imz")->Data.Datos));
    // The status bar shows the selection again once the operation is over.
    QCOMPARE(w_->form.StatusText(), Render(w_->form.Doc().StatusText(w_->form.Doc().Root())));
    QVERIFY(!w_->form.FirmwareModificado());

    Click(w_->form, NodeAt(w_->form, "panels"));
    w_->form.Action(Item::DeleteNode)->trigger();
    w_->user.files.push_back(FileChoice{{Q(out / "demo.bin.def")}, 0, {}});
    w_->form.Action(Item::ImportFileOrder)->trigger();
    QVERIFY2(w_->user.shown.empty(), qPrintable(w_->user.ShownTexts().join('\n')));
    QVERIFY(NodeAt(w_->form, "panels/menu.paz") != nullptr);
    QCOMPARE(w_->user.file_requests.back().filters,
             QStringList{QStringLiteral("Log con orden de archivos (DEF) (*.def)")});
  }

  void ExtractAllCodeWritesThreeLists() {
    OpenDemo();
    const fs::path out = w_->work / "code";
    fs::create_directories(out);
    w_->user.folders.push_back(Q(out));
    w_->form.Action(Item::ExtractAllCode)->trigger();
    QVERIFY2(w_->user.shown.empty(), qPrintable(w_->user.ShownTexts().join('\n')));
    for (const char* list : {"Applications.txt", "Classes.txt", "Scripts.txt"})
      QVERIFY2(fs::file_size(w_->work / "code" / list) > 0, list);
    QVERIFY(w_->form.StatusText().isEmpty());
  }

  void SaveWritesTheImageAndClearsTheChange() {
    OpenDemo();
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w_->form.FirmwareModificado());
    const fs::path saved = w_->work / "saved.bin";
    w_->user.files.push_back(FileChoice{{Q(saved)}, 0, {}});
    w_->form.Action(Item::SaveAs)->trigger();
    QVERIFY2(fs::is_regular_file(saved), qPrintable(w_->user.ShownTexts().join('\n')));
    QVERIFY(!w_->form.FirmwareModificado());
    QVERIFY(!w_->form.isWindowModified());
    QCOMPARE(w_->user.file_requests.back().default_suffix, QStringLiteral("bin"));
    // The saved image opens with the change in it.
    TArbol tree;
    TFirmware firmware;
    QVERIFY(firmware.Create(saved, tree, 2).ok());
    QCOMPARE(tree.Root()->ChildCount(), 5u);
  }

  void OpeningOverChangesAsksMessage226() {
    OpenDemo();
    Click(w_->form, NodeAt(w_->form, "void"));
    w_->form.Action(Item::DeleteNode)->trigger();
    QVERIFY(w_->form.windowTitle().contains(QStringLiteral("*")) || w_->form.isWindowModified());

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

  void AFileThatDoesNotLoadKeepsTheOpenFirmware() {
    OpenDemo();
    const fs::path junk = w_->work / "junk.bin";
    corvane::test::WriteFile(junk, BytesOf("not a firmware"));
    OpenThroughDialog(w_->form, w_->user, junk, 1);
    QCOMPARE(w_->user.shown.size(), std::size_t{1});
    QVERIFY(w_->form.Doc().IsOpen());
    QVERIFY(NodeAt(w_->form, "boot") != nullptr);
  }

  void DetectTheModelOpensTheDemo() {
    OpenThroughDialog(w_->form, w_->user, w_->demo, 0);
    QVERIFY2(w_->form.Doc().IsOpen(), qPrintable(w_->user.ShownTexts().join('\n')));
    QCOMPARE(w_->form.Doc().Model(), 2);
    QCOMPARE(static_cast<int>(w_->form.Config().settings.last_firmware_type_opened), 2);
  }

  void DetectionThatCannotTellModelsApartOpensNothing() {
    // A Pioneer BCT-14xx image reads just as well as a Kenwood DTF-1 image: the user is told
    // which models fit and picks one, rather than the program guessing.
    corvane::test::ImageSpec spec;
    spec.model = 1;
    spec.dirs = corvane::test::SampleTree();
    const fs::path file = w_->work / "ambiguous.rcu";
    WriteFileAtomic(file, corvane::test::BuildImage(spec).file);
    // The models are named in the language in use.
    const struct {
      int slot;
      QString first, name;
    } cases[] = {
        {1, QStringLiteral("¡ No se puede distinguir el modelo del fichero !"),
         QStringLiteral("1 - Firmware Pioneer BCT-14xx (RCU)")},
        {2, QStringLiteral("The model of the file cannot be told apart!"),
         QStringLiteral("1 - Pioneer BCT-14xx Firmware (RCU)")},
    };
    for (const auto& c : cases) {
      w_->form.LanguageSlot(c.slot)->trigger();
      w_->user.shown.clear();
      OpenThroughDialog(w_->form, w_->user, file, 0);
      QVERIFY(!w_->form.Doc().IsOpen());
      QCOMPARE(w_->user.shown.size(), std::size_t{1});
      QVERIFY2(w_->user.shown[0].text.startsWith(c.first), qPrintable(w_->user.shown[0].text));
      QVERIFY2(w_->user.shown[0].text.contains(c.name), qPrintable(w_->user.shown[0].text));
      QVERIFY(w_->user.shown[0].text.contains(QStringLiteral("\n10 - ")));
    }
    OpenThroughDialog(w_->form, w_->user, file, 1);
    QVERIFY(w_->form.Doc().IsOpen());
  }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
