// corvane [FILE] [-m N] [--open PATH] [--font-editor]: the desktop program, opening FILE at start
// (model N, or detected) and the editor of the file PATH inside it, or the font editor.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#include "config/configuration.h"
#include "editor_registry.h"
#include "editors.h"
#include "font_editor.h"
#include "main_window.h"
#include "resources/palette.h"
#include "tree_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("org.corvane.Corvane"));
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/corvane-%1.png").arg(size), QSize(size, size));
  QApplication::setWindowIcon(icon);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Firmware editor for MHW satellite receivers."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("Firmware image or patch to open at start."),
                               QStringLiteral("[FILE]"));
  const QCommandLineOption model_option(
      {QStringLiteral("m"), QStringLiteral("model")},
      QStringLiteral("Receiver model 1-27 of FILE (detected when left out)."), QStringLiteral("N"));
  const QCommandLineOption screenshot_option(
      QStringLiteral("screenshot"),
      QStringLiteral("Save a picture of the main window to PNG once it is shown, then quit."),
      QStringLiteral("PNG"));
  const QCommandLineOption open_option(
      QStringLiteral("open"),
      QStringLiteral("Open the editor of this file of FILE at start (its path from the root, the "
                     "names separated by \":\"); with --screenshot the picture is of that editor."),
      QStringLiteral("PATH"));
  parser.addOption(model_option);
  parser.addOption(screenshot_option);
  const QCommandLineOption fonts_option(
      QStringLiteral("font-editor"),
      QStringLiteral("Open the font editor on FILE's fonts at start; with --screenshot the picture "
                     "is of it."));
  parser.addOption(open_option);
  parser.addOption(fonts_option);
  parser.process(app);

  int model = 0;
  if (parser.isSet(model_option)) {
    bool ok = false;
    model = parser.value(model_option).toInt(&ok);
    if (!ok || model < 1 || model > 27) {
      fputs("corvane: the model must be a number from 1 to 27\n", stderr);
      return 1;
    }
  }

  corvane::ui::RegisterEditors();
  corvane::ui::TMainForm window;
  const bool screenshot = parser.isSet(screenshot_option);
  if (screenshot) {
    window.show();
  } else {
    window.showMaximized();
  }
  if (!parser.positionalArguments().isEmpty())
    window.OpenFile(parser.positionalArguments().front(), model);
  QWidget* shown = &window;
  if (parser.isSet(open_option) && window.Doc().Tree() != nullptr) {
    corvane::TNodo* node = corvane::FindPalettePath(
        *window.Doc().Tree(), parser.value(open_option).toStdString());
    if (node == nullptr) {
      fputs("corvane: no file of that path in the image\n", stderr);
      return 1;
    }
    window.AbreHijo(node);
    if (corvane::ui::EditorChild* editor = window.EditorOf(node)) shown = editor;
  }
  if (parser.isSet(fonts_option) && window.Doc().IsOpen()) {
    if (screenshot) {
      auto* editor = new corvane::ui::TForm14(window);
      editor->show();
      shown = editor;
    } else {
      QTimer::singleShot(0, &window, [&window] { corvane::ui::OpenFontEditor(window); });
    }
  }
  if (screenshot) {
    // The picture shows the tree open on the first file (or the editor asked for).
    window.TreeView()->expandAll();
    if (corvane::TNodo* root = window.Doc().Root(); root != nullptr && shown == &window)
      if (root->FirstChild() != nullptr && root->FirstChild()->FirstChild() != nullptr) {
        window.SelectNode(root->FirstChild()->FirstChild());
        window.ActualizaBotones();
      }
    const QString png = parser.value(screenshot_option);
    QTimer::singleShot(300, &window, [shown, png] {
      const bool saved = shown->grab().save(png, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
