// The editors that double click opens (AbreHijo), one per file kind of the kinds table
// (firmware/kinds.h), and the base class of every editor child.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <map>

#include "firmware/kinds.h"
#include "firmware/tree.h"

namespace corvane::ui {

class TMainForm;

// An MDI child that edits one node of the tree.
class EditorChild : public QWidget {
  Q_OBJECT

 public:
  EditorChild(TMainForm& main, TNodo& node, QWidget* parent = nullptr)
      : QWidget(parent), main_(main), node_(&node) {}

  TNodo* Node() const { return node_; }
  TMainForm& Main() const { return main_; }
  // Relabels the window from the message table in use.
  virtual void CambiaIdioma() {}

 private:
  TMainForm& main_;
  TNodo* node_;
};

using EditorFactory = std::function<EditorChild*(TMainForm& main, TNodo& node)>;

// The editor of each file kind, and the hex editor.
class EditorRegistry {
 public:
  // Registers the editor of a file kind (FileKind::Script for menu.cpi).
  static void Register(FileKind kind, EditorFactory factory);
  // The editor of a file kind (KindOfName of a node's name), or an empty function.
  static EditorFactory Find(FileKind kind);
  // The hex editor (with or without decompression); empty until one is registered.
  static void RegisterHex(std::function<EditorChild*(TMainForm&, TNodo&, bool decompress)> f);
  static const std::function<EditorChild*(TMainForm&, TNodo&, bool decompress)>& Hex();

 private:
  static std::map<FileKind, EditorFactory>& Table();
};

}  // namespace corvane::ui
