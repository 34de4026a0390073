// A small pie chart: a navy disc with the used part, 0 to 100, drawn in white from the top.
#pragma once

#include <QWidget>

namespace corvane::ui {

// A pie chart of one percentage.
class PieChart : public QWidget {
  Q_OBJECT

 public:
  explicit PieChart(QWidget* parent = nullptr);

  int Position() const { return position_; }
  void SetPosition(int position);  // clamped to 0..100

  QSize sizeHint() const override { return {64, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int position_ = 0;
};

}  // namespace corvane::ui
