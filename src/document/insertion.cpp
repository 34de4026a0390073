// InsertaArchivos: files from a folder into the tree, under the patch or the firmware rule set.
#include <cmath>

#include "base/messages.h"
#include "firmware/codec.h"
#include "document/document.h"
#include "base/file_io.h"
#include "base/platform.h"
#include "document/names.h"
#include "firmware/sizes.h"

namespace corvane {

namespace fs = std::filesystem;

struct Document::InsertRun {
  Interaction& interaction;
  fs::path folder;
  bool compress = false;
  bool patch = false;
  TNodo* reference = nullptr;  // the selected node (or the node that replaced it)
  bool yes_to_all = false;
  bool stop = false;
  CommandResult result;

  void Fail(Outcome outcome, Message message) {
    if (result.outcome == Outcome::Done) result.outcome = outcome;
    result.messages.push_back(std::move(message));
  }
};

CommandResult Document::Insert(TNodo* selected, const fs::path& folder,
                               const std::vector<std::string>& names, bool compress,
                               Interaction& interaction) {
  CommandResult nothing;
  if (!IsOpen() || selected == nullptr) {
    nothing.outcome = Outcome::Refused;
    nothing.messages.push_back(Message::FromRow(rows::kNothingSelected));
    return nothing;
  }
  InsertRun run{interaction, folder, compress, IsPatch(), selected, false, false, {}};
  // Firmware rule set: nothing goes into the root itself.
  if (!run.patch && selected->Parent() == nullptr) return nothing;

  for (std::size_t i = 0; i < names.size() && !run.stop; ++i) {
    const int percent = static_cast<int>(std::lround(100.0 * static_cast<double>(i) /
                                                     static_cast<double>(names.size())));
    if (!interaction.Progress(Message::FromRow(rows::kInsertingFiles), percent)) {
      if (run.result.outcome == Outcome::Done) run.result.outcome = Outcome::Cancelled;
      break;
    }
    InsertOne(run, names[i]);
  }
  interaction.Status(Message());
  if (run.result.changed) modified_ = true;
  return std::move(run.result);
}

void Document::InsertOne(InsertRun& run, const std::string& disk_name) {
  TNodo* reference = run.reference;
  bool lossy = false;
  std::string name = NodeNameFromDisk(disk_name, &lossy);

  // Patch rule set: the root takes nothing, a section only its CANAL_P.RCU file.
  if (run.patch) {
    if (reference->Parent() == nullptr) return;
    if (IsSectionNode(Context(), *reference) && UpperName(name) != kCanalName) return;
  }
  if (lossy)
    run.result.notes.push_back(Message().Text("\"" + disk_name).Row(rows::kNameCharactersReplaced));

  if (options_.lowercase_on_import) name = LowerName(name);
  name = RecortaNombre(name);
  TNodo* target = reference->IsDirectory() ? reference : reference->Parent();
  TNodo* existing = BuscaNodo(target->FirstChild(), name, true);

  const fs::path path = run.folder / disk_name;
  std::optional<Bytes> bytes = ReadWholeFile(path);
  if (!bytes) {
    run.Fail(Outcome::IoError, Message::FromRow(rows::kCannotOpen).Break().Text(Utf8FromPath(path)));
    return;
  }
  if (run.compress && !(run.patch && IsRawFileName(name))) *bytes = Compress(*bytes);
  const auto size = static_cast<std::uint32_t>(bytes->size());

  if (existing == nullptr) {
    if (run.patch && !FileFitsSection(*target, size)) {
      run.Fail(Outcome::Refused, Message().Row(rows::kNoRoomInSection).Break().Text(Latin1ToUtf8(name)));
      return;
    }
    // AnadeNodo's place: before a file reference, else the last child of the directory.
    TNodo* node = reference->IsDirectory()
                      ? AddNode(*bytes, name, reference, reference->ChildCount())
                      : AddNode(*bytes, name, reference->Parent(), reference->Index());
    run.result.changed = true;
    run.result.node = node;
    return;
  }

  if (!run.yes_to_all) {
    const Message question = Message()
                                 .Row(rows::kAlreadyExists)
                                 .Text(" " + Latin1ToUtf8(name))
                                 .Break()
                                 .Row(rows::kReplaceIt);
    switch (run.interaction.AskReplace(question)) {
      case ReplaceAnswer::Yes:
        break;
      case ReplaceAnswer::YesToAll:
        run.yes_to_all = true;
        break;
      case ReplaceAnswer::No:
        return;
      case ReplaceAnswer::NoToAll:
        run.stop = true;
        return;
    }
  }

  // Replace: the new node takes the old one's place, then the old one goes.
  if (InUse(*existing)) {
    run.Fail(Outcome::Refused, Message::FromRow(rows::kNodeInUse));
    return;
  }
  if (run.patch && !ReplacementFitsSection(*target, existing->Data.Tamano, size)) {
    run.Fail(Outcome::Refused, Message().Row(rows::kNoRoomInSection).Break().Text(Latin1ToUtf8(name)));
    return;
  }
  TNodo* node = AddNode(*bytes, name, existing->Parent(), existing->Index());
  if (run.reference == existing) run.reference = node;
  RemoveNode(existing);
  run.result.changed = true;
  run.result.node = node;
}

}  // namespace corvane
