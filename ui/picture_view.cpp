#include "picture_view.h"

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QPainter>
#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>

#include "graphics_rows.h"
#include "main_window.h"
#include "palette_choice.h"
#include "ui_text.h"

namespace corvane::ui {

TPictureView::TPictureView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

void TPictureView::SetPicture(PixelBuffer picture) {
  picture_ = std::move(picture);
  updateGeometry();
  update();
}

void TPictureView::SetZoom(int zoom) {
  zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
  updateGeometry();
  update();
}

QSize TPictureView::sizeHint() const {
  return {picture_.Width() * zoom_ + 2 * kMargin, picture_.Height() * zoom_ + 2 * kMargin};
}

QRect TPictureView::PictureRect() const {
  const int w = picture_.Width() * zoom_;
  const int h = picture_.Height() * zoom_;
  return {(width() - w) / 2, (height() - h) / 2, w, h};
}

bool TPictureView::PixelAt(QPoint position, int& x, int& y) const {
  const QRect r = PictureRect();
  if (r.isEmpty() || !r.contains(position)) return false;
  x = (position.x() - r.left()) / zoom_;
  y = (position.y() - r.top()) / zoom_;
  return picture_.Contains(x, y);
}

void TPictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (picture_.Width() <= 0 || picture_.Height() <= 0) return;
  const QImage image(picture_.Data().data(), picture_.Width(), picture_.Height(),
                     picture_.Width() * 3, QImage::Format_RGB888);
  // Exact pixels: no smoothing at any zoom.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(PictureRect(), image);
}

void TPictureView::mouseMoveEvent(QMouseEvent* event) {
  int x = 0, y = 0;
  if (PixelAt(event->position().toPoint(), x, y)) {
    emit Hovered(x, y);
  } else {
    emit Left();
  }
}

void TPictureView::leaveEvent(QEvent*) { emit Left(); }

QComboBox* NewZoomBox(TPictureView* view, QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (int z = TPictureView::kMinZoom; z <= TPictureView::kMaxZoom; ++z)
    box->addItem(QStringLiteral("%1x").arg(z), z);
  box->setCurrentIndex(view->Zoom() - TPictureView::kMinZoom);
  QObject::connect(box, &QComboBox::currentIndexChanged, view,
                   [view, box](int) { view->SetZoom(box->currentData().toInt()); });
  return box;
}

QString EntryText(int index, const PaletteEntry& entry) {
  return Msg(row::kEntryUnderPointer)
      .arg(QString::number(index, 16).toUpper())
      .arg(entry.red)
      .arg(entry.green)
      .arg(entry.blue)
      .arg(entry.mode);
}

QString PixelText(int x, int y, int index, const PaletteEntry& entry) {
  return Msg(row::kPixelUnderPointer).arg(x).arg(y) + QLatin1Char(' ') + EntryText(index, entry);
}

QString GraphicsCaption(int caption_row, const TNodo& node) {
  const TNodo* parent = node.Parent();
  const QString parent_name =
      parent ? NodeName(parent->Text, parent->Parent() == nullptr) : QString();
  return Msg(caption_row) + QLatin1Char(' ') + parent_name + QLatin1Char(':') +
         NodeName(node.Text);
}

QString EditMenuTitle(const TMainForm& main) {
  return QString::fromStdString(
      main.Config().language.Texts().ItemText(MainWindowItem::EditMenu, TextRole::Caption));
}

// ---- PicturePanel ----

PicturePanel::PicturePanel(QWidget* owner)
    : palette_label(new QLabel(owner)),
      palettes(new TPaletteList(owner)),
      zoom_label(new QLabel(owner)),
      zoom(nullptr),
      width_label(new QLabel(owner)),
      height_label(new QLabel(owner)),
      view(new TPictureView),
      scroll(new QScrollArea(owner)),
      status(new QLabel(owner)) {
  zoom = NewZoomBox(view, owner);
  scroll->setWidget(view);
  scroll->setWidgetResizable(true);
  scroll->setAlignment(Qt::AlignCenter);
  scroll->setFrameShape(QFrame::NoFrame);
  palette_label->setBuddy(palettes);
  QObject::connect(view, &TPictureView::Left, status, &QLabel::clear);
  zoom_label->setBuddy(zoom);
}

void PicturePanel::CambiaIdioma(int width, int height) {
  palette_label->setText(Msg(row::kPaletteLabel));
  zoom_label->setText(Msg(row::kZoomLabel));
  width_label->setText(Msg(row::kWidthLabel) + QLatin1Char(' ') + QString::number(width));
  height_label->setText(Msg(row::kHeightLabel) + QLatin1Char(' ') + QString::number(height));
}

QHBoxLayout* PicturePanel::PaletteRow() const {
  auto* row = new QHBoxLayout;
  row->addWidget(palette_label);
  row->addWidget(palettes);
  row->addSpacing(12);
  row->addWidget(zoom_label);
  row->addWidget(zoom);
  row->addStretch(1);
  return row;
}

QHBoxLayout* ButtonRow(QPushButton* import, QPushButton* export_button, QPushButton* ok,
                       QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->addWidget(import);
  row->addWidget(export_button);
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  return row;
}

void PicturePanel::Show(PixelBuffer picture) {
  view->SetPicture(std::move(picture));
  status->setText(palettes->HasPalette() ? QString() : Msg(row::kNoPalette));
}

void PicturePanel::FirstShow(QWidget* window) {
  if (sized) return;
  sized = true;
  FitWindow(window);
}

void PicturePanel::Refit(QWidget* window) {
  if (sized) FitWindow(window);
}

void PicturePanel::FitWindow(QWidget* window) {
  QWidget* frame = window->parentWidget() ? window->parentWidget() : window;
  window->layout()->activate();
  const QSize picture = view->sizeHint();
  const QSize now = scroll->viewport()->size();
  QSize wanted = frame->size() + (picture - now) + QSize(2, 2);
  wanted.setWidth(std::max(wanted.width(), frame->minimumSizeHint().width()));
  if (auto* sub = qobject_cast<QMdiSubWindow*>(frame); sub && sub->mdiArea()) {
    const QSize room = sub->mdiArea()->viewport()->size();
    wanted = wanted.boundedTo(room);
  }
  frame->resize(wanted.expandedTo(frame->minimumSizeHint()));
}

}  // namespace corvane::ui
