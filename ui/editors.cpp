#include "editors.h"

#include "hex_editor_window.h"
#include "panel_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterPanelEditor();
}

}  // namespace corvane::ui
