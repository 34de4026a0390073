#include "editors.h"

#include "hex_editor_window.h"
#include "icon_editor.h"
#include "image_editor.h"
#include "palette_editor.h"
#include "panel_editor.h"
#include "text_editor.h"

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
  RegisterPaletteEditor();
  RegisterImageEditor();
  RegisterIconEditor();
  RegisterPanelEditor();
  RegisterTextEditor();
}

}  // namespace corvane::ui
