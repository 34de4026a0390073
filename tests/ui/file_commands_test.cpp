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
  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;
  fs::path work_;
  fs::path demo_;

  void OpenDemo() {
    OpenThroughDialog(*form_, *user_, demo_, 2);
    QVERIFY(form_->Doc().IsOpen());
  }

 private slots:
  void init() {
    inis_ = std::make_unique<TestInis>();
    work_ = inis_->Folder().parent_path();
    demo_ = WriteDemo(work_);
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    form_->show();
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

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
    const fs::path in = work_ / "in";
    fs::create_directories(in);
    const Bytes new_logo = BytesOf("a brand new logo");
    corvane::test::WriteFile(in / "logo.imz", new_logo);
    corvane::test::WriteFile(in / "extra.cpi", BytesOf("more"));
    const Bytes old_logo = NodeAt(*form_, "boot/logo.imz")->Data.Datos;

    Click(*form_, NodeAt(*form_, "boot"));
    user_->files.push_back(FileChoice{{Q(in / "logo.imz"), Q(in / "extra.cpi")}, 0});
    user_->answers.push_back(static_cast<Answer>(answer));
    form_->Action(Item::InsertRaw)->trigger();

    // The question: message 8, a space, the name, a line break, message 9.
    QCOMPARE(user_->shown.size(), std::size_t{1});
    QCOMPARE(user_->shown[0].kind, PromptKind::YesNoAll);
    QCOMPARE(user_->shown[0].text,
             QStringLiteral("Ya existe un archivo llamado :  logo.imz\n¿Lo sustituyo por el nuevo?"));
    QCOMPARE(NodeAt(*form_, "boot/logo.imz")->Data.Datos, replaced ? new_logo : old_logo);
    QVERIFY(NodeAt(*form_, "boot/extra.cpi") != nullptr);
    QCOMPARE(NodeAt(*form_, "boot/extra.cpi")->Data.Datos, BytesOf("more"));
    QVERIFY(form_->FirmwareModificado());
    QCOMPARE(form_->StatusText().startsWith(QStringLiteral("Tamaño del nodo :")), true);
    // The file-selection window: its caption, every resource filter, several files.
    const FileRequest& request = user_->file_requests.back();
    QCOMPARE(request.caption, QStringLiteral("Selección de los archivos..."));
    QCOMPARE(request.mode, FileRequest::Mode::OpenMany);
    QCOMPARE(request.filters.front(), QStringLiteral("Todos los archivos (*.*)"));
    QVERIFY(request.filters.contains(QStringLiteral("Scripts (CPI) (*.cpi *.cpz)")));
    QCOMPARE(QString::fromStdString(form_->Config().settings.last_insert_directory), Q(in));
  }

  void InsertWithCompressionStoresTheCodecStream() {
    OpenDemo();
    const fs::path in = work_ / "in";
    fs::create_directories(in);
    const Bytes plain = BytesOf(std::string(300, 'z'));
    corvane::test::WriteFile(in / "Packed.Text", plain);
    Click(*form_, NodeAt(*form_, "void"));
    user_->files.push_back(FileChoice{{Q(in / "Packed.Text")}, 0});
    form_->Action(Item::InsertCompressed)->trigger();
    TNodo* node = NodeAt(*form_, "void/Packed.Tex");
    QVERIFY(node != nullptr);
    QCOMPARE(Decompress(node->Data.Datos), plain);
    QVERIFY(user_->shown.empty());
  }

  void ExtractWritesTheFolderAndTheOrderList() {
    OpenDemo();
    const fs::path out = work_ / "out";
    fs::create_directories(out);
    Click(*form_, form_->Doc().Root());
    user_->folders.push_back(Q(out));
    form_->Action(Item::ExtractDecompressed)->trigger();
    QVERIFY(user_->shown.empty());
    QCOMPARE(user_->folder_requests.front().caption, QStringLiteral("Selección de directorio..."));
    const fs::path root = out / "~demo.bin";
    for (const char* dir : {"boot", "panels", "texts", "code", "extra", "void"})
      QVERIFY2(fs::is_directory(root / dir), dir);
    // Decompressed where the bytes are a stream, stored bytes otherwise.
    QCOMPARE(corvane::test::ReadFile(root / "boot" / "logo.imz"),
             Decompress(NodeAt(*form_, "boot/logo.imz")->Data.Datos));
    QCOMPARE(corvane::test::ReadText(root / "extra" / "readme.txt").substr(0, 14),
             std::string("Corvane demo f"));
    QVERIFY(fs::is_regular_file(out / "demo.bin.def"));
    QVERIFY(form_->StatusText().isEmpty());
    QVERIFY(!form_->FirmwareModificado());
  }

  void ExtractWithoutDecompressionKeepsStoredBytes() {
    OpenDemo();
    const fs::path out = work_ / "raw";
    fs::create_directories(out);
    TNodo* logo = NodeAt(*form_, "boot/logo.imz");
    Click(*form_, logo);
    user_->folders.push_back(Q(out));
    form_->Action(Item::ExtractRaw)->trigger();
    QCOMPARE(corvane::test::ReadFile(out / "logo.imz"), logo->Data.Datos);
    QVERIFY(!fs::exists(out / "demo.bin.def"));
  }

  void OrderListExportAndImportRebuildTheTree() {
    OpenDemo();
    const fs::path out = work_ / "order";
    fs::create_directories(out);
    Click(*form_, form_->Doc().Root());
    user_->folders.push_back(Q(out));
    form_->Action(Item::ExtractDecompressed)->trigger();
    Click(*form_, NodeAt(*form_, "panels"));
    form_->Action(Item::DeleteNode)->trigger();
    QCOMPARE(NodeAt(*form_, "panels"), nullptr);
    user_->files.push_back(FileChoice{{Q(out / "demo.bin.def")}, 0});
    form_->Action(Item::ImportFileOrder)->trigger();
    QVERIFY2(user_->shown.empty(), qPrintable(user_->ShownTexts().join('\n')));
    QVERIFY(NodeAt(*form_, "panels/menu.paz") != nullptr);
    QCOMPARE(form_->Doc().Root()->ChildCount(), 6u);
    QCOMPARE(user_->file_requests.back().filters,
             QStringList{QStringLiteral("Log con orden de archivos (DEF) (*.def)")});
  }

  void ExtractAllCodeWritesThreeLists() {
    OpenDemo();
    const fs::path out = work_ / "code";
    fs::create_directories(out);
    user_->folders.push_back(Q(out));
    form_->Action(Item::ExtractAllCode)->trigger();
    QVERIFY2(user_->shown.empty(), qPrintable(user_->ShownTexts().join('\n')));
    const std::string separator(41, '-');
    QVERIFY(corvane::test::ReadText(out / "Applications.txt")
                .starts_with(separator + "\r\nDirectorio : code\r\nAplicación : start.apz\r\n"));
    QVERIFY(corvane::test::ReadText(out / "Classes.txt").find("Nombre de la clase : main\r\n") !=
            std::string::npos);
    const std::string scripts = corvane::test::ReadText(out / "Scripts.txt");
    QVERIFY(scripts.starts_with(separator +
                                "\r\nDirectorio : boot\r\nScript : boot.cpz\r\n\r\nclass main;\r\n"));
    QVERIFY(scripts.find("Directorio : code\r\nScript : start.cpz") != std::string::npos);
    QVERIFY(form_->StatusText().isEmpty());
  }

  void SaveWritesTheImageAndClearsTheChange() {
    OpenDemo();
    Click(*form_, NodeAt(*form_, "void"));
    form_->Action(Item::DeleteNode)->trigger();
    QVERIFY(form_->FirmwareModificado());
    const fs::path saved = work_ / "saved.bin";
    user_->files.push_back(FileChoice{{Q(saved)}, 0});
    form_->Action(Item::SaveAs)->trigger();
    QVERIFY2(fs::is_regular_file(saved), qPrintable(user_->ShownTexts().join('\n')));
    QVERIFY(!form_->FirmwareModificado());
    QVERIFY(!form_->isWindowModified());
    QCOMPARE(user_->file_requests.back().default_suffix, QStringLiteral("bin"));
    // The saved image opens with the change in it.
    TArbol tree;
    TFirmware firmware;
    QVERIFY(firmware.Create(saved, tree, 2).ok());
    QCOMPARE(tree.Root()->ChildCount(), 5u);
  }

  void OpeningOverChangesAsksMessage226() {
    OpenDemo();
    Click(*form_, NodeAt(*form_, "void"));
    form_->Action(Item::DeleteNode)->trigger();
    QVERIFY(form_->windowTitle().contains(QStringLiteral("*")) || form_->isWindowModified());

    // Cancel: nothing happens, the change stays.
    user_->answers.push_back(Answer::Cancel);
    const std::size_t dialogs = user_->file_requests.size();
    form_->Action(Item::Open)->trigger();
    QCOMPARE(user_->shown.back().text, QStringLiteral("¿ Guardar los cambios ?"));
    QCOMPARE(user_->shown.back().kind, PromptKind::YesNoCancel);
    QCOMPARE(user_->file_requests.size(), dialogs);
    QVERIFY(form_->FirmwareModificado());

    // No, then the open dialog cancelled: the change is still there and still marked.
    user_->answers.push_back(Answer::No);
    form_->Action(Item::Open)->trigger();
    QCOMPARE(user_->file_requests.size(), dialogs + 1);
    QVERIFY(form_->FirmwareModificado());
    QCOMPARE(NodeAt(*form_, "void"), nullptr);

    // No, then a file: the demo opens again, unchanged.
    user_->answers.push_back(Answer::No);
    OpenThroughDialog(*form_, *user_, demo_, 2);
    QVERIFY(NodeAt(*form_, "void") != nullptr);
    QVERIFY(!form_->FirmwareModificado());
  }

  void AFileThatDoesNotLoadKeepsTheOpenFirmware() {
    OpenDemo();
    const fs::path junk = work_ / "junk.bin";
    corvane::test::WriteFile(junk, BytesOf("not a firmware"));
    OpenThroughDialog(*form_, *user_, junk, 1);
    QCOMPARE(user_->shown.size(), std::size_t{1});
    QVERIFY(form_->Doc().IsOpen());
    QVERIFY(NodeAt(*form_, "boot") != nullptr);
  }

  void DetectTheModelOpensTheDemo() {
    OpenThroughDialog(*form_, *user_, demo_, 0);
    QVERIFY2(form_->Doc().IsOpen(), qPrintable(user_->ShownTexts().join('\n')));
    QCOMPARE(form_->Doc().Model(), 2);
    QCOMPARE(static_cast<int>(form_->Config().settings.last_firmware_type_opened), 2);
  }

  void DetectionThatCannotTellModelsApartOpensNothing() {
    // A Pioneer BCT-14xx image reads just as well as a Kenwood DTF-1 image: the user is told
    // which models fit and picks one, rather than the program guessing.
    corvane::test::ImageSpec spec;
    spec.model = 1;
    spec.dirs = corvane::test::SampleTree();
    const fs::path file = work_ / "ambiguous.rcu";
    WriteFileAtomic(file, corvane::test::BuildImage(spec).file);
    OpenThroughDialog(*form_, *user_, file, 0);
    QVERIFY(!form_->Doc().IsOpen());
    QCOMPARE(user_->shown.size(), std::size_t{1});
    QVERIFY(user_->shown[0].text.startsWith(QStringLiteral("¡ El fichero no es del tipo seleccionado !")));
    QVERIFY(user_->shown[0].text.contains(QStringLiteral("1 - Firmware Pioneer BCT-14xx (RCU)")));
    QVERIFY(user_->shown[0].text.contains(QStringLiteral("10 - ")));
    OpenThroughDialog(*form_, *user_, file, 1);
    QVERIFY(form_->Doc().IsOpen());
  }
};

QTEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
