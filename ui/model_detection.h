// "Detect the model" of the open dialogs: the receiver model of a file whose model the user did
// not choose.
#pragma once

#include <filesystem>

#include "firmware/document.h"

namespace corvane::ui {

// The model 1..27 whose loader accepts the file, or 0 when none does.
int DetectModel(const std::filesystem::path& file);
// Opens the file with its detected model into the document; *model receives the model (0 when
// none was found).
Result OpenDetected(Document& document, const std::filesystem::path& file, int* model);

}  // namespace corvane::ui
