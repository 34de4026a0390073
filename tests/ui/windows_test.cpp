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
  std::unique_ptr<DemoWindow> w_;

 private slots:
  void init() { w_ = std::make_unique<DemoWindow>(); QVERIFY(w_->Open()); }
  void cleanup() { w_.reset(); }

  void SearchStepsThroughNameHits() {
    w_->form.Action(Item::Search)->trigger();
    TForm20* search = w_->form.Search();
    QVERIFY(search != nullptr && search->isVisible());
    QCOMPARE(search->windowTitle(), QStringLiteral("Buscar..."));
    QCOMPARE(search->Text()->maxLength(), 12);
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
    // The selection update ran for the hit.
    QVERIFY(w_->form.Action(Item::HexEditorRaw)->isEnabled());
  }

  void SearchInContentsIgnoresCaseUnlessAsked() {
    w_->form.Action(Item::Search)->trigger();
    TForm20* search = w_->form.Search();
    search->ContentOnly()->setChecked(true);
    search->Text()->setText(QStringLiteral("CONTINUAR"));
    search->Busca();
    QVERIFY(w_->form.SelectedNode() != nullptr);
    QCOMPARE(QString::fromStdString(w_->form.SelectedNode()->Text), QStringLiteral("help.mpz"));
    w_->form.SelectNode(nullptr);
    search->MatchCase()->setChecked(true);
    Click(w_->form, NodeAt(w_->form, "boot"));
    const QString status = w_->form.StatusText();
    search->Busca();
    QVERIFY(w_->user.Showed(QStringLiteral("¡ No se ha encontrado esa cadena de texto !")));
    // Nothing found: the status bar still shows the selected node.
    QCOMPARE(w_->form.StatusText(), status);
    QVERIFY(!status.isEmpty());
  }

  void SearchOpensTheHitWhenTheOptionIsTicked() {
    EditorRegistry::Register(FileKind::Script, [](TMainForm& main, TNodo& node) -> EditorChild* {
      return new CountingEditor(main, node);
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
    TForm19 window(w_->form.Doc().Information(), &w_->form);
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
    w_->form.Action(Item::Information)->trigger();
    QCOMPARE(title, QStringLiteral("Información"));
  }

  void CompareAFirmwareWithItsCopy() {
    const fs::path copy = w_->work / "copy.bin";
    fs::copy_file(w_->demo, copy);
    TForm21 window(w_->form);
    QCOMPARE(window.windowTitle(), QStringLiteral("Comparar firmwares..."));
    QVERIFY(!window.CompareButton()->isEnabled());
    // The comparison's model list: detect, then the 21 firmware models without model 24.
    QCOMPARE(TForm21::Filters().size(), 22);
    QCOMPARE(TForm21::ModelOfFilter(2), 2);
    QCOMPARE(TForm21::ModelOfFilter(4), 5);
    QCOMPARE(TForm21::ModelOfFilter(19), 25);
    w_->user.files.push_back(FileChoice{{Q(w_->demo)}, 2, {}});  // model 2
    window.PickFile(1);
    QVERIFY(!window.CompareButton()->isEnabled());
    window.File(2)->setText(Q(w_->demo));
    QVERIFY(!window.CompareButton()->isEnabled());  // the same file twice
    w_->user.files.push_back(FileChoice{{Q(copy)}, 0, {}});  // detect
    w_->form.Config().settings.last_opened_directory.clear();
    window.PickFile(2);
    // The picked file's folder is where the next open dialog starts.
    QCOMPARE(QString::fromStdString(w_->form.Config().settings.last_opened_directory), Q(w_->work));
    QVERIFY(window.CompareButton()->isEnabled());
    window.Compare();
    const QStringList lines = window.Summary().split('\n');
    QCOMPARE(lines, (QStringList{"Cargando firmware 1 ...", "Cargando firmware 2 ...",
                                 "Comparando cada directorio...",
                                 "No hay diferencias entre archivos de igual nombre",
                                 "No falta ningún archivo"}));
    const fs::path summary = w_->work / "summary.txt";
    w_->user.files.push_back(FileChoice{{Q(summary)}, 0, {}});
    window.SaveSummary();
    QCOMPARE(corvane::test::ReadText(summary).substr(0, 25), std::string("Cargando firmware 1 ...\r\n"));
    // The main window's firmware was not touched.
    QVERIFY(!w_->form.FirmwareModificado());
  }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
