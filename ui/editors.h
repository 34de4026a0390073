// Every editor window of the program, registered with the editor registry in one place.
#pragma once

namespace corvane::ui {

// Registers the hex editor and the editor of each file kind (done once, before the main window
// opens anything).
void RegisterEditors();

}  // namespace corvane::ui
