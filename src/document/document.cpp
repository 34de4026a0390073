#include "document/document.h"

#include <cmath>
#include <system_error>

#include "firmware/codec.h"
#include "document/extraction.h"
#include "base/file_io.h"
#include "base/platform.h"
#include "firmware/models.h"
#include "document/names.h"
#include "document/order_list.h"
#include "firmware/sizes.h"
#include "config/paths.h"
#include "resources/font_messages.h"
#include "resources/font_tables.h"
#include "firmware/new_node.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

CommandResult Refusal(Message message, Outcome outcome = Outcome::Refused) {
  CommandResult r;
  r.outcome = outcome;
  r.messages.push_back(std::move(message));
  return r;
}

Message PathError(int row, const fs::path& path, const std::string& reason = {}) {
  Message m = Message::FromRow(row).Break().Text(Utf8FromPath(path));
  if (!reason.empty()) m.Text(": " + reason);
  return m;
}

const Message& NothingOpen() {
  static const Message m = Message::FromRow(rows::kNothingSelected);
  return m;
}

Bytes ToBytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

int Percent(std::size_t done, std::size_t total) {
  if (total == 0) return 100;
  return static_cast<int>(std::lround(100.0 * static_cast<double>(done) / static_cast<double>(total)));
}

}  // namespace

// ---- Interaction ----

ReplaceAnswer Interaction::AskReplace(const Message&) { return ReplaceAnswer::No; }
bool Interaction::Progress(const Message&, int) { return true; }
void Interaction::Status(const Message&) {}

ReplaceAnswer FixedAnswers::AskReplace(const Message& question) {
  questions_.push_back(question);
  return answer_;
}

Message CommandResult::Joined() const {
  Message out;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (i > 0) out.Break();
    for (const auto& piece : messages[i].Pieces()) {
      if (piece.row >= 0)
        out.Row(piece.row);
      else
        out.Text(piece.text);
    }
  }
  return out;
}

// ---- The open firmware ----

Document::Document() = default;
Document::~Document() = default;

bool Document::IsPatch() const { return IsPatchModel(Model()); }

void Document::Reset(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree) {
  if (observer_) observer_->BeginReset();
  firmware_ = std::move(firmware);
  tree_ = std::move(tree);
  if (observer_) observer_->EndReset();
}

Result Document::Open(const fs::path& file, int model) {
  auto tree = std::make_unique<TArbol>();
  auto firmware = std::make_unique<TFirmware>();
  Result result = firmware->Create(file, *tree, model);
  if (!result.ok()) return result;
  Reset(std::move(firmware), std::move(tree));
  LoadFonts();
  modified_ = false;
  return result;
}

void Document::Adopt(std::unique_ptr<TFirmware> firmware, std::unique_ptr<TArbol> tree) {
  if (firmware) firmware->Tree = tree.get();
  Reset(std::move(firmware), std::move(tree));
  LoadFonts();
  modified_ = false;
}

Result Document::Save(const fs::path& destination, const SaveOptions& options) {
  if (!IsOpen()) return Result::Refused(NothingOpen());
  Result result = firmware_->GuardaFirmware(destination, options);
  if (result.ok()) modified_ = false;
  return result;
}

Result Document::Save(const fs::path& destination) {
  const ImageFontTables tables(fonts_);
  SaveOptions options;
  options.use_external_fonts = options_.use_external_fonts || !fonts_from_image_;
  options.fonts = &tables;
  return Save(destination, options);
}

void Document::Close() {
  Reset(nullptr, nullptr);
  LoadFonts();
  modified_ = false;
}

// ---- Fonts ----

void Document::LoadFonts() {
  fonts_ = TMHWFont();
  fonts_from_image_ = false;
  font_note_ = Message();
  if (!firmware_ || !firmware_->Loaded) return;
  if (HasFontTables(firmware_->Model) && !options_.use_external_fonts &&
      !firmware_->ForceExternalFonts) {
    fonts_from_image_ = LeeFuentes(*firmware_, fonts_, &font_note_);
    return;
  }
  const fs::path folder = options_.fonts_folder.empty() ? ProgramFolder() : options_.fonts_folder;
  if (!fonts_.CargaExternos(folder, options_.length_table_first))
    font_note_ = Message::FromRow(font_rows::kNoExternalFonts);
}

void Document::ReplaceFonts(const TMHWFont& fonts) {
  fonts_ = fonts;
  modified_ = true;
}

bool Document::ChangeGlyphWidth(TMHWFont& fonts, int font, int code, int width) const {
  return CambiaAncho(firmware_.get(), fonts, font, code, width, fonts_from_image_);
}

FontListResult Document::ExportFontList(const fs::path& list_file, Interaction& interaction) const {
  FontListResult r = corvane::ExportFontList(
      fonts_, list_file,
      [&interaction](const Message& status, int percent) { return interaction.Progress(status, percent); });
  interaction.Status(Message());
  return r;
}

FontListResult Document::ImportFontList(const fs::path& list_file, Interaction& interaction) {
  FontListResult r = corvane::ImportFontList(
      fonts_, list_file,
      [&interaction](const Message& status, int percent) { return interaction.Progress(status, percent); });
  interaction.Status(Message());
  if (r.glyphs > 0) modified_ = true;
  return r;
}

void Document::NodeChanged(TNodo* node) {
  if (observer_ && node) observer_->NodeChanged(node);
  modified_ = true;
}

bool Document::InUse(const TNodo& node) const {
  if (!in_use_) return false;
  std::vector<const TNodo*> stack{&node};
  while (!stack.empty()) {
    const TNodo* n = stack.back();
    stack.pop_back();
    if (in_use_(*n)) return true;
    for (const TNodo* c : n->Children()) stack.push_back(c);
  }
  return false;
}

// ---- Tree changes ----

TNodo* Document::AddNode(ByteView bytes, std::string_view exact_name, TNodo* parent,
                         std::size_t index) {
  if (observer_) observer_->BeginInsert(parent, index);
  TNodo* node = tree_->InsertNew(parent, index);
  SetNewNode(*node, bytes, exact_name);
  if (observer_) observer_->EndInsert(node);
  return node;
}

void Document::RemoveNode(TNodo* node) {
  TNodo* parent = node->Parent();
  const std::size_t index = node->Index();
  if (observer_) observer_->BeginRemove(node);
  BorraNodo(node);
  if (observer_) observer_->EndRemove(parent, index);
}

bool Document::MoveNode(TNodo* node, TNodo* new_parent, std::size_t index_after_take) {
  std::size_t before = index_after_take;
  if (node->Parent() == new_parent && index_after_take >= node->Index()) ++before;
  if (observer_) observer_->BeginMove(node, new_parent, before);
  const bool moved = tree_->Move(node, new_parent, index_after_take);
  if (observer_) observer_->EndMove(node);
  return moved;
}

void Document::SetText(TNodo* node, std::string text) {
  node->Text = std::move(text);
  node->ImageIndex = node->IsDirectory() ? 0 : TipoArchivo(node->Text);
  if (observer_) observer_->NodeChanged(node);
}

// ---- Command enabling ----

SelectionContext Document::Context() const {
  SelectionContext c;
  if (firmware_) {
    c.model = firmware_->Model;
    c.root_name = firmware_->RootName;
    c.directory_capacity = firmware_->DirectoryCapacity;
  }
  c.use_external_fonts = options_.use_external_fonts;
  c.section_word = section_word_;
  return c;
}

CommandStates Document::Commands(const CommandStates& current, const TNodo* selected) const {
  if (!IsOpen()) return CommandsWithoutFirmware();
  return ActualizaBotones(current, Context(), selected);
}

Message Document::StatusText(const TNodo* selected) const {
  if (!IsOpen()) return {};
  return TextoEstado(*firmware_, selected);
}

// ---- Delete, new directory, rename, move ----

CommandResult Document::Delete(TNodo* node) {
  if (!IsOpen() || node == nullptr) return Refusal(NothingOpen());
  if (!ActualizaBotones(CommandsAfterOpen(Model()), Context(), node).delete_node)
    return Refusal(Message::FromRow(rows::kRootAndSectionsStay));
  if (InUse(*node)) return Refusal(Message::FromRow(rows::kNodeInUse));
  RemoveNode(node);
  modified_ = true;
  CommandResult r;
  r.changed = true;
  return r;
}

CommandResult Document::NewDirectory(TNodo* selected, std::string_view name) {
  if (!IsOpen() || selected == nullptr) return Refusal(NothingOpen());
  if (!ActualizaBotones(CommandsAfterOpen(Model()), Context(), selected).new_directory)
    return Refusal(Message::FromRow(rows::kNoNewDirectoryHere));
  bool lossy = false;
  const std::string raw = Utf8ToLatin1(name, &lossy);
  const bool patch = IsPatch();
  const std::size_t limit = patch ? 10 : 12;
  TNodo* parent = patch ? selected : selected->Parent();
  const TNodo* first = parent ? parent->FirstChild() : tree_->Top(0);
  if (lossy || raw.empty() || raw.size() > limit || BuscaNodo(const_cast<TNodo*>(first), raw, true))
    return Refusal(Message::FromRow(rows::kBadDirName));
  CommandResult r;
  r.node = patch ? AddNode({}, raw, selected, selected->ChildCount())
                 : AddNode({}, raw, parent, selected->Index());
  r.changed = true;
  modified_ = true;
  return r;
}

bool Document::CanRename(const TNodo* node) const {
  return IsOpen() && CanStartRename(Context(), node);
}

CommandResult Document::Rename(TNodo* node, std::string_view text) {
  if (!CanRename(node)) return Refusal(Message::FromRow(rows::kCannotRename));
  const std::optional<std::string> name = NombreRenombrado(text);
  if (!name) return Refusal(Message::FromRow(rows::kBadNewName));
  CommandResult r;
  r.node = node;
  if (const TNodo* found = BuscaNodo(node->Parent()->FirstChild(), *name, true)) {
    if (found != node) return Refusal(Message::FromRow(rows::kNodeExists));
    return r;  // its own name in other letter case: nothing changes
  }
  SetText(node, *name);
  r.changed = true;
  modified_ = true;
  return r;
}

bool Document::CanDrop(const TNodo* dragged, const TNodo* target) const {
  return IsOpen() && PlaceForDrop(Context(), dragged, target).allowed;
}

CommandResult Document::Drop(TNodo* dragged, TNodo* target) {
  if (!IsOpen()) return Refusal(NothingOpen());
  const DropPlace place = PlaceForDrop(Context(), dragged, target);
  if (!place.allowed) return Refusal(Message::FromRow(rows::kCannotDropThere));
  MoveNode(dragged, place.parent, place.index);
  modified_ = true;
  CommandResult r;
  r.changed = true;
  r.node = dragged;
  return r;
}

// ---- Extraction ----

CommandResult Document::Extract(const TNodo* node, const fs::path& folder, bool decompress,
                                Interaction& interaction) {
  if (!IsOpen() || node == nullptr) return Refusal(NothingOpen());
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    return Refusal(PathError(rows::kCannotOpen, folder).Text(": ").Row(rows::kNotAFolder),
                   Outcome::IoError);

  ExtractRun run;
  run.decompress = decompress;
  run.root_name = firmware_->RootName;
  run.root = Root();
  run.total = CuentaNodosArchivo(*node);
  run.progress = [&interaction](const Message& m, int p) { return interaction.Progress(m, p); };
  CommandResult r;
  if (!interaction.Progress(Message::FromRow(rows::kSavingFiles), run.total == 0 ? 100 : 0)) {
    r.outcome = Outcome::Cancelled;
    return r;
  }
  ExtraeDirectorio(*node, folder, run);
  r.messages = std::move(run.errors);

  if (decompress && node == Root() && !IsPatch() && !run.cancelled) {
    interaction.Status(Message::FromRow(rows::kExportingOrder));
    const fs::path list = folder / PathFromUtf8(firmware_->RootName + ".def");
    const std::string error = WriteFileAtomic(list, ToBytesOf(ExportaOrdenTexto(*Root(), firmware_->RootName)));
    if (!error.empty()) r.messages.push_back(PathError(rows::kCannotOpen, list, error));
  }
  interaction.Status(Message());
  if (run.cancelled)
    r.outcome = Outcome::Cancelled;
  else if (!r.messages.empty())
    r.outcome = Outcome::IoError;
  return r;
}

// ---- File-order list ----

CommandResult Document::ExportOrder(const fs::path& list_file, Interaction& interaction) {
  if (!IsOpen()) return Refusal(NothingOpen());
  if (IsPatch()) return Refusal(Message::FromRow(rows::kOrderListsFirmwareOnly));
  interaction.Status(Message::FromRow(rows::kExportingOrder));
  const std::string error =
      WriteFileAtomic(list_file, ToBytesOf(ExportaOrdenTexto(*Root(), firmware_->RootName)));
  interaction.Status(Message());
  if (!error.empty()) return Refusal(PathError(rows::kCannotOpen, list_file, error), Outcome::IoError);
  return {};
}

CommandResult Document::ImportOrder(const fs::path& list_file, Interaction& interaction) {
  if (!IsOpen()) return Refusal(NothingOpen());
  if (IsPatch()) return Refusal(Message::FromRow(rows::kOrderListsFirmwareOnly));
  const std::optional<Bytes> text = ReadWholeFile(list_file);
  if (!text) return Refusal(PathError(rows::kCannotOpen, list_file), Outcome::IoError);
  const std::vector<OrderEntry> entries =
      LeeOrden(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));

  std::size_t directories = 0;
  for (const OrderEntry& e : entries) directories += e.directory ? 1 : 0;
  if (directories > firmware_->DirectoryCapacity)
    return Refusal(Message::FromRow(rows::kTooManyDirs));
  TNodo* root = Root();
  for (const TNodo* c : root->Children())
    if (InUse(*c)) return Refusal(Message::FromRow(rows::kNodeInUse));

  // Read every file first: a cancelled import leaves the tree as it was.
  const fs::path folder = list_file.has_parent_path() ? list_file.parent_path() : fs::path(".");
  std::vector<std::optional<Bytes>> contents(entries.size());
  std::vector<std::string> not_found;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const OrderEntry& e = entries[i];
    if (e.directory) {
      if (!interaction.Progress(Message::FromRow(rows::kInsertingFiles),
                                Percent(i + 1, entries.size()))) {
        interaction.Status(Message());
        CommandResult r;
        r.outcome = Outcome::Cancelled;
        return r;
      }
      continue;
    }
    contents[i] = ReadWholeFile(OrderPathOnDisk(folder, e.path));
    if (!contents[i])
      not_found.push_back(e.path);
    else if (options_.compress_from_def)
      contents[i] = Compress(*contents[i]);
  }

  // Rebuild the tree below the root; the observer hears of it as one reset.
  TreeObserver* observer = observer_;
  if (observer) observer->BeginReset();
  observer_ = nullptr;
  while (root->HasChildren()) RemoveNode(root->Child(root->ChildCount() - 1));
  TNodo* current = root;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const OrderEntry& e = entries[i];
    if (e.directory)
      current = AddNode({}, e.name, root, root->ChildCount());
    else if (contents[i])  // an empty file becomes a directory node, as AnadeNodo makes it
      AddNode(*contents[i], e.name, current, current->ChildCount());
  }
  observer_ = observer;
  if (observer) observer->EndReset();
  interaction.Status(Message());
  modified_ = true;

  CommandResult r;
  r.changed = true;
  if (!not_found.empty()) {
    const fs::path report = folder / "NotFound.txt";
    r.outcome = Outcome::IoError;
    r.messages.push_back(Message()
                             .Row(rows::kFilesNotFound)
                             .Break()
                             .Break()
                             .Row(rows::kNotFoundListHere)
                             .Break()
                             .Text(Utf8FromPath(report)));
    std::string lines;
    for (const std::string& p : not_found) lines += p + "\r\n";
    const std::string error = WriteFileAtomic(report, ToBytesOf(lines));
    if (!error.empty()) r.messages.push_back(PathError(rows::kCannotOpen, report, error));
  }
  return r;
}

// ---- Search and information ----

SearchHit Document::Search(const TNodo* selected, std::string_view text, SearchScope scope,
                           bool match_case, Interaction* interaction) const {
  SearchHit hit;
  if (!IsOpen() || text.empty()) return hit;
  const std::string raw = Utf8ToLatin1(text);
  std::size_t total = 0;
  tree_->ForEach([&total](TNodo&) { ++total; });
  bool cancelled = false;
  auto visited = [&](std::size_t count) {
    if (interaction && count % 64 == 0 &&
        !interaction->Progress(Message(), Percent(count, total))) {
      cancelled = true;
      return false;
    }
    return true;
  };
  hit.node = Busca(selected ? selected : Root(), raw, scope, match_case, visited);
  if (cancelled) {
    hit.cancelled = true;
  } else if (hit.node == nullptr) {
    hit.message = Message::FromRow(rows::kTextNotFound);
  } else {
    hit.open_editor = options_.open_search_results;
  }
  return hit;
}

InfoFigures Document::Information() const {
  if (!IsOpen()) return {};
  return Informacion(*firmware_);
}

}  // namespace corvane
