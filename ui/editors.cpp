#include "editors.h"

#include "application_editor.h"
#include "class_editor.h"
#include "hex_editor_window.h"
#include "script_editor.h"
#include "text_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterScriptEditor();
  RegisterClassEditor();
  RegisterApplicationEditor();
  RegisterTextEditor();
}

}  // namespace corvane::ui
