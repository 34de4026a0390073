#include "code_editor_support.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "resource_editor.h"
#include "ui_text.h"

namespace corvane::ui {

QString CodeEditorCaption(int title_row, const TNodo& node) {
  const TNodo* parent = node.Parent();
  const QString parent_name =
      parent ? NodeName(parent->Text, parent->Parent() == nullptr) : QString();
  return Msg(title_row) + QStringLiteral(" - ") + parent_name + QLatin1Char(':') +
         NodeName(node.Text);
}

QHBoxLayout* CentredButtons(const ResourceEditor& editor) {
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(editor.OkButton());
  buttons->addWidget(editor.CancelButton());
  buttons->addStretch();
  return buttons;
}

}  // namespace corvane::ui
