#include "script_editor.h"

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

#include "code_editor_rows.h"
#include "code_editor_support.h"
#include "firmware/kinds.h"
#include "main_window.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

constexpr int kBookmarkMarker = 1;
constexpr int kBookmarkMargin = 1;
constexpr int kSearchMenuRow = 100;     // "Buscar"
constexpr int kFindRow = 95;            // "Buscar &texto..."
constexpr int kFindTitleRow = 42;       // "Buscar texto"
constexpr int kSearchPromptRow = 274;   // "Buscar :"
constexpr int kNotFoundRow = 273;       // "¡ No se ha encontrado esa cadena de texto !"
constexpr int kScriptEditorRow = 243;   // "Editor de scripts"

bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c); }

bool IsKeyword(const QByteArray& word) {
  const QByteArray lower = word.toLower();
  return lower == "class" || lower == "return" || lower == "script";
}

// The messages of an interactive listing run, each text once (an unknown opcode may occur many
// times), in one box.
void ShowListingMessages(QWidget* parent, const std::vector<Message>& shown) {
  QStringList texts;
  for (const Message& m : shown) {
    const QString text = Render(m);
    if (!texts.contains(text)) texts << text;
  }
  if (!texts.isEmpty()) Prompts::Error(parent, texts.join(QLatin1Char('\n')));
}

ListingContext InteractiveContext() { return {Instructions(), Messages(), true}; }

}  // namespace

// ---- Lexer ----

ListingLexer::ListingLexer(QObject* parent) : QsciLexerCustom(parent) {}

QString ListingLexer::description(int style) const {
  static const char* const names[] = {"Default", "Keyword", "Comment", "Block comment",
                                      "Number",  "String"};
  return style >= 0 && style < StyleCount ? QString::fromLatin1(names[style]) : QString();
}

QColor ListingLexer::defaultColor(int style) const {
  switch (style) {
    case Keyword: return QColor(0, 0, 0);
    case LineComment:
    case BlockComment: return QColor(0, 0, 128);  // navy
    case Number: return QColor(128, 0, 0);        // maroon
    case String: return QColor(0, 128, 128);
    default: return QColor(0, 0, 0);
  }
}

QFont ListingLexer::defaultFont(int style) const {
  QFont font(QStringLiteral("Monospace"), 10);
  font.setStyleHint(QFont::TypeWriter);
  if (style == Keyword) font.setBold(true);
  if (style == LineComment || style == BlockComment) font.setItalic(true);
  return font;
}

void ListingLexer::styleText(int start, int end) {
  QsciScintilla* ed = editor();
  if (ed == nullptr || end <= start) return;
  // bytes() gives the range and a terminating NUL.
  const QByteArray text = ed->bytes(start, end).left(end - start);
  // A block comment left open before `start` goes on.
  bool in_block = false;
  if (start > 0) {
    const long previous =
        ed->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(start - 1));
    in_block = previous == BlockComment && !(start >= 2 && ed->bytes(start - 2, start).left(2) == "*/");
  }
  startStyling(start);
  const int n = static_cast<int>(text.size());
  int i = 0;
  auto run = [this](int length, int style) { setStyling(length, style); };
  while (i < n) {
    const char c = text[i];
    int j = i + 1;
    int style = Default;
    if (in_block) {
      const int close = text.indexOf("*/", i);
      j = close < 0 ? n : close + 2;
      in_block = close < 0;
      style = BlockComment;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '/') {
      j = text.indexOf('\n', i);
      j = j < 0 ? n : j;
      style = LineComment;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      const int close = text.indexOf("*/", i + 2);
      j = close < 0 ? n : close + 2;
      in_block = close < 0;
      style = BlockComment;
    } else if (c == '"') {
      while (j < n && text[j] != '"' && text[j] != '\n') j += text[j] == '\\' && j + 1 < n ? 2 : 1;
      if (j < n && text[j] == '"') ++j;
      style = String;
    } else if (IsWordStart(c)) {
      while (j < n && IsWordChar(text[j])) ++j;
      style = IsKeyword(text.mid(i, j - i)) ? Keyword : Default;
    } else if (IsDigit(c)) {
      while (j < n && (IsWordChar(text[j]) || text[j] == '.')) ++j;
      style = Number;
    }
    run(j - i, style);
    i = j;
  }
}

// ---- Window ----

TForm17* TForm17::Open(TMainForm& main, TNodo& node) {
  TMHWScript script = TMHWScript::Create(node, InteractiveContext());
  ShowListingMessages(&main, script.shown);
  if (!script.listed) return nullptr;
  return new TForm17(main, node, std::move(script));
}

TForm17::TForm17(TMainForm& main, TNodo& node, TMHWScript script)
    : ResourceEditor(main, node),
      script_(std::move(script)),
      text_(new QsciScintilla(this)),
      lexer_(new ListingLexer(this)) {
  text_->setUtf8(true);
  text_->setLexer(lexer_);
  text_->setReadOnly(true);  // the listing is made from the bytecode, never the other way
  text_->setMarginType(0, QsciScintilla::NumberMargin);
  text_->setMarginWidth(0, QStringLiteral("00000"));
  text_->setMarginType(kBookmarkMargin, QsciScintilla::SymbolMargin);
  text_->setMarginWidth(kBookmarkMargin, 14);
  text_->setMarginSensitivity(kBookmarkMargin, true);
  text_->setMarginMarkerMask(kBookmarkMargin, 1 << kBookmarkMarker);
  text_->markerDefine(QsciScintilla::Bookmark, kBookmarkMarker);
  text_->setMarkerBackgroundColor(QColor(0, 0, 128), kBookmarkMarker);
  text_->setCaretLineVisible(true);
  text_->setCaretLineBackgroundColor(QColor(240, 240, 255));
  text_->viewport()->installEventFilter(this);
  connect(text_, &QsciScintilla::marginClicked, this,
          [this](int margin, int line, Qt::KeyboardModifiers) {
            if (margin != kBookmarkMargin) return;
            text_->setCursorPosition(line, 0);
            ToggleBookmark();
          });

  auto* menu_bar = new QMenuBar(this);
  search_menu_ = menu_bar->addMenu(QString());
  auto add = [this](Command command, const QKeySequence& keys, auto slot) {
    auto* action = new QAction(this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, slot);
    search_menu_->addAction(action);
    addAction(action);
    actions_[static_cast<std::size_t>(command)] = action;
  };
  add(Command::Find, QKeySequence::Find, &TForm17::AskAndFind);
  add(Command::FindNext, QKeySequence(Qt::Key_F3), &TForm17::FindNext);
  search_menu_->addSeparator();
  add(Command::ToggleBookmark, QKeySequence(Qt::CTRL | Qt::Key_F2), &TForm17::ToggleBookmark);
  add(Command::NextBookmark, QKeySequence(Qt::Key_F2), [this] { GoToBookmark(true); });
  add(Command::PreviousBookmark, QKeySequence(Qt::SHIFT | Qt::Key_F2),
      [this] { GoToBookmark(false); });
  search_menu_->addSeparator();
  add(Command::OpenClass, QKeySequence(Qt::Key_F12), &TForm17::OpenClassAtCursor);

  OkButton()->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar);
  layout->setContentsMargins(0, 0, 8, 8);
  layout->addWidget(text_, 1);
  layout->addLayout(CentredButtons(*this));
  setMinimumSize(kMinWidth, kMinHeight);
  resize(760, 520);

  ShowListing();
  CambiaIdioma();
  SetChanged(false);
}

QAction* TForm17::Action(Command command) const {
  return actions_[static_cast<std::size_t>(command)];
}

void TForm17::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  setWindowTitle(CodeEditorCaption(kScriptEditorRow, *Node()));
  search_menu_->setTitle(Msg(kSearchMenuRow));
  const std::pair<Command, int> rows[] = {
      {Command::Find, kFindRow},
      {Command::FindNext, row::kFindNext},
      {Command::ToggleBookmark, row::kToggleBookmark},
      {Command::NextBookmark, row::kNextBookmark},
      {Command::PreviousBookmark, row::kPreviousBookmark},
      {Command::OpenClass, row::kOpenClass}};
  for (const auto& [command, r] : rows) Action(command)->setText(Msg(r));
}

void TForm17::ShowListing() {
  QStringList lines;
  for (const std::string& line : script_.listing) lines << QString::fromStdString(line);
  // Bookmarks and the view stay where they were when the listing is made again.
  std::vector<int> marked;
  for (int line = text_->markerFindNext(0, 1u << kBookmarkMarker); line >= 0;
       line = text_->markerFindNext(line + 1, 1u << kBookmarkMarker))
    marked.push_back(line);
  const int first_visible = text_->firstVisibleLine();
  int cursor_line = 0, cursor_index = 0;
  text_->getCursorPosition(&cursor_line, &cursor_index);
  text_->setText(lines.join(QLatin1Char('\n')));
  for (int line : marked) text_->markerAdd(line, kBookmarkMarker);
  text_->setCursorPosition(cursor_line, cursor_index);
  text_->setFirstVisibleLine(first_visible);
}

bool TForm17::GuardaDatos() {
  if (!script_.Guarda(*Node())) return false;
  Main().NodeWritten(Node());
  return true;
}

void TForm17::NodeWrittenElsewhere(const TNodo& node) {
  const FileKind kind = KindOfName(node.Text);
  if (kind != FileKind::Class && kind != FileKind::Panel) return;
  TMHWScript again = TMHWScript::Create(*Node(), InteractiveContext());
  if (!again.listed) {
    // A class renamed away: the listing as it was stays, with the reason.
    ShowListingMessages(this, again.shown);
    return;
  }
  script_ = std::move(again);
  ShowListing();
}

bool TForm17::OpenClassAt(int line, int column) {
  if (line < 0 || column < 0) return false;
  const QByteArray bytes = text_->text(line).toUtf8();
  const int entry = ClassEntryAt(std::string_view(bytes.constData(), bytes.size()),
                                 static_cast<std::size_t>(column), script_.class_names);
  if (entry < 0) return false;
  const TNodo* found = FindClassNode(*Node(), script_.class_names[static_cast<std::size_t>(entry)]);
  if (found == nullptr) return false;
  // The tree belongs to the document; the script only searched it.
  Main().AbreHijo(const_cast<TNodo*>(found));
  return true;
}

void TForm17::OpenClassAtCursor() {
  const long pos = text_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  const long line = text_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                         static_cast<unsigned long>(pos));
  const long start = text_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                          static_cast<unsigned long>(line));
  OpenClassAt(static_cast<int>(line), static_cast<int>(pos - start));
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
      const QPoint at = mouse->position().toPoint();
      const long pos = text_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                            static_cast<unsigned long>(at.x()),
                                            static_cast<long>(at.y()));
      if (pos >= 0) {
        const long line = text_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                               static_cast<unsigned long>(pos));
        const long start = text_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE,
                                                static_cast<unsigned long>(line));
        if (OpenClassAt(static_cast<int>(line), static_cast<int>(pos - start))) return true;
      }
    }
  }
  return ResourceEditor::eventFilter(watched, event);
}

bool TForm17::Find(const QString& text) {
  last_search_ = text;
  if (text.isEmpty()) return false;
  if (text_->findFirst(text, false, false, false, true)) return true;
  Prompts::Error(this, Msg(kNotFoundRow));
  return false;
}

void TForm17::AskAndFind() {
  const std::optional<QString> text =
      Prompts::AskText(this, {Msg(kFindTitleRow), Msg(kSearchPromptRow), last_search_});
  if (text) Find(*text);
}

void TForm17::FindNext() {
  if (last_search_.isEmpty()) {
    AskAndFind();
    return;
  }
  Find(last_search_);
}

void TForm17::ToggleBookmark() {
  int line = 0, index = 0;
  text_->getCursorPosition(&line, &index);
  if (text_->markersAtLine(line) & (1u << kBookmarkMarker))
    text_->markerDelete(line, kBookmarkMarker);
  else
    text_->markerAdd(line, kBookmarkMarker);
}

void TForm17::GoToBookmark(bool forward) {
  int line = 0, index = 0;
  text_->getCursorPosition(&line, &index);
  const unsigned mask = 1u << kBookmarkMarker;
  int target = forward ? text_->markerFindNext(line + 1, mask)
                       : text_->markerFindPrevious(line - 1, mask);
  if (target < 0)  // round the end
    target = forward ? text_->markerFindNext(0, mask)
                     : text_->markerFindPrevious(text_->lines() - 1, mask);
  if (target < 0) return;
  text_->setCursorPosition(target, 0);
  text_->ensureLineVisible(target);
}

void RegisterScriptEditor() {
  EditorRegistry::Register(FileKind::Script, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return TForm17::Open(main, node);
  });
}

}  // namespace corvane::ui
