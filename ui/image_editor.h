// The image editor (TForm4): one image file drawn with a palette of the firmware, the palette
// list to show it with another, bitmap import and export; "OK" writes the image back.
#pragma once

#include "resource_editor.h"
#include "picture_view.h"
#include "resources/image.h"

class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

namespace corvane::ui {

class TPaletteList;
class TPictureView;

class TForm4 : public ResourceEditor {
  Q_OBJECT

 public:
  explicit TForm4(TMainForm& main, TNodo& node);

  bool GuardaDatos() override;
  void CambiaIdioma() override;
  void Redibuja(const QString& palette) override;
  // The palette in use written by another editor (the hex editor) is read again.
  void NodeWrittenElsewhere(const TNodo& node) override;

  const TMHWImage& Image() const { return image_; }
  void Importar();
  void Exportar();

  TPaletteList* Palettes() const { return panel_.palettes; }
  TPictureView* View() const { return panel_.view; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* ExportButton() const { return export_; }
  QString StatusText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Apply(const TMHWImage& image);
  void Dibuja();
  void ActualizaTamanos();
  void ShowPixel(int x, int y);

  TMHWImage image_;
  PicturePanel panel_;
  QMenuBar* menu_bar_;
  QMenu* edit_menu_;
  QPushButton* import_;
  QPushButton* export_;
};

void RegisterImageEditor();

}  // namespace corvane::ui
