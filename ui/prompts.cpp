#include "prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "config/configuration.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

PromptHooks& Hooks() {
  static PromptHooks hooks;
  return hooks;
}

QString BoxTitle() { return QString::fromLatin1(kApplicationTitle); }

Answer Show(QWidget* parent, const Prompt& prompt) {
  if (Hooks().message) return Hooks().message(prompt);
  QMessageBox box(parent);
  box.setWindowTitle(BoxTitle());
  box.setText(prompt.text);
  switch (prompt.kind) {
    case PromptKind::Error:
      box.setIcon(QMessageBox::Critical);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptKind::Information:
      box.setIcon(QMessageBox::Information);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case PromptKind::YesNoCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case PromptKind::YesNoAll:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::NoToAll |
                             QMessageBox::YesToAll);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::YesToAll:
      return Answer::YesToAll;
    case QMessageBox::NoToAll:
      return Answer::NoToAll;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return prompt.kind == PromptKind::YesNoAll ? Answer::NoToAll : Answer::Cancel;
  }
}

}  // namespace

PromptHooks Prompts::SetHooks(PromptHooks hooks) { return std::exchange(Hooks(), std::move(hooks)); }

void Prompts::Error(QWidget* parent, const QString& text) {
  Show(parent, {PromptKind::Error, text});
}

void Prompts::Error(QWidget* parent, const Message& message) { Error(parent, Render(message)); }

void Prompts::Inform(QWidget* parent, const QString& text) {
  Show(parent, {PromptKind::Information, text});
}

void Prompts::Report(QWidget* parent, const Result& result) {
  if (!result.ok() && !result.message.Empty()) Error(parent, result.message);
}

Answer Prompts::YesNoCancel(QWidget* parent, const QString& text) {
  return Show(parent, {PromptKind::YesNoCancel, text});
}

Answer Prompts::YesNoAll(QWidget* parent, const QString& text) {
  return Show(parent, {PromptKind::YesNoAll, text});
}

std::optional<FileChoice> Prompts::ChooseFile(QWidget* parent, const FileRequest& request) {
  if (Hooks().file) return Hooks().file(request);
  QFileDialog dialog(parent, request.caption, request.folder);
  switch (request.mode) {
    case FileRequest::Mode::Open:
      dialog.setFileMode(QFileDialog::ExistingFile);
      break;
    case FileRequest::Mode::OpenMany:
      dialog.setFileMode(QFileDialog::ExistingFiles);
      break;
    case FileRequest::Mode::Save:
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      break;
  }
  dialog.setNameFilters(request.filters);
  if (request.filter_index >= 0 && request.filter_index < request.filters.size())
    dialog.selectNameFilter(request.filters[request.filter_index]);
  if (!request.default_suffix.isEmpty()) dialog.setDefaultSuffix(request.default_suffix);
  FileChoice choice;
  const bool accepted = dialog.exec() == QDialog::Accepted;
  choice.folder = dialog.directory().absolutePath();
  if (!accepted) return choice;
  choice.files = dialog.selectedFiles();
  choice.filter_index = static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter()));
  if (choice.filter_index < 0) choice.filter_index = 0;
  return choice;
}

std::optional<FolderChoice> Prompts::ChooseFolder(QWidget* parent, const FolderRequest& request) {
  if (Hooks().folder) return Hooks().folder(request);
  QFileDialog dialog(parent, request.caption, request.folder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  FolderChoice choice;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    choice.chosen = dialog.selectedFiles().front();
  choice.shown = dialog.directory().absolutePath();
  return choice;
}

std::optional<QString> Prompts::AskText(QWidget* parent, const TextRequest& request) {
  if (Hooks().text) return Hooks().text(request);
  bool ok = false;
  const QString text = QInputDialog::getText(parent, request.title, request.prompt,
                                             QLineEdit::Normal, request.initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

std::optional<QColor> Prompts::ChooseColour(QWidget* parent, const QColor& initial) {
  if (Hooks().colour) return Hooks().colour(initial);
  const QColor chosen = QColorDialog::getColor(initial, parent, BoxTitle());
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace corvane::ui
