#include "editors.h"

#include "hex_editor_window.h"
#include "panel_editor.h"
#include "text_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterPanelEditor();
  RegisterTextEditor();
}

}  // namespace corvane::ui
