// The program's file and folder choices: the open dialog with every receiver model, the
// file-selection window (TForm1) and the directory-selection window (TForm10) as Qt dialogs,
// and the save dialogs. Each goes through Prompts, so tests can answer it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace corvane::ui {

// The open dialog's first entry: let the program detect the model.
inline constexpr int kDetectModel = 0;

struct FirmwareChoice {
  QString file;
  int model = kDetectModel;  // 1..27, or kDetectModel
};

// The open dialog: "detect the model" first, then the 27 models in model order, with the entry
// of `preselected_model` chosen (kDetectModel for the first one).
std::optional<FirmwareChoice> ChooseFirmware(QWidget* parent, int preselected_model,
                                             const QString& folder);
// The filters of that dialog, in order.
QStringList FirmwareFilters();

// The file-selection window (caption message 200, filter message 292, several files). The folder
// of the chosen files is stored back into `folder`.
std::optional<QStringList> ChooseFilesToInsert(QWidget* parent, QString& folder);
// The directory-selection window (caption message 161). The chosen folder is stored back.
std::optional<QString> ChooseFolder(QWidget* parent, QString& folder);
// A single file to open or save with the filter of a message row (pairs "Name|*.ext").
std::optional<QString> ChooseOpenFile(QWidget* parent, const QString& caption, int filter_row,
                                      const QString& folder);
std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& caption, int filter_row,
                                      const QString& default_suffix, const QString& folder);

}  // namespace corvane::ui
