// Panels and text strings of the demo image, made with the program's own writers.
#pragma once

#include "base/bytes.h"

namespace corvane::demo {

// Plain forms: the main menu (screens 00 and 01, every border kind, two languages, an icon and an
// image), the information panel, and two string lists (short and long form).
Bytes MenuPanel();
Bytes InfoPanel();
Bytes MenuStrings();
Bytes HelpStrings();

}  // namespace corvane::demo
