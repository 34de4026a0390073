#include "firmware/firmware.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "base/message_rows.h"
#include "base/file_io.h"
#include "base/platform.h"
#include "firmware/models.h"
#include "firmware/new_node.h"

namespace corvane {

void TFirmware::ApplyModelSettings(int model) {
  Blocks = {};
  Image.clear();
  FileSize = ImageSize = 0;
  BaseAddress = SecondBaseAddress = 0;
  BlockCount = SecondBlockCount = 0;
  CrcOffset = 0;
  CrcBlocks = 0;
  TableOffset = DirectoryCount = DirectoryCapacity = 0;
  FileTableOffset = AddressTableOffset = 0;
  AreaStart = AreaEnd = SecondAreaStart = SecondAreaEnd = 0;
  ForceExternalFonts = false;
  if (const ModelDescriptor* d = FindModel(model)) {
    BaseAddress = d->base_address;
    SecondBaseAddress = d->second_base_address;
    CrcOffset = d->crc_offset;
    CrcBlocks = d->crc_blocks;
  }
}

Result TFirmware::Create(const std::filesystem::path& file_name, TArbol& tree, int model) {
  std::optional<Bytes> file;
  if (FindModel(model) != nullptr) file = ReadWholeFile(file_name);
  if (FindModel(model) != nullptr && !file) {
    FileName = file_name;
    RootName = Utf8FromPath(file_name.filename());
    Tree = &tree;
    Model = static_cast<std::uint8_t>(model);
    Loaded = false;
    return Result::IoError(Message::FromRow(rows::kCannotOpenFirmware));
  }
  return CreateFromBytes(file_name, file ? std::move(*file) : Bytes{}, tree, model);
}

Result TFirmware::CreateFromBytes(const std::filesystem::path& file_name, Bytes file, TArbol& tree,
                                  int model) {
  FileName = file_name;
  RootName = Utf8FromPath(file_name.filename());
  Tree = &tree;
  Model = static_cast<std::uint8_t>(model >= 0 && model <= 255 ? model : 0);
  Loaded = false;
  ApplyModelSettings(model);
  const ModelDescriptor* d = FindModel(model);
  if (d == nullptr) return Result::Rejected(Message::FromRow(rows::kUnknownModel));
  Result result = d->family->loader(*this, std::move(file));
  Loaded = result.ok();
  return result;
}

Result TFirmware::Build(const SaveOptions& options, Bytes& out) const {
  out.clear();
  const ModelDescriptor* d = FindModel(Model);
  if (d == nullptr || !Loaded) return Result::Refused(Message::FromRow(rows::kNoFirmwareOpen));
  Result result = d->family->writer(*this, options, out);
  if (!result.ok()) out.clear();
  return result;
}

namespace {

std::string Describe(const std::string& path) { return path.empty() ? "/" : path; }

// Check-tree files found equal to this tree's while they were read, each with the file it equals.
using SameFiles = std::unordered_map<const TNodo*, const TNodo*>;

// The node at the same place in `tree` as `node` (same positions among siblings, level by level).
const TNodo* Counterpart(const TNodo& node, const TArbol& tree) {
  std::vector<std::size_t> path;
  for (const TNodo* n = &node; n != nullptr; n = n->Parent()) {
    // Loaders add children at the end: look there first.
    const TNodo* parent = n->Parent();
    const std::size_t count = parent ? parent->ChildCount() : n->Tree()->TopCount();
    const TNodo* last = parent ? parent->Child(count - 1) : n->Tree()->Top(count - 1);
    path.push_back(last == n ? count - 1 : n->Index());
  }
  const TNodo* at = tree.Top(path.back());
  for (auto i = path.rbegin() + 1; at != nullptr && i != path.rend(); ++i) at = at->Child(*i);
  return at;
}

// The first place where two trees differ (names, kinds, sizes, bytes, order), as a node path;
// nullopt when they are the same.
std::optional<std::string> FirstDifference(const TNodo& a, const TNodo& b, const std::string& path,
                                           const SameFiles& same) {
  const auto known = same.find(&b);
  const bool same_bytes = known != same.end() ? known->second == &a : a.Data.Datos == b.Data.Datos;
  if (a.IsDirectory() != b.IsDirectory() || a.Data.Tamano != b.Data.Tamano || !same_bytes)
    return Describe(path);
  const std::size_t n = std::min(a.ChildCount(), b.ChildCount());
  for (std::size_t i = 0; i < n; ++i) {
    const TNodo& ca = *a.Child(i);
    const TNodo& cb = *b.Child(i);
    const std::string child_path = path + "/" + ca.Text;
    if (ca.Text != cb.Text) return Describe(child_path);
    if (auto d = FirstDifference(ca, cb, child_path, same)) return d;
  }
  if (a.ChildCount() != b.ChildCount()) {
    const TNodo& extra = a.ChildCount() > n ? *a.Child(n) : *b.Child(n);
    return Describe(path + "/" + extra.Text);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> TFirmware::ReadBackDifference(const Bytes& out) const {
  Bytes copy = out;
  return ReadBackDifferenceOf(copy);
}

std::optional<std::string> TFirmware::ReadBackDifferenceOf(Bytes& out) const {
  // The files are compared as they are read: the check's tree copies only those that differ.
  SameFiles same;
  TArbol tree;
  TFirmware check;
  bool loaded = false;
  {
    const ComparedTree compared(tree, [this, &same](const TNodo& node, ByteView bytes) {
      const TNodo* mine = Tree != nullptr ? Counterpart(node, *Tree) : nullptr;
      if (mine == nullptr || mine->IsDirectory() || !std::ranges::equal(bytes.span(), mine->Data.Datos))
        return false;
      same.emplace(&node, mine);
      return true;
    });
    loaded = check.CreateFromBytes(FileName, std::move(out), tree, Model).ok();
  }
  std::optional<std::string> difference("/");
  const TNodo* mine = Root();
  const TNodo* theirs = tree.Root();
  if (loaded && mine != nullptr && theirs != nullptr) difference = FirstDifference(*mine, *theirs, "", same);
  // The check's image is the buffer the built bytes came in: it is given back for building again.
  out = std::move(check.Image);
  return difference;
}

Result TFirmware::GuardaFirmware(const std::filesystem::path& destination,
                                 const SaveOptions& options) const {
  Bytes out;
  Result built = Build(options, out);
  if (!built.ok()) return built;
  // The receiver reads the image the way the loader does: an image that does not read back as
  // this tree would lose files or leave the receiver without a readable file system. The check
  // reads the built bytes in place rather than a copy of them; the same bytes are then built
  // again in the buffer it gives back.
  if (const auto difference = ReadBackDifferenceOf(out))
    return Result::Refused(
        Message().Row(rows::kReadBackDiffers).Text(*difference).Row(rows::kNothingWritten));
  built = Build(options, out);
  if (!built.ok()) return built;
  const std::string error = WriteFileAtomic(destination, out);
  if (!error.empty())
    return Result::IoError(Message::FromRow(rows::kCannotOpenFirmware)
                               .Break()
                               .Text(destination.string() + ": " + error));
  return Result::Ok();
}

}  // namespace corvane
