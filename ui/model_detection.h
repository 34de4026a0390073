// "Detect the model" of the open dialogs: the receiver model of a file whose model the user did
// not choose, by the core's ranked detection.
#pragma once

#include <filesystem>

#include "document/document.h"

namespace corvane::ui {

// The detected model 1..27, or 0 when no model's loader accepts the file or the best candidates
// cannot be told apart.
int DetectModel(const std::filesystem::path& file);
// Opens the file with its detected model into the document; *model receives the model (0 when
// none was chosen). When several models fit equally well, the message names them so that the
// user can pick one in the dialog.
Result OpenDetected(Document& document, const std::filesystem::path& file, int* model);

}  // namespace corvane::ui
