#include "palette_choice.h"

#include <QDir>
#include <QFileInfo>

#include "main_window.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

TPaletteList::TPaletteList(QWidget* parent) : QComboBox(parent) {
  setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(this, &QComboBox::activated, this, [this](int) {
    CargaPaleta();
    emit PaletteLoaded();
  });
}

void TPaletteList::BuscaPaletas(const TArbol& tree) {
  tree_ = &tree;
  const QSignalBlocker block(this);
  clear();
  // Node names are 8-bit text: shown as Latin-1 like every name in the tree.
  for (const std::string& path : PalettePaths(tree)) addItem(NodeName(path), QByteArray::fromStdString(path));
}

void TPaletteList::SeleccionaPaleta(const TNodo& resource, bool nested) {
  std::vector<std::string> paths;
  for (int i = 0; i < count(); ++i) paths.push_back(itemData(i).toByteArray().toStdString());
  const std::string chosen =
      ChoosePalettePath(paths, PaletteContext(resource, nested), resource.Text);
  const QSignalBlocker block(this);
  for (int i = 0; i < count(); ++i)
    if (paths[static_cast<std::size_t>(i)] == chosen) setCurrentIndex(i);
}

void TPaletteList::CargaPaleta() {
  if (tree_ == nullptr || currentIndex() < 0) return;
  const std::string path = currentData().toByteArray().toStdString();
  TNodo* node = FindPalettePath(*tree_, path);
  if (node == nullptr) return;
  palette_ = TMHWPalette::Create(node);
  // What a later change is recognised by. The palette file may be deleted from the tree while
  // this list shows it: its node is then never looked at again, only its path.
  loaded_path_ = path;
  loaded_key_ = NodeName(PaletteChangeKey(*node));
}

void TPaletteList::Setup(const TArbol& tree, const TNodo& resource, bool nested) {
  BuscaPaletas(tree);
  SeleccionaPaleta(resource, nested);
  CargaPaleta();
}

const TMHWPalette& TPaletteList::Palette() const { return palette_ ? *palette_ : greys_; }

bool TPaletteList::Recarga(const QString& key) {
  if (!palette_ || tree_ == nullptr || key != loaded_key_) return false;
  if (TNodo* node = FindPalettePath(*tree_, loaded_path_))
    if (std::optional<TMHWPalette> again = TMHWPalette::Create(node)) palette_ = std::move(again);
  return true;
}

bool TPaletteList::RecargaNodo(const TNodo& node) {
  return palette_ && palette_->Node() == &node && Recarga(loaded_key_);
}

std::optional<QString> ChooseGraphicFile(TMainForm& main, QWidget* parent, bool save,
                                         int filter_row, const QString& default_suffix,
                                         int* filter_index) {
  std::string& folder = save ? main.Config().settings.last_saved_directory
                             : main.Config().settings.last_opened_directory;
  FileRequest request;
  request.mode = save ? FileRequest::Mode::Save : FileRequest::Mode::Open;
  request.filters = NameFilters(Msg(filter_row));
  request.default_suffix = default_suffix;
  const QString start = QString::fromStdString(folder);
  request.folder = !start.isEmpty() && QFileInfo(start).isDir() ? start : QDir::homePath();
  const std::optional<FileChoice> choice = Prompts::ChooseFile(parent, request);
  if (!choice || choice->files.isEmpty()) return std::nullopt;
  folder = QFileInfo(choice->files.front()).absolutePath().toStdString();
  if (filter_index != nullptr) *filter_index = choice->filter_index;
  return choice->files.front();
}

}  // namespace corvane::ui
