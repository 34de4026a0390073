#include "editors.h"

#include "hex_editor_window.h"
<<<<<<< HEAD
#include "panel_editor.h"
=======
#include "text_editor.h"
>>>>>>> main

namespace corvane::ui {

void RegisterEditors() {
  RegisterHexEditor();
<<<<<<< HEAD
  RegisterPanelEditor();
=======
  RegisterTextEditor();
>>>>>>> main
}

}  // namespace corvane::ui
