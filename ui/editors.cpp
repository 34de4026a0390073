#include "editors.h"

#include "hex_editor_window.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
}

}  // namespace corvane::ui
