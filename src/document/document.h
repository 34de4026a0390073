// The opened firmware as a document: the firmware and its file tree, the changed flag
// (FirmwareModificado), the options the tree commands read, and every tree command of the main
// window as an operation that says what happened.
//
// How a program uses it
// ---------------------
// - One Document lives as long as the main window. Open() loads a file (the document then owns
//   the TFirmware and its TArbol); Save() writes it with the model's writer; Close() drops it.
// - Every command is a member function taking the selected node (and the user's input: a name, a
//   folder, a list of files). It returns a CommandResult: `outcome` Done, or Refused / IoError /
//   Cancelled; `messages` are the error boxes to show, in order (a run over several files can
//   produce several); `changed` tells that the tree changed and Modified() is now true (a run
//   over several files can change the tree and still report a file it refused); `node` is the
//   node made, renamed, moved or found. Whenever `messages` is not empty the outcome is not Done.
// - Questions that a command asks while it runs (message 8/9 "replace?") and its progress
//   (message 25, 280 ... with a percentage) go through an Interaction the caller passes in: the
//   desktop program shows a box and a status text, the command-line tool answers from its options.
//   Progress() returning false cancels the command; what was done up to then stays done, except
//   where a command says otherwise. Inputs that a dialog asks before the command starts (the
//   new-directory name, the folder, the files) are plain parameters.
// - All calls, callbacks included, happen on the caller's thread inside the call (the GUI thread
//   of the desktop program). The document has no locks and starts no threads.
// - Node pointers stay valid until the node is removed. A TreeObserver hears of every change
//   before and after it is made (in the order a Qt item model needs: begin/end insert, remove,
//   move, reset, and changes of a node's text or bytes), so a view can mirror the tree.
// - The desktop program says which nodes its editors hold with SetInUse(); a node is in use when
//   the predicate holds for it or for any node below it. In-use nodes are never deleted or
//   replaced.
// - Nothing here shows a window or renders text: messages are message-table rows plus literal
//   pieces (names in UTF-8); the caller renders them with the table in use.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/firmware.h"
#include "document/info.h"
#include "base/result.h"
#include "document/search.h"
#include "firmware/tree.h"
#include "document/tree_rules.h"
#include "document/font_lists.h"
#include "resources/font_set.h"

namespace corvane {

// The main window's option flags that the tree commands read.
struct DocumentOptions {
  // "Cambiar a minusculas cuando se importan archivos": inserted names are lower-cased.
  bool lowercase_on_import = false;
  // "Comprimir insertando archivos desde *.def o *.glu": the file-order import compresses.
  bool compress_from_def = false;
  // "Abrir resultados de busqueda automáticamente": Search() sets SearchHit::open_editor.
  bool open_search_results = false;
  // "Usar archivos externos": font commands off; the writers leave the image's fonts alone.
  bool use_external_fonts = false;
  // "T&abla de longitudes al principio": the external font files start with their widths.
  bool length_table_first = true;
  // Where fuente1.font .. fuente3.font are looked for (empty: the program's folder).
  std::filesystem::path fonts_folder;
};

// The buttons of the "replace?" question (message 8/9).
enum class ReplaceAnswer { Yes, No, YesToAll, NoToAll };

// What a running command asks of its caller. Every function has a default so that a caller
// implements only what it needs.
class Interaction {
 public:
  virtual ~Interaction() = default;
  // Message 8 + " " + name + line break + message 9, with buttons Yes, No, No to all, Yes to all.
  // The default answers No (the file is skipped).
  virtual ReplaceAnswer AskReplace(const Message& question);
  // A long command's status text: `status` (message 25, 280 ...) followed by " ", percent, "%".
  // Return false to cancel the command.
  virtual bool Progress(const Message& status, int percent);
  // A status text without percentage (message 26 while the order list is written); an empty
  // message clears the status text.
  virtual void Status(const Message& text);
};

// Answers every question the same way and records the questions asked (tests, command line).
class FixedAnswers : public Interaction {
 public:
  explicit FixedAnswers(ReplaceAnswer answer) : answer_(answer) {}
  ReplaceAnswer AskReplace(const Message& question) override;
  const std::vector<Message>& Questions() const { return questions_; }

 private:
  ReplaceAnswer answer_;
  std::vector<Message> questions_;
};

// Hears of every change to the tree (a view mirrors the tree with it). `parent` nullptr means the
// top level of the tree (where the root is). Indexes count the parent's children.
class TreeObserver {
 public:
  virtual ~TreeObserver() = default;
  virtual void BeginInsert(TNodo* /*parent*/, std::size_t /*index*/) {}
  virtual void EndInsert(TNodo* /*node*/) {}
  virtual void BeginRemove(TNodo* /*node*/) {}  // the node and everything below it go
  virtual void EndRemove(TNodo* /*parent*/, std::size_t /*index*/) {}
  // `index` is the position before which the node goes among new_parent's children as they are
  // before the move (the item-model convention).
  virtual void BeginMove(TNodo* /*node*/, TNodo* /*new_parent*/, std::size_t /*index*/) {}
  virtual void EndMove(TNodo* /*node*/) {}
  virtual void NodeChanged(TNodo* /*node*/) {}  // text, image index or bytes changed
  virtual void BeginReset() {}               // the whole tree is replaced
  virtual void EndReset() {}
};

struct CommandResult {
  Outcome outcome = Outcome::Done;
  std::vector<Message> messages;  // error boxes to show, in order
  std::vector<Message> notes;     // things the user should know that are not errors
  bool changed = false;           // the tree changed; Modified() is set
  TNodo* node = nullptr;          // the node made, renamed, moved or found

  bool ok() const { return outcome == Outcome::Done; }
  // All messages as one (joined by line breaks); empty when there are none.
  Message Joined() const;
};

struct SearchHit {
  TNodo* node = nullptr;      // the node found; nullptr with message 273 when there is none
  bool open_editor = false;   // the caller opens the node's editor (option of the main window)
  Message message;            // message 273 when nothing was found
  bool cancelled = false;
};

class Document {
 public:
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // ---- The open firmware ----

  // Loads `file` as `model` into a new firmware and tree. On success they replace the open ones
  // (observer: reset) and Modified() is cleared; on failure the open document stays as it was and
  // the loader's result is returned.
  Result Open(const std::filesystem::path& file, int model);
  // Takes a firmware that is already loaded (its Tree must be `tree`).
  void Adopt(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree);
  // Builds the model's output and writes it atomically; success clears Modified().
  Result Save(const std::filesystem::path& destination, const SaveOptions& options);
  // The same with the document's own fonts: written back into the image's font tables when they
  // were read from it and "Usar archivos externos" is not ticked; otherwise the font area is left
  // as it is.
  Result Save(const std::filesystem::path& destination);
  // Drops the open firmware (observer: reset).
  void Close();

  bool IsOpen() const { return firmware_ != nullptr && firmware_->Loaded; }
  TFirmware* Firmware() const { return firmware_.get(); }
  TArbol* Tree() const { return tree_.get(); }
  TNodo* Root() const { return tree_ ? tree_->Root() : nullptr; }
  int Model() const { return firmware_ ? firmware_->Model : 0; }
  bool IsPatch() const;

  // FirmwareModificado. Editors that write into a node call MarkModified() (and NodeChanged()).
  bool Modified() const { return modified_; }
  void MarkModified() { modified_ = true; }
  void ClearModified() { modified_ = false; }

  DocumentOptions& Options() { return options_; }
  const DocumentOptions& Options() const { return options_; }

  // The section word (message 32) in the language in use, UTF-8; empty = the built-in text.
  void SetSectionWord(std::string word) { section_word_ = std::move(word); }
  // True when an editor holds exactly this node. Default: nothing is in use.
  void SetInUse(std::function<bool(const TNodo&)> in_use) { in_use_ = std::move(in_use); }
  // The observer (not owned; nullptr for none).
  void SetObserver(TreeObserver* observer) { observer_ = observer; }
  // Tells the observer that an editor changed a node's bytes and marks the document changed.
  void NodeChanged(TNodo* node);

  // The node or anything below it is held by an editor.
  bool InUse(const TNodo& node) const;

  // ---- Fonts ----

  // The font set (TMHWFont), filled on every open: from the image's font tables for the models
  // that carry them (unless "Usar archivos externos" is ticked), else from the external files.
  const TMHWFont& Fonts() const { return fonts_; }
  // True when the set was read from the open image (and so may be written back into it).
  bool FontsFromImage() const { return fonts_from_image_; }
  // Why the set is empty (no table found, too many fonts, external files missing); empty if not.
  const Message& FontNote() const { return font_note_; }
  // Replaces the font set (the font editor's "Ok") and marks the document changed.
  void ReplaceFonts(const TMHWFont& fonts);
  // The font editor's width change under the model's space rule; false when it does not fit.
  bool ChangeGlyphWidth(TMHWFont& fonts, int font, int code, int width) const;
  // "Extrae lista de tipos de letra..." / "Inserta lista de tipos de letra..." (the import
  // changes the font set and marks the document changed when a glyph was replaced).
  FontListResult ExportFontList(const std::filesystem::path& list_file, Interaction& interaction) const;
  FontListResult ImportFontList(const std::filesystem::path& list_file, Interaction& interaction);

  // ---- Command enabling and status text ----

  SelectionContext Context() const;
  // The selection update (ActualizaBotones) for this document.
  CommandStates Commands(const CommandStates& current, const TNodo* selected) const;
  // The status-bar text for the selection (TextoEstadoNodo / TextoEstadoSeccion).
  Message StatusText(const TNodo* selected) const;

  // ---- Tree commands ----

  // "&Borrar nodo". Refused for the root and sections; message 11 when the node is in use.
  CommandResult Delete(TNodo* node);
  // "&Nuevo directorio...": NuevoDirectorio (patch models: the last child of the selected
  // section) or NuevoDirectorioHermano (firmware models: a new directory before the selected
  // one). `name` is what the user typed (UTF-8). Message 231 for a bad name.
  CommandResult NewDirectory(TNodo* selected, std::string_view name);
  // Whether an in-place edit may start (HETreeView1Editing).
  bool CanRename(const TNodo* node) const;
  // The end of an in-place edit (HETreeView1Edited). `text` is what the user typed (UTF-8).
  // Done with `node` renamed (changed), or Done unchanged when the name is the node's own in
  // other letter case; message 232 for an invalid name, message 10 when a sibling has it.
  CommandResult Rename(TNodo* node, std::string_view text);
  // Whether dropping `dragged` on `target` is accepted (HETreeView1DragOver).
  bool CanDrop(const TNodo* dragged, const TNodo* target) const;
  // The drop (HETreeView1DragDrop). Refused when CanDrop is false.
  CommandResult Drop(TNodo* dragged, TNodo* target);

  // "&Extraer con/sin descompresión": writes `node` and everything below it into `folder`
  // (which must exist). The root goes into "~" + RootName; with decompression the root of a
  // firmware model also writes the file-order list `folder`/RootName + ".def". Write errors are
  // reported, one message each. Cancelling stops after the directory being written.
  CommandResult Extract(const TNodo* node, const std::filesystem::path& folder, bool decompress,
                        Interaction& interaction);
  // "&Insertar con/sin compresión" (InsertaArchivos): the files `names` (file names as the
  // platform gives them) of `folder`, into the selected directory or beside the selected file,
  // under the patch or firmware rule set of the model. Existing names ask AskReplace; unreadable
  // files give message 3, files that do not fit their section message 7; the run goes on.
  // Progress is reported per file; cancelling stops before the next file.
  CommandResult Insert(TNodo* selected, const std::filesystem::path& folder,
                       const std::vector<std::string>& names, bool compress,
                       Interaction& interaction);

  // "Exportar orden de archivos" (ExportaOrden). Firmware models only.
  CommandResult ExportOrder(const std::filesystem::path& list_file, Interaction& interaction);
  // "Importar orden de archivos": rebuilds the tree from the list and the files beside it.
  // Message 281 when the list holds more directories than DirectoryCapacity; missing files are
  // listed in "NotFound.txt" beside the list and reported with messages 282/283. All files are
  // read before the tree is touched: cancelling leaves the tree as it was.
  CommandResult ImportOrder(const std::filesystem::path& list_file, Interaction& interaction);

  // Busca: the next node after `selected` (the root when nullptr) in walk order whose name holds
  // `text` (exact letter case) or whose decompressed content holds it (letter case ignored
  // unless match_case). `text` is UTF-8 as typed. Progress is reported by nodes visited.
  SearchHit Search(const TNodo* selected, std::string_view text, SearchScope scope,
                   bool match_case, Interaction* interaction = nullptr) const;

  // The three figures of the information window. Patch models store the directory capacity in
  // DirectoryCapacity and model 19 its SecondAreaStart, as the window does.
  InfoFigures Information();

 private:
  // Tree changes that the observer hears of.
  TNodo* AddNode(ByteView bytes, std::string_view exact_name, TNodo* parent, std::size_t index);
  void RemoveNode(TNodo* node);
  bool MoveNode(TNodo* node, TNodo* new_parent, std::size_t index_after_take);
  void SetText(TNodo* node, std::string text);
  void Reset(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree);
  void LoadFonts();

  struct InsertRun;
  void InsertOne(InsertRun& run, const std::string& disk_name);

  std::unique_ptr<TArbol> tree_;
  std::unique_ptr<TFirmware> firmware_;
  bool modified_ = false;
  DocumentOptions options_;
  std::string section_word_;
  std::function<bool(const TNodo&)> in_use_;
  TreeObserver* observer_ = nullptr;
  TMHWFont fonts_;
  bool fonts_from_image_ = false;
  Message font_note_;
};

}  // namespace corvane
