// The palette editor (TForm3): the 16 colours of one palette file as swatches with their modes,
// JASC and bitmap import, JASC export; "OK" writes the palette and tells the open editors.
#pragma once

#include <array>
#include <optional>

#include "resource_editor.h"
#include "resources/palette.h"

class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace corvane::ui {

class TSwatch;

class TForm3 : public ResourceEditor {
  Q_OBJECT

 public:
  using Entries = std::array<PaletteEntry, 16>;

  // The palette of the node; nullptr (after the message) when the node holds no palette.
  static TForm3* Open(TMainForm& main, TNodo& node);

  bool GuardaDatos() override;
  void CambiaIdioma() override;

  const Entries& Colours() const { return palette_.entries; }
  // The commands of the swatches (each an undoable edit).
  void PickColour(int index);     // the colour dialog on entry `index`
  void SetMode(int index, int mode);
  void Importar();
  void Exportar();

  TSwatch* Swatch(int index) const { return swatches_[static_cast<std::size_t>(index)]; }
  QLabel* ModeLabel(int index) const { return mode_labels_[static_cast<std::size_t>(index)]; }
  QMenu* ModeMenu() const { return mode_menu_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* ExportButton() const { return export_; }
  QString StatusText() const;

 private:
  TForm3(TMainForm& main, TNodo& node, TMHWPalette palette);
  // Applies entries (undo, redo and the edits): swatches and mode labels follow.
  void Apply(const Entries& entries);
  void Edit(const Entries& after);
  void ColorPaneles();
  void EtiqModos();
  void ShowModeMenu(int index, QPoint global);

  TMHWPalette palette_;
  std::array<TSwatch*, 16> swatches_{};
  std::array<QLabel*, 16> captions_{};
  std::array<QLabel*, 16> mode_labels_{};
  QMenuBar* menu_bar_;
  QMenu* edit_menu_;
  QMenu* mode_menu_;
  int mode_target_ = 0;
  QPushButton* import_;
  QPushButton* export_;
  QLabel* status_;
};

// A colour swatch: click opens the colour dialog, right click the mode menu.
class TSwatch : public QWidget {
  Q_OBJECT

 public:
  explicit TSwatch(QWidget* parent = nullptr);
  void SetColour(const QColor& colour);
  QColor Colour() const { return colour_; }
  QSize sizeHint() const override { return {48, 48}; }

 signals:
  void Clicked();
  void RightClicked(QPoint global);
  void Hovered();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;

 private:
  QColor colour_;
};

void RegisterPaletteEditor();

}  // namespace corvane::ui
