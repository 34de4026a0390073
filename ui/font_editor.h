// The font editor (TForm14): a modal window that edits a private copy of the firmware's font set
// glyph by glyph (pixels, widths under the model's space rule, single-glyph bitmaps) and replaces
// the program's font set on "OK". Every edit can be undone.
#pragma once

#include <QDialog>
#include <array>

#include "resources/font_set.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QUndoStack;

namespace corvane::ui {

class TMainForm;
class GlyphView;
class TForm22;

namespace font_editor_row {
inline constexpr int kUndo = 89;               // "&Deshacer"
inline constexpr int kImport = 73;             // "Importar..."
inline constexpr int kExport = 74;             // "Exportar..."
inline constexpr int kWidth = 77;              // "Ancho :"
inline constexpr int kHeight = 78;             // "Alto :"
inline constexpr int kFont = 128;              // "Fuente :"
inline constexpr int kTitle = 197;             // "Editor de fuentes"
inline constexpr int kZoom = 198;              // "Zoom :"
inline constexpr int kCharacter = 199;         // "Letra :"
inline constexpr int kBitmapFilter = 39;       // "Archivo Bitmap (BMP)|*.bmp"
inline constexpr int kRedo = 623;              // "&Rehacer"
inline constexpr int kCharacterMap = 476;      // "Mapa de caracteres"
inline constexpr int kSample = 477;            // "Muestra :"
inline constexpr int kSampleText = 478;        // the preview line's first text
inline constexpr int kImportTooWide = 479;     // an imported glyph does not fit the font area
}  // namespace font_editor_row

class TForm14 : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::array<int, 4> kZooms = {10, 15, 20, 25};
  static constexpr int kMaxWidth = 50;

  explicit TForm14(TMainForm& main);
  ~TForm14() override;

  void CambiaIdioma();

  // The edited copy and where the editor stands.
  const TMHWFont& Fonts() const { return fonts_; }
  int CurrentFont() const { return font_; }
  int CurrentCharacter() const { return code_; }
  int Zoom() const { return zoom_; }
  bool Changed() const;

  // The window's commands (the controls call them too).
  void SelectFont(int font);
  void SelectCharacter(int code);
  void SetZoom(int zoom);
  // False, with the width list back at the old width, when the model's space rule refuses it.
  bool SetWidth(int width);
  // A stroke on the enlarged glyph in glyph pixels: the first pixel flips, every later one takes
  // its new value; the stroke is one undo step.
  void BeginStroke(int column, int row);
  void ContinueStroke(int column, int row);
  void EndStroke();
  void Import();
  void Export();
  void ShowCharacterMap();
  // "OK": the program's font set becomes the edited one.
  void Accept();

  QComboBox* FontList() const { return font_list_; }
  QComboBox* CharacterList() const { return char_list_; }
  QComboBox* ZoomList() const { return zoom_list_; }
  QComboBox* WidthList() const { return width_list_; }
  QLabel* HeightLabel() const { return height_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* ExportButton() const { return export_; }
  QToolButton* MapButton() const { return map_button_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QUndoStack* UndoStack() const { return undo_stack_; }
  GlyphView* Glyph() const { return glyph_; }
  TForm22* CharacterMap() const { return map_; }
  QLineEdit* SampleBox() const { return sample_; }
  QLabel* Preview() const { return preview_; }

  void reject() override;

 private:
  friend class GlyphCommand;
  TLetra& Current();
  // Puts glyph (font, code) of the copy on screen with the rules of what may change.
  void ShowGlyph(int font, int code);
  void Redraw();
  void UpdatePreview();
  void PaintPixel(int column, int row);

  TMainForm& main_;
  TMHWFont fonts_;
  int font_ = 0;
  int code_ = 33;
  int zoom_ = 10;
  bool updating_ = false;
  bool stroke_ = false;
  bool stroke_ink_ = false;
  TLetra stroke_before_;
  QUndoStack* undo_stack_;
  QLabel* font_label_;
  QComboBox* font_list_;
  QLabel* char_label_;
  QComboBox* char_list_;
  QToolButton* map_button_;
  QLabel* zoom_label_;
  QComboBox* zoom_list_;
  QLabel* width_label_;
  QComboBox* width_list_;
  QLabel* height_;
  QFrame* frame_;
  GlyphView* glyph_;
  QPushButton* import_;
  QPushButton* export_;
  QToolButton* undo_button_;
  QToolButton* redo_button_;
  QLabel* sample_label_;
  QLineEdit* sample_;
  QLabel* preview_;
  QPushButton* ok_;
  QPushButton* cancel_;
  TForm22* map_;
};

// The enlarged glyph with its red grid; presses and drags paint pixels.
class GlyphView : public QWidget {
 public:
  explicit GlyphView(TForm14& editor);
  void SetPicture(const QImage& picture);
  // The glyph pixel under a point of the view.
  QPoint PixelAt(QPoint point) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TForm14& editor_;
  QImage picture_;
};

// "Editor de &tipos de letra": the font editor on the open firmware's fonts.
void OpenFontEditor(TMainForm& main);

}  // namespace corvane::ui
