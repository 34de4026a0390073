// The screen visibility dialog of the panel editor (TForm13): one box per screen 00..1F.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QCheckBox;
class QPushButton;

namespace corvane::ui {

class TForm13 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm13(QWidget* parent = nullptr);

  void SetMask(std::uint32_t mask);
  std::uint32_t Mask() const;
  QCheckBox* Screen(int n) const { return boxes_[static_cast<std::size_t>(n)]; }
  void CambiaIdioma();

 private:
  std::array<QCheckBox*, 32> boxes_{};
  QPushButton* ok_;
};

}  // namespace corvane::ui
