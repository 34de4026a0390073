#include "about_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui_text.h"

namespace corvane::ui {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), credits_(new QLabel), ok_(new QPushButton) {
  setObjectName(QStringLiteral("AboutBox"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);

  auto* name = new QLabel(QStringLiteral("<b>Corvane</b> %1").arg(QApplication::applicationVersion()));
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);

  auto* what = new QLabel(
      QStringLiteral("Firmware editor for MHW satellite receivers"));
  what->setAlignment(Qt::AlignCenter);
  layout->addWidget(what);

  credits_->setAlignment(Qt::AlignCenter);
  credits_->setWordWrap(true);
  layout->addWidget(credits_);

  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok_, 0, Qt::AlignCenter);
  CambiaIdioma();
}

void AboutDialog::CambiaIdioma() {
  setWindowTitle(Msg(50));
  credits_->setText(Msg(51) + QLatin1Char('\n') + Msg(52) + QStringLiteral("\n\n") +
                    QStringLiteral("The Corvane developers"));
  ok_->setText(Msg(53));
}

}  // namespace corvane::ui
