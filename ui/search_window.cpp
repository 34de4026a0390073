#include "search_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/search.h"
#include "long_operation.h"
#include "main_window.h"
#include "prompts.h"
#include "tree_view.h"
#include "ui_interaction.h"
#include "message_rows.h"
#include "ui_text.h"

namespace corvane::ui {

TForm20::TForm20(TMainForm& main)
    : QDialog(&main, Qt::Tool),
      main_(main),
      label_(new QLabel),
      text_(new QLineEdit),
      match_case_(new QCheckBox),
      options_(new QGroupBox),
      names_and_content_(new QRadioButton),
      names_only_(new QRadioButton),
      content_only_(new QRadioButton),
      ok_(new QPushButton) {
  setObjectName(QStringLiteral("TForm20"));
  setModal(false);
  text_->setMaxLength(static_cast<int>(kSearchTextLimit));
  names_and_content_->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(label_);
  row->addWidget(text_, 1);
  layout->addLayout(row);
  layout->addWidget(match_case_);
  auto* group = new QVBoxLayout(options_);
  group->addWidget(names_and_content_);
  group->addWidget(names_only_);
  group->addWidget(content_only_);
  layout->addWidget(options_);
  layout->addWidget(ok_, 0, Qt::AlignRight);

  // Enter in the text (the default button) and "OK" search; Escape closes (QDialog).
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  connect(ok_, &QPushButton::clicked, this, &TForm20::Busca);
  CambiaIdioma();
}

void TForm20::CambiaIdioma() {
  setWindowTitle(main_.Action(MainWindowItem::Search)->text().remove(QLatin1Char('&')));
  label_->setText(Msg(row::kSearchLabel));
  match_case_->setText(Msg(row::kMatchCase));
  options_->setTitle(QLatin1Char(' ') + Msg(row::kSearchOptions) + QLatin1Char(' '));
  names_and_content_->setText(Msg(row::kSearchNamesAndContent));
  names_only_->setText(Msg(row::kSearchNamesOnly));
  content_only_->setText(Msg(row::kSearchContentOnly));
  ok_->setText(Msg(row::kOk));
}

void TForm20::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Busca();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TForm20::Busca() {
  const QString text = text_->text();
  if (text.isEmpty() || !main_.Doc().IsOpen() || main_.Busy()) return;
  const SearchScope scope = names_only_->isChecked()     ? SearchScope::NamesOnly
                            : content_only_->isChecked() ? SearchScope::ContentOnly
                                                         : SearchScope::NamesAndContent;
  SearchHit hit;
  {
    LongOperation operation(main_);
    UiInteraction interaction(this, operation, windowTitle());
    hit = main_.Doc().Search(main_.SelectedNode(), text.toStdString(), scope,
                             match_case_->isChecked(), &interaction);
  }
  // The status bar shows the selected node again, whatever the search found.
  main_.ActualizaBotones();
  if (hit.cancelled) return;
  if (hit.node == nullptr) {
    Prompts::Error(this, hit.message);
    return;
  }
  if (hit.open_editor) main_.AbreHijo(hit.node);
  main_.activateWindow();
  main_.TreeView()->setFocus();
  main_.SelectNode(hit.node);
  main_.ActualizaBotones();
}

}  // namespace corvane::ui
