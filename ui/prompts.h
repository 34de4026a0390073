// Every question and message box the program shows, and every file or folder choice, goes through
// this service, so that tests can answer them instead of a user.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "base/result.h"

class QWidget;

namespace corvane::ui {

enum class Answer { Ok, Yes, No, Cancel, YesToAll, NoToAll };

enum class PromptKind {
  Error,        // one "OK" button
  Information,  // one "OK" button: something the user should know that is not an error
  YesNoCancel,  // confirmation with Yes, No and Cancel
  YesNoAll,     // confirmation with Yes, No, No to all and Yes to all
};

struct Prompt {
  PromptKind kind = PromptKind::Error;
  QString text;
};

// What a file dialog is asked for.
struct FileRequest {
  enum class Mode { Open, OpenMany, Save } mode = Mode::Open;
  QString caption;
  QStringList filters;  // Qt name filters, in order
  int filter_index = 0;  // 0-based index of the preselected filter
  QString folder;        // initial folder
  QString default_suffix;
};

// What a file dialog gave: the chosen files, or none when it was cancelled; in both cases the
// folder it was showing last.
struct FileChoice {
  QStringList files;      // absolute paths; one for Open and Save; empty: cancelled
  int filter_index = 0;  // 0-based index of the chosen filter
  QString folder;         // the folder shown last (empty: not known)
};

struct FolderRequest {
  QString caption;
  QString folder;
};

// What a folder dialog gave: the chosen folder (empty when cancelled) and the folder it was
// showing last.
struct FolderChoice {
  QString chosen;
  QString shown;
};

struct TextRequest {
  QString title;
  QString prompt;
  QString initial;
};

// Hooks that replace the real dialogs (tests). An empty hook shows the real dialog.
struct PromptHooks {
  std::function<Answer(const Prompt&)> message;
  std::function<std::optional<FileChoice>(const FileRequest&)> file;
  std::function<std::optional<FolderChoice>(const FolderRequest&)> folder;
  std::function<std::optional<QString>(const TextRequest&)> text;
  std::function<std::optional<QColor>(const QColor&)> colour;
};

// Every message box and file or folder choice, replaceable by tests.
class Prompts {
 public:
  // Installs hooks; returns the ones replaced.
  static PromptHooks SetHooks(PromptHooks hooks);

  static void Error(QWidget* parent, const QString& text);
  static void Error(QWidget* parent, const Message& message);
  static void Inform(QWidget* parent, const QString& text);
  // Shows a refused or failed result; does nothing for a result without message.
  static void Report(QWidget* parent, const Result& result);
  static Answer YesNoCancel(QWidget* parent, const QString& text);
  static Answer YesNoAll(QWidget* parent, const QString& text);

  // Nothing (nullopt) only when the dialog could not say anything; a cancelled dialog gives a
  // choice without files (or without a chosen folder).
  static std::optional<FileChoice> ChooseFile(QWidget* parent, const FileRequest& request);
  static std::optional<FolderChoice> ChooseFolder(QWidget* parent, const FolderRequest& request);
  static std::optional<QString> AskText(QWidget* parent, const TextRequest& request);
  // The colour dialog opened on `initial`: the chosen colour, nothing when cancelled.
  static std::optional<QColor> ChooseColour(QWidget* parent, const QColor& initial);
};

}  // namespace corvane::ui
