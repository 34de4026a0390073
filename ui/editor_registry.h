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

  // What other windows changed (the main window passes it to every open editor; each ignores
  // what it does not show):
  // a palette was written; `palette` is its parent's name ":" its name (CambioColorPaleta).
  virtual void Redibuja(const QString& palette) { (void)palette; }
  // an image was written; `image` is its parent's name ":" its name (CambioImagen).
  virtual void RedibujaImagen(const QString& image) { (void)image; }
  // an icon collection was written; `collection` is its file name (CambioIcono).
  virtual void RedibujaIcono(const QString& collection) { (void)collection; }
  // any other editor wrote into `node` (a class the script listing uses, for example).
  virtual void NodeWrittenElsewhere(const TNodo& node) { (void)node; }
  // the image's font set was replaced (the font editor's "OK", a font list inserted).
  virtual void RedibujaFuentes() {}

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
