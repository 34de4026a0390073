// The palette list of the image, icon-collection and panel editors ("Paleta :"): the palettes
// of the open firmware, the one the program chooses for a resource preselected, and the palette
// loaded from the chosen entry. Also the file dialogs these editors share.
#pragma once

#include <QComboBox>
#include <optional>

#include "resources/palette.h"

namespace corvane::ui {

class TMainForm;

class TPaletteList : public QComboBox {
  Q_OBJECT

 public:
  explicit TPaletteList(QWidget* parent = nullptr);

  // Fills the list with the palette paths of the tree, in tree order.
  void BuscaPaletas(const TArbol& tree);
  // Selects the palette the program uses for `resource` (without loading it).
  void SeleccionaPaleta(const TNodo& resource, bool nested);
  // Loads the selected palette; a path that no longer resolves keeps the loaded one.
  void CargaPaleta();
  // All three for a resource of the tree.
  void Setup(const TArbol& tree, const TNodo& resource, bool nested);

  // The loaded palette, or grey levels when none could be loaded.
  const TMHWPalette& Palette() const;
  bool HasPalette() const { return palette_.has_value(); }
  // A palette announced as changed (its "parent:name"): when it is the loaded one it is read
  // again from its node and true is returned (the caller redraws).
  bool Recarga(const QString& key);
  // The same for a node written by another editor: true when it is the loaded palette's.
  bool RecargaNodo(const TNodo& node);

 signals:
  // The user chose another palette and it was loaded.
  void PaletteLoaded();

 private:
  const TArbol* tree_ = nullptr;
  std::optional<TMHWPalette> palette_;
  std::string loaded_path_;
  QString loaded_key_;
  TMHWPalette greys_ = TMHWPalette::Greys();
};

// The open or save dialog of a graphics editor with the filters of `filter_row`, starting in the
// last open or save folder, which it then updates. The chosen file, or nothing when cancelled;
// `filter_index` (0-based) receives the chosen filter.
std::optional<QString> ChooseGraphicFile(TMainForm& main, QWidget* parent, bool save,
                                         int filter_row, const QString& default_suffix,
                                         int* filter_index = nullptr);

}  // namespace corvane::ui
