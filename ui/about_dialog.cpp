#include "about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "config/configuration.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent), description_(new QLabel), credits_(new QLabel), ok_(new QPushButton) {
  setObjectName(QStringLiteral("AboutBox"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);

  // The program's one name and version, as the main window's title shows them.
  auto* name = new QLabel(QStringLiteral("<b>%1</b>").arg(QString::fromLatin1(kApplicationTitle)));
  name->setAlignment(Qt::AlignCenter);
  layout->addWidget(name);

  description_->setAlignment(Qt::AlignCenter);
  layout->addWidget(description_);

  credits_->setAlignment(Qt::AlignCenter);
  credits_->setWordWrap(true);
  layout->addWidget(credits_);

  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok_, 0, Qt::AlignCenter);
  CambiaIdioma();
}

void AboutDialog::CambiaIdioma() {
  setWindowTitle(Msg(row::kAboutCaption));
  description_->setText(Msg(row::kAboutDescription));
  credits_->setText(Msg(row::kAboutCredits) + QLatin1Char('\n') + Msg(row::kAboutCreditsEnd) +
                    QStringLiteral("\n\n") + Msg(row::kAboutAuthors));
  ok_->setText(Msg(row::kOk));
}

}  // namespace corvane::ui
