#include "character_map.h"

#include <QStatusBar>
#include <QVBoxLayout>

#include "character_grid.h"
#include "font_editor.h"
#include "ui_text.h"

namespace corvane::ui {

TForm22::TForm22(QWidget* parent)
    : QDialog(parent, Qt::Tool), grid_(new CharacterGrid(this)), status_(new QStatusBar(this)) {
  status_->setSizeGripEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(grid_);
  layout->addWidget(status_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  grid_->on_highlight = [this](int code) { status_->showMessage(CharacterStatus(code)); };
  grid_->on_press = [this] {
    chosen_ = grid_->Highlighted();
    accept();
  };
}

QString TForm22::StatusText() const { return status_->currentMessage(); }

int TForm22::Mostrar(const TMHWFont& fonts, int font) {
  chosen_ = -1;
  setWindowTitle(Msg(font_editor_row::kCharacterMap));
  status_->clearMessage();
  grid_->Draw(fonts, font);
  const bool chosen = exec() == QDialog::Accepted;
  grid_->ClearHighlight();
  return chosen ? chosen_ : -1;
}

}  // namespace corvane::ui
