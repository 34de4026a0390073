#include "compare_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "file_dialogs.h"
#include "document/compare.h"
#include "base/file_io.h"
#include "firmware/models.h"
#include "main_window.h"
#include "document/detection.h"
#include "prompts.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

TForm21::TForm21(TMainForm& main)
    : QDialog(&main),
      main_(main),
      label1_(new QLabel),
      label2_(new QLabel),
      file1_(new QLineEdit),
      file2_(new QLineEdit),
      pick1_(new QToolButton),
      pick2_(new QToolButton),
      compare_(new QPushButton),
      save_(new QPushButton),
      summary_(new QPlainTextEdit) {
  setObjectName(QStringLiteral("TForm21"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const QIcon open_icon = style()->standardIcon(QStyle::SP_DialogOpenButton);
  pick1_->setIcon(open_icon);
  pick2_->setIcon(open_icon);
  grid->addWidget(label1_, 0, 0);
  grid->addWidget(file1_, 0, 1);
  grid->addWidget(pick1_, 0, 2);
  grid->addWidget(label2_, 1, 0);
  grid->addWidget(file2_, 1, 1);
  grid->addWidget(pick2_, 1, 2);
  layout->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(compare_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  summary_->setReadOnly(true);
  summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
  summary_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  summary_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(summary_, 1);
  resize(560, 420);

  connect(pick1_, &QToolButton::clicked, this, [this] { PickFile(1); });
  connect(pick2_, &QToolButton::clicked, this, [this] { PickFile(2); });
  connect(file1_, &QLineEdit::textChanged, this, &TForm21::CheckCompare);
  connect(file2_, &QLineEdit::textChanged, this, &TForm21::CheckCompare);
  connect(compare_, &QPushButton::clicked, this, &TForm21::Compare);
  connect(save_, &QPushButton::clicked, this, &TForm21::SaveSummary);

  compare_->setEnabled(false);
  CambiaIdioma();
}

void TForm21::CambiaIdioma() {
  setWindowTitle(main_.Action(MainWindowItem::CompareFirmwares)->text().remove(QLatin1Char('&')));
  label1_->setText(Msg(row::kCompareFirmware1));
  label2_->setText(Msg(row::kCompareFirmware2));
  compare_->setText(Msg(row::kCompareButton));
  save_->setText(Msg(row::kSaveSummary));
}

QStringList TForm21::Filters() {
  QStringList filters{FirmwareFilters().front()};
  const QStringList listed = NameFilters(Msg(row::kCompareFilter));
  if (!listed.isEmpty()) return filters + listed;
  const QStringList all = FirmwareFilters();  // detect, then models 1..27
  for (const int model : ComparableModels()) filters << all[model];
  return filters;
}

int TForm21::ModelOfFilter(int index) {
  if (index <= 0) return kDetectModel;
  const int model = CompareFilterModel(index);
  return model >= 1 && model <= kModelCount ? model : kDetectModel;
}

QString TForm21::Summary() const { return summary_->toPlainText(); }

void TForm21::PickFile(int side) {
  FileRequest request;
  request.mode = FileRequest::Mode::Open;
  request.filters = Filters();
  request.filter_index = 0;
  request.folder = QString::fromStdString(main_.Config().settings.last_opened_directory);
  const std::optional<FileChoice> choice = Prompts::ChooseFile(this, request);
  if (choice && !choice->files.isEmpty() && !choice->files.front().isEmpty()) {
    File(side)->setText(choice->files.front());
    SetModel(side, ModelOfFilter(choice->filter_index));
    // The next open dialog (here or in the main window) starts in this file's folder.
    main_.Config().settings.last_opened_directory =
        QFileInfo(choice->files.front()).absolutePath().toStdString();
  }
  CheckCompare();
}

void TForm21::CheckCompare() {
  const QString a = file1_->text();
  const QString b = file2_->text();
  compare_->setEnabled(a != b && QFileInfo(a).isFile() && QFileInfo(b).isFile());
}

void TForm21::Compare() {
  if (!compare_->isEnabled()) return;
  summary_->clear();
  const std::filesystem::path a = ToPath(file1_->text());
  const std::filesystem::path b = ToPath(file2_->text());
  const int model1 = model1_ != kDetectModel ? model1_ : DetectModelOfFile(a);
  const int model2 = model2_ != kDetectModel ? model2_ : DetectModelOfFile(b);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const CompareSummary summary = CompareFirmwares(a, model1, b, model2);
  QApplication::restoreOverrideCursor();
  for (const Result& failure : summary.failures) Prompts::Report(this, failure);
  // The core's text, as the saved file holds it (CR LF after every line).
  summary_text_ = summary.Text(Messages());
  QString shown = QString::fromStdString(summary_text_);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
  summary_->setPlainText(shown);
}

void TForm21::SaveSummary() {
  const std::optional<QString> file =
      ChooseSaveFile(this, QString(), row::kTextFileFilter, QStringLiteral("txt"),
                     QString::fromStdString(main_.Config().settings.last_saved_directory));
  if (!file) return;
  main_.Config().settings.last_saved_directory =
      QFileInfo(*file).absolutePath().toStdString();
  const std::string error = WriteFileAtomic(
      ToPath(*file), ByteView(reinterpret_cast<const std::uint8_t*>(summary_text_.data()),
                              summary_text_.size()));
  if (!error.empty())
    Prompts::Error(this, Msg(row::kCannotOpen) + QLatin1Char('\n') + *file +
                             QStringLiteral(": ") + QString::fromStdString(error));
}

}  // namespace corvane::ui
