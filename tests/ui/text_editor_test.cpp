// The text editor and the virtual keyboard on the demo image: lines shown with CR LF and stored
// with LF, the form's length cut, new and deleted strings, every byte kept through an edit, and
// the keyboard's highlighted cell, status text and collected characters.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "main_window.h"
#include "ui_test_support.h"
#include "virtual_keyboard.h"

using namespace corvane;
using namespace corvane::ui;
using namespace corvane::ui::test;

class TextEditorTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestInis> inis_;
  std::unique_ptr<FakeUser> user_;
  std::unique_ptr<TMainForm> form_;

  // Runs `act` on the keyboard once Mostrar has shown it.
  static std::string ShowKeyboard(TForm12& keyboard, const TMHWFont& fonts,
                                  std::function<void(TForm12&)> act) {
    QTimer::singleShot(0, &keyboard, [&keyboard, act] { act(keyboard); });
    return keyboard.Mostrar(fonts, 0);
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

  void KeyboardOutlineFollowsThePointer() {
    TForm12& keyboard = VirtualKeyboard(form_.get());
    const TMHWFont& fonts = form_->Doc().Fonts();
    QVERIFY(fonts.Valid(0));
    keyboard.Prepara(fonts, 0);
    const PixelBuffer plain = keyboard.Picture();
    const int w = keyboard.CellWidth();
    const int h = keyboard.CellHeight();
    QCOMPARE(plain.Width(), 16 * w);
    QCOMPARE(plain.Height(), 16 * h);
    // The corner pixel of a cell before and after the pointer went over it.
    auto corner = [&](const PixelBuffer& p, int code) {
      return p.Get((code % 16) * w, (code / 16) * h);
    };
    auto inverted = [](Rgb c) {
      return Rgb{static_cast<std::uint8_t>(~c.r), static_cast<std::uint8_t>(~c.g),
                 static_cast<std::uint8_t>(~c.b)};
    };
    keyboard.PointerAt((0x41 % 16) * w + w / 2, (0x41 / 16) * h + h / 2);
    QCOMPARE(keyboard.Highlighted(), 0x41);
    QCOMPARE(corner(keyboard.Picture(), 0x41), inverted(corner(plain, 0x41)));
    keyboard.PointerAt((0x42 % 16) * w, (0x42 / 16) * h + h - 1);
    QCOMPARE(keyboard.Highlighted(), 0x42);
    QCOMPARE(corner(keyboard.Picture(), 0x41), corner(plain, 0x41));
    QCOMPARE(corner(keyboard.Picture(), 0x42), inverted(corner(plain, 0x42)));
    QCOMPARE(keyboard.StatusText(), QStringLiteral("Carácter : 66 (0x42)"));
    // Back to where it started: every pixel as drawn.
    keyboard.PointerAt((0x41 % 16) * w, (0x41 / 16) * h);
    keyboard.PointerAt((0x42 % 16) * w, (0x42 / 16) * h);
    keyboard.Prepara(fonts, 0);
    QCOMPARE(keyboard.Picture(), plain);
    QCOMPARE(keyboard.Highlighted(), -1);
  }

  void KeyboardReturnsOnlyWhatAceptarCloses_data() {
    QTest::addColumn<bool>("accept");
    QTest::addRow("Aceptar") << true;
    QTest::addRow("close box") << false;
  }
  void KeyboardReturnsOnlyWhatAceptarCloses() {
    QFETCH(bool, accept);
    TForm12& keyboard = VirtualKeyboard(form_.get());
    const TMHWFont& fonts = form_->Doc().Fonts();
    const std::string got = ShowKeyboard(keyboard, fonts, [accept](TForm12& k) {
      for (const int code : {0x00, 0xFF, 0x41}) {
        k.PointerAt((code % 16) * k.CellWidth(), (code / 16) * k.CellHeight());
        k.Press();
      }
      if (accept) {
        k.AcceptButton()->click();
      } else {
        k.close();
      }
    });
    QCOMPARE(got, accept ? std::string("\0\xff" "A", 3) : std::string());
    QCOMPARE(keyboard.Highlighted(), -1);
  }
};

QTEST_MAIN(TextEditorTest)
#include "text_editor_test.moc"
