#include "file_dialogs.h"

#include <QDir>
#include <QFileInfo>

#include "firmware/models.h"
#include "prompts.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {
QString ExistingOrHome(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

// The one chosen file of a dialog, or nothing when it was cancelled.
std::optional<QString> OneFile(const std::optional<FileChoice>& choice) {
  if (!choice || choice->files.isEmpty() || choice->files.front().isEmpty()) return std::nullopt;
  return choice->files.front();
}
}  // namespace

QStringList FirmwareFilters() {
  QStringList filters;
  filters << Msg(row::kDetectModelFilter);
  for (const ModelDescriptor& model : AllModels()) {
    QStringList one = NameFilters(Msg(model.save_filter_row));
    if (one.isEmpty())
      one << QStringLiteral("%1 (*.%2)")
                 .arg(QString::fromUtf8(ModelName(model.model).data(),
                                        static_cast<qsizetype>(ModelName(model.model).size())),
                      QString::fromLatin1(model.extension.data(),
                                          static_cast<qsizetype>(model.extension.size())));
    filters << one.front();
  }
  return filters;
}

std::optional<FirmwareChoice> ChooseFirmware(QWidget* parent, int preselected_model,
                                             const QString& folder) {
  FileRequest request;
  request.mode = FileRequest::Mode::Open;
  request.filters = FirmwareFilters();
  request.filter_index =
      preselected_model >= 1 && preselected_model <= kModelCount ? preselected_model : 0;
  request.folder = ExistingOrHome(folder);
  const std::optional<FileChoice> choice = Prompts::ChooseFile(parent, request);
  const std::optional<QString> file = OneFile(choice);
  if (!file) return std::nullopt;
  return FirmwareChoice{*file, choice->filter_index};
}

std::optional<QStringList> ChooseFilesToInsert(QWidget* parent, QString& folder) {
  FileRequest request;
  request.mode = FileRequest::Mode::OpenMany;
  request.caption = Msg(row::kChooseFiles);
  request.filters = NameFilters(Msg(row::kInsertFilter));
  request.folder = ExistingOrHome(folder);
  const std::optional<FileChoice> choice = Prompts::ChooseFile(parent, request);
  if (!choice) return std::nullopt;
  // The folder is kept on Cancel too: the next selection starts where this one ended.
  if (!choice->files.isEmpty()) {
    folder = QFileInfo(choice->files.front()).absolutePath();
  } else if (!choice->folder.isEmpty()) {
    folder = choice->folder;
  }
  if (choice->files.isEmpty()) return std::nullopt;
  return choice->files;
}

std::optional<QString> ChooseFolder(QWidget* parent, QString& folder) {
  const std::optional<FolderChoice> choice =
      Prompts::ChooseFolder(parent, {Msg(row::kChooseFolder), ExistingOrHome(folder)});
  if (!choice) return std::nullopt;
  // The folder is kept on Cancel too: the next selection starts where this one ended.
  if (!choice->chosen.isEmpty()) {
    folder = choice->chosen;
  } else if (!choice->shown.isEmpty()) {
    folder = choice->shown;
  }
  if (choice->chosen.isEmpty()) return std::nullopt;
  return choice->chosen;
}

std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& caption, int filter_row,
                                      const QString& folder) {
  FileRequest request;
  request.mode = FileRequest::Mode::Open;
  request.caption = caption;
  request.filters = NameFilters(Msg(filter_row));
  request.folder = ExistingOrHome(folder);
  return OneFile(Prompts::ChooseFile(parent, request));
}

std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& caption, int filter_row,
                                      const QString& default_suffix, const QString& folder) {
  FileRequest request;
  request.mode = FileRequest::Mode::Save;
  request.caption = caption;
  request.filters = NameFilters(Msg(filter_row));
  request.default_suffix = default_suffix;
  request.folder = ExistingOrHome(folder);
  return OneFile(Prompts::ChooseFile(parent, request));
}

}  // namespace corvane::ui
