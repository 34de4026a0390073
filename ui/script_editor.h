// The script editor (TForm17): a script's source listing in a highlighting text control, with
// line numbers, bookmarks, find and find next, and the classes the script uses one Ctrl+click
// (or F12) away.
#pragma once

#include <QString>
#include <array>
#include <Qsci/qscilexercustom.h>

#include "resource_editor.h"
#include "resources/script.h"

class QAction;
class QMenu;
class QsciScintilla;

namespace corvane::ui {

// Colours a listing: the keywords "class", "return" and "script" (any case), comments, numbers
// and strings.
class ListingLexer : public QsciLexerCustom {
  Q_OBJECT

 public:
  enum Style { Default = 0, Keyword, LineComment, BlockComment, Number, String, StyleCount };

  explicit ListingLexer(QObject* parent = nullptr);
  const char* language() const override { return "Listing"; }
  QString description(int style) const override;
  QColor defaultColor(int style) const override;
  QFont defaultFont(int style) const override;
  void styleText(int start, int end) override;
};

class TForm17 : public ResourceEditor {
  Q_OBJECT

 public:
  static constexpr int kMinWidth = 601;
  static constexpr int kMinHeight = 401;

  enum class Command { Find, FindNext, ToggleBookmark, NextBookmark, PreviousBookmark, OpenClass,
                       Count };

  // The window of a script node, or nullptr (after the messages) when the script cannot be
  // listed.
  static TForm17* Open(TMainForm& main, TNodo& node);

  void CambiaIdioma() override;
  bool GuardaDatos() override;
  // A class or panel the listing reads was written: the listing is made again.
  void NodeWrittenElsewhere(const TNodo& node) override;

  QsciScintilla* Text() const { return text_; }
  QAction* Action(Command command) const;
  const TMHWScript& Script() const { return script_; }

  // Opens the editor of the class named at a line and byte column of the listing; false when
  // no class is named there.
  bool OpenClassAt(int line, int column);
  // Finds text from the cursor on (wrapping); false, after the message, when it is not there.
  bool Find(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TForm17(TMainForm& main, TNodo& node, TMHWScript script);
  void ShowListing();
  void AskAndFind();
  void FindNext();
  void ToggleBookmark();
  void GoToBookmark(bool forward);
  void OpenClassAtCursor();

  TMHWScript script_;
  QsciScintilla* text_;
  ListingLexer* lexer_;
  QString last_search_;
  std::array<QAction*, static_cast<std::size_t>(Command::Count)> actions_{};
  QMenu* search_menu_ = nullptr;
};

void RegisterScriptEditor();

}  // namespace corvane::ui
