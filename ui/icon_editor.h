// The icon-collection editor (TForm5): one icon at a time drawn with a palette of the firmware;
// icons added, deleted, replaced and exported as bitmaps; "OK" writes the collection back.
#pragma once

#include "picture_view.h"
#include "resource_editor.h"
#include "resources/icons.h"

class QComboBox;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolButton;

namespace corvane::ui {

class TForm5 : public ResourceEditor {
  Q_OBJECT

 public:
  // What an edit changes: the icons and the icon shown.
  struct State {
    TMHWIconLib icons;
    int shown = 0;
  };

  // The collection of the node; nullptr (after the message) when it cannot be read.
  static TForm5* Open(TMainForm& main, TNodo& node);

  bool GuardaDatos() override;
  void CambiaIdioma() override;
  void Redibuja(const QString& palette) override;
  // The palette in use written by another editor (the hex editor) is read again.
  void NodeWrittenElsewhere(const TNodo& node) override;

  const TMHWIconLib& Icons() const { return state_.icons; }
  int Shown() const { return state_.shown; }
  void ShowIcon(int index);
  void NuevoIcono();   // BitBtn1
  void BorrarIcono();  // BitBtn2
  void Importar();
  void Exportar();

  TPaletteList* Palettes() const { return panel_.palettes; }
  TPictureView* View() const { return panel_.view; }
  QComboBox* IconList() const { return icon_list_; }
  QToolButton* NewButton() const { return new_; }
  QToolButton* DeleteButton() const { return delete_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* ExportButton() const { return export_; }
  QString StatusText() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TForm5(TMainForm& main, TNodo& node, TMHWIconLib icons);
  void Apply(const State& state);
  void Edit(State after);
  void FillIconList();
  void Dibuja();
  void ActualizaTamanos();
  void ShowPixel(int x, int y);

  State state_;
  PicturePanel panel_;
  QMenuBar* menu_bar_;
  QMenu* edit_menu_;
  QLabel* icon_label_;
  QComboBox* icon_list_;
  QToolButton* new_;
  QToolButton* delete_;
  QPushButton* import_;
  QPushButton* export_;
};

void RegisterIconEditor();

}  // namespace corvane::ui
