#include "editors.h"

#include "application_editor.h"
#include "class_editor.h"
#include "hex_editor_window.h"
#include "icon_editor.h"
#include "image_editor.h"
#include "palette_editor.h"
#include "panel_editor.h"
#include "script_editor.h"
#include "text_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterPaletteEditor();
  RegisterImageEditor();
  RegisterIconEditor();
  RegisterPanelEditor();
  RegisterScriptEditor();
  RegisterClassEditor();
  RegisterApplicationEditor();
  RegisterTextEditor();
}

}  // namespace corvane::ui
