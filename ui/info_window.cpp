#include "info_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "pie_chart.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {
constexpr int kCaptionRows[] = {row::kInfoDirectories, row::kInfoFiles, row::kInfoSpace};
}

TForm19::TForm19(const InfoFigures& figures, QWidget* parent)
    : QDialog(parent), ok_(new QPushButton) {
  setObjectName(QStringLiteral("TForm19"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const InfoFigure* values[] = {&figures.directories, &figures.files, &figures.space};
  for (int i = 0; i < 3; ++i) {
    Panel& p = panels_[static_cast<std::size_t>(i)];
    p.caption = new QLabel;
    p.value = new QLabel(QString::fromStdString(values[i]->Text()));
    p.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    p.pie = new PieChart;
    p.pie->SetPosition(values[i]->Pie());
    grid->addWidget(p.caption, i, 0);
    grid->addWidget(p.value, i, 1);
    grid->addWidget(p.pie, i, 2);
  }
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok_, 0, Qt::AlignCenter);
  CambiaIdioma();
}

void TForm19::CambiaIdioma() {
  setWindowTitle(Msg(row::kInfoCaption));
  for (std::size_t i = 0; i < panels_.size(); ++i) panels_[i].caption->setText(Msg(kCaptionRows[i]));
  ok_->setText(Msg(row::kOk));
}

QString TForm19::ValueText(int panel) const {
  return panels_[static_cast<std::size_t>(panel)].value->text();
}

int TForm19::PiePosition(int panel) const {
  return panels_[static_cast<std::size_t>(panel)].pie->Position();
}

}  // namespace corvane::ui
