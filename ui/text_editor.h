// The text editor (TForm6): one string of a text strings file at a time, the string picked by its
// index, strings inserted and removed, characters typed or picked on the virtual keyboard, each
// string also drawn in the firmware's font, and a search through every string of the file.
#pragma once

#include <string>

#include "resource_editor.h"
#include "resources/strings_list.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvane::ui {

namespace text_row {
inline constexpr int kTextEditorTitle = 213;  // "Editor de texto -"
inline constexpr int kNewString = 214;        // "Nueva cadena"
inline constexpr int kDeleteString = 215;     // "Borra cadena"
inline constexpr int kStringLabel = 216;      // "Texto :"
inline constexpr int kKeyboardTitle = 162;    // "Teclado virtual"
inline constexpr int kStringNotFound = 18;    // "¡ No se ha encontrado esa cadena !"
inline constexpr int kFindNext = 550;         // "Buscar siguiente"
}  // namespace text_row

// A string's bytes as the text box shows them (one character per byte, Latin-1; a carriage
// return, which a text box cannot hold, as U+240D) and the box's text back as bytes.
QString StringToText(const std::string& bytes);
std::string TextToString(const QString& text);

class TForm6 : public ResourceEditor {
  Q_OBJECT

 public:
  TForm6(TMainForm& main, TNodo& node);
  ~TForm6() override;

  bool GuardaDatos() override;
  void CambiaIdioma() override;
  void RedibujaFuentes() override { UpdatePreview(); }

  const TMHWStringsList& List() const { return list_; }
  int Selected() const { return selected_; }  // -1: no string
  // Shows string i (the selector's entry i).
  void Select(int i);

  // The window's commands.
  void NuevaCadena();
  void BorraCadena();
  void Keyboard();
  // Finds the search box's text from the caret on, through every string; false (after saying
  // so) when no string holds it.
  bool FindNext();

  QPlainTextEdit* TextBox() const { return text_; }
  QComboBox* Selector() const { return selector_; }
  QLineEdit* FindBox() const { return find_text_; }
  QPushButton* NewButton() const { return new_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* KeyboardButton() const { return keyboard_; }
  // The selected string drawn in the firmware's font 0.
  QLabel* Preview() const { return preview_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class StringsCommand;
  void TextEdited();
  // Puts the list's state on screen: the selector's entries, string i in the box, the preview.
  void Refresh(int i);
  void UpdatePreview();

  TMHWStringsList list_;
  int selected_ = -1;
  bool updating_ = false;
  bool merge_next_ = true;
  QLabel* label_;
  QComboBox* selector_;
  QPushButton* new_;
  QPushButton* delete_;
  QPushButton* keyboard_;
  QPlainTextEdit* text_;
  QLabel* preview_;
  QLabel* find_label_;
  QLineEdit* find_text_;
  QPushButton* find_;
};

// Makes double click open TForm6 on text strings files.
void RegisterTextEditor();

}  // namespace corvane::ui
