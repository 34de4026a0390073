#include "visibility_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kTitleRow = 164;        // "Visibilidad"
constexpr int kFirstScreenRow = 165;  // "Pantalla 00" .. "Pantalla 1F"
constexpr int kAcceptRow = 163;       // "Aceptar"
}  // namespace

TForm13::TForm13(QWidget* parent) : QDialog(parent), ok_(new QPushButton(this)) {
  auto* grid = new QGridLayout;
  for (int n = 0; n < 32; ++n) {
    boxes_[static_cast<std::size_t>(n)] = new QCheckBox(this);
    grid->addWidget(boxes_[static_cast<std::size_t>(n)], n % 8, n / 8);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ok_, 0, Qt::AlignRight);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  CambiaIdioma();
}

void TForm13::SetMask(std::uint32_t mask) {
  for (int n = 0; n < 32; ++n) boxes_[static_cast<std::size_t>(n)]->setChecked(mask >> n & 1u);
}

std::uint32_t TForm13::Mask() const {
  std::uint32_t mask = 0;
  for (int n = 0; n < 32; ++n)
    if (boxes_[static_cast<std::size_t>(n)]->isChecked()) mask |= 1u << n;
  return mask;
}

void TForm13::CambiaIdioma() {
  setWindowTitle(Msg(kTitleRow));
  for (int n = 0; n < 32; ++n)
    boxes_[static_cast<std::size_t>(n)]->setText(Msg(kFirstScreenRow + n));
  ok_->setText(Msg(kAcceptRow));
}

}  // namespace corvane::ui
