// The editors that double click opens (AbreHijo), chosen by the three characters that end one
// before the end of a node's name (".cp" for menu.cpi), and the base class of every editor child.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

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

class EditorRegistry {
 public:
  // The key of a node name: the three characters ending one before its end, lower-cased
  // (empty for a name shorter than four characters).
  static std::string KeyOf(std::string_view name);

  // Registers the editor for a key such as ".cp".
  static void Register(const std::string& key, EditorFactory factory);
  // The editor for a node name, or an empty function.
  static EditorFactory Find(std::string_view name);
  // The hex editor (with or without decompression); empty until one is registered.
  static void RegisterHex(std::function<EditorChild*(TMainForm&, TNodo&, bool decompress)> f);
  static const std::function<EditorChild*(TMainForm&, TNodo&, bool decompress)>& Hex();

 private:
  static std::map<std::string, EditorFactory>& Table();
};

}  // namespace corvane::ui
