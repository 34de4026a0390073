#include "editors.h"

#include "hex_editor_window.h"
#include "text_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterTextEditor();
}

}  // namespace corvane::ui
