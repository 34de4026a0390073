// The demo image's own bitmap font: printable ASCII drawn on a 5 x 7 grid.
#pragma once

namespace corvane::demo {

// Whether pixel (col 0-4, row 0-6) of character `code` is ink; false outside 32..126.
bool DemoFontInk(int code, int col, int row);
// The columns a character really uses (for proportional widths): 1..5, 3 for the space.
int DemoFontColumns(int code);

}  // namespace corvane::demo
