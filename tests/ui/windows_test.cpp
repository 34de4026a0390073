// The search, information and comparison windows on the demo.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "compare_window.h"
#include "editor_registry.h"
#include "info_window.h"
#include "main_window.h"
#include "search_window.h"
#include "support/files.h"
#include "tree_view.h"
#include "ui_test_support.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;
using Item = MainWindowItem;
namespace fs = std::filesystem;

namespace {
QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

class CountingEditor : public EditorChild {
 public:
  CountingEditor(TMainForm& main, TNodo& node) : EditorChild(main, node) {}
};
}  // namespace

class WindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;
  fs::path work_;
  fs::path demo_;

 private slots:
  void init() {
    inis_ = std::make_unique<TestInis>();
    work_ = inis_->Folder().parent_path();
    demo_ = WriteDemo(work_);
    user_ = std::make_unique<FakeUser>();
    form_ = std::make_unique<TMainForm>();
    form_->show();
    OpenThroughDialog(*form_, *user_, demo_, 2);
    QVERIFY(form_->Doc().IsOpen());
  }
  void cleanup() {
    form_.reset();
    user_.reset();
    inis_.reset();
  }

  void SearchStepsThroughNameHits() {
    form_->Action(Item::Search)->trigger();
    TForm20* search = form_->Search();
    QVERIFY(search != nullptr && search->isVisible());
    QCOMPARE(search->windowTitle(), QStringLiteral("Buscar..."));
    QCOMPARE(search->Text()->maxLength(), 12);
    search->NamesOnly()->setChecked(true);
    search->Text()->setText(QStringLiteral("cpz"));
    QStringList hits;
    for (int i = 0; i < 3; ++i) {
      QTest::keyClick(search->Text(), Qt::Key_Return);
      hits << QString::fromStdString(form_->SelectedNode()->Text);
    }
    QCOMPARE(hits, (QStringList{"boot.cpz", "start.cpz", "start.cpz"}));
    QCOMPARE(user_->ShownTexts(),
             QStringList{QStringLiteral("¡ No se ha encontrado esa cadena de texto !")});
    // The selection update ran for the hit.
    QVERIFY(form_->Action(Item::HexEditorRaw)->isEnabled());
  }

  void SearchInContentsIgnoresCaseUnlessAsked() {
    form_->Action(Item::Search)->trigger();
    TForm20* search = form_->Search();
    search->ContentOnly()->setChecked(true);
    search->Text()->setText(QStringLiteral("CONTINUAR"));
    search->Busca();
    QVERIFY(form_->SelectedNode() != nullptr);
    QCOMPARE(QString::fromStdString(form_->SelectedNode()->Text), QStringLiteral("help.mpz"));
    form_->SelectNode(nullptr);
    search->MatchCase()->setChecked(true);
    Click(*form_, NodeAt(*form_, "boot"));
    const QString status = form_->StatusText();
    search->Busca();
    QVERIFY(user_->Showed(QStringLiteral("¡ No se ha encontrado esa cadena de texto !")));
    // Nothing found: the status bar still shows the selected node.
    QCOMPARE(form_->StatusText(), status);
    QVERIFY(!status.isEmpty());
  }

  void SearchOpensTheHitWhenTheOptionIsTicked() {
    EditorRegistry::Register(FileKind::Script, [](TMainForm& main, TNodo& node) -> EditorChild* {
      return new CountingEditor(main, node);
    });
    form_->Action(Item::OptionOpenSearchResults)->setChecked(true);
    form_->Action(Item::Search)->trigger();
    form_->Search()->NamesOnly()->setChecked(true);
    form_->Search()->Text()->setText(QStringLiteral("menu.cpi"));
    form_->Search()->Busca();
    QVERIFY(form_->EditorOf(NodeAt(*form_, "boot/menu.cpi")) != nullptr);
    EditorRegistry::Register(FileKind::Script, {});
  }

  void InformationShowsTheFigures() {
    TForm19 window(form_->Doc().Information(), form_.get());
    QCOMPARE(window.windowTitle(), QStringLiteral("Información"));
    QCOMPARE(window.ValueText(0), QStringLiteral("6 / 12  (50.00%)"));
    QCOMPARE(window.PiePosition(0), 50);
    QVERIFY(window.ValueText(1).endsWith(QStringLiteral(" / ???")));
    QCOMPARE(window.PiePosition(1), 0);
    QVERIFY(window.ValueText(2).contains(QStringLiteral("%)")));
  }

  void InformationCommandShowsAModalWindow() {
    QString title;
    QTimer::singleShot(0, [&] {
      QWidget* w = QApplication::activeModalWidget();
      QVERIFY(w != nullptr);
      title = w->windowTitle();
      w->close();
    });
    form_->Action(Item::Information)->trigger();
    QCOMPARE(title, QStringLiteral("Información"));
  }

  void CompareAFirmwareWithItsCopy() {
    const fs::path copy = work_ / "copy.bin";
    fs::copy_file(demo_, copy);
    TForm21 window(*form_);
    QCOMPARE(window.windowTitle(), QStringLiteral("Comparar firmwares..."));
    QVERIFY(!window.CompareButton()->isEnabled());
    // The comparison's model list: detect, then the 21 firmware models without model 24.
    QCOMPARE(TForm21::Filters().size(), 22);
    QCOMPARE(TForm21::ModelOfFilter(2), 2);
    QCOMPARE(TForm21::ModelOfFilter(4), 5);
    QCOMPARE(TForm21::ModelOfFilter(19), 25);
    user_->files.push_back(FileChoice{{Q(demo_)}, 2, {}});  // model 2
    window.PickFile(1);
    QVERIFY(!window.CompareButton()->isEnabled());
    window.File(2)->setText(Q(demo_));
    QVERIFY(!window.CompareButton()->isEnabled());  // the same file twice
    user_->files.push_back(FileChoice{{Q(copy)}, 0, {}});  // detect
    form_->Config().settings.last_opened_directory.clear();
    window.PickFile(2);
    // The picked file's folder is where the next open dialog starts.
    QCOMPARE(QString::fromStdString(form_->Config().settings.last_opened_directory), Q(work_));
    QVERIFY(window.CompareButton()->isEnabled());
    window.Compare();
    const QStringList lines = window.Summary().split('\n');
    QCOMPARE(lines, (QStringList{"Cargando firmware 1 ...", "Cargando firmware 2 ...",
                                 "Comparando cada directorio...",
                                 "No hay diferencias entre archivos de igual nombre",
                                 "No falta ningún archivo"}));
    const fs::path summary = work_ / "summary.txt";
    user_->files.push_back(FileChoice{{Q(summary)}, 0, {}});
    window.SaveSummary();
    QCOMPARE(corvane::test::ReadText(summary).substr(0, 25), std::string("Cargando firmware 1 ...\r\n"));
    // The main window's firmware was not touched.
    QVERIFY(!form_->FirmwareModificado());
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
