// A picture shown with exact pixels: a 24-bit pixel buffer enlarged 1x to 8x by nearest
// neighbour, centred in the space it is given, reporting the picture pixel under the pointer.
#pragma once

#include <QString>
#include <QWidget>

#include "render/pixel_buffer.h"
#include "resources/palette.h"

class QComboBox;
class QHBoxLayout;
class QPushButton;
class QLabel;
class QScrollArea;

namespace corvane::ui {

class TMainForm;
class TPaletteList;

class TPictureView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 8;
  // The frame around the picture: 8 pixels on each side.
  static constexpr int kMargin = 8;

  explicit TPictureView(QWidget* parent = nullptr);

  void SetPicture(PixelBuffer picture);
  const PixelBuffer& Picture() const { return picture_; }
  // 1..8 (clamped).
  void SetZoom(int zoom);
  int Zoom() const { return zoom_; }

  // The picture pixel at a widget position, or false outside the picture.
  bool PixelAt(QPoint position, int& x, int& y) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // The pointer is over picture pixel (x, y); Left() when it leaves the picture.
  void Hovered(int x, int y);
  void Left();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QRect PictureRect() const;

  PixelBuffer picture_;
  int zoom_ = 1;
};

// A "1x".."8x" choice that sets a view's zoom.
QComboBox* NewZoomBox(TPictureView* view, QWidget* parent = nullptr);

// The status-line text of palette entry `index`: its number, red, green, blue and mode.
QString EntryText(int index, const PaletteEntry& entry);
// The same for the picture pixel (x, y) holding `index`.
QString PixelText(int x, int y, int index, const PaletteEntry& entry);

// The size labels, zoom, picture and status line the image and icon editors share.
struct PicturePanel {
  QLabel* palette_label;
  TPaletteList* palettes;
  QLabel* zoom_label;
  QComboBox* zoom;
  QLabel* width_label;
  QLabel* height_label;
  TPictureView* view;
  QScrollArea* scroll;
  QLabel* status;

  explicit PicturePanel(QWidget* owner);
  bool sized = false;

  // "Paleta :" with the list and "Zoom :" with its choice, in one row.
  QHBoxLayout* PaletteRow() const;

  void CambiaIdioma(int width, int height);
  // Shows a picture drawn with the list's palette (the status line says when there is none).
  void Show(PixelBuffer picture);
  // Fits the window (or its MDI frame) to the picture, within the space the main window has:
  // once shown, and after that whenever the picture's size changes (Refit).
  void FirstShow(QWidget* window);
  void Refit(QWidget* window);
  void FitWindow(QWidget* window);
};

// "Importar...", "Exportar..." on the left, "OK" and "Cancelar" on the right.
QHBoxLayout* ButtonRow(QPushButton* import, QPushButton* export_button, QPushButton* ok,
                       QPushButton* cancel);

// "Caption - parent:name" of an editor's window.
QString GraphicsCaption(int caption_row, const TNodo& node);
// The Edit menu's title in the language in use.
QString EditMenuTitle(const TMainForm& main);

}  // namespace corvane::ui
