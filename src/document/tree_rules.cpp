#include "document/tree_rules.h"

#include <algorithm>
#include <array>

#include "base/messages.h"
#include "firmware/firmware.h"
#include "firmware/models.h"
#include "document/names.h"
#include "firmware/sizes.h"

namespace corvane {

namespace {

std::string_view SectionWord(const SelectionContext& context) {
  return context.section_word.empty() ? DefaultMessages()[rows::kSectionWord]
                                      : context.section_word;
}

const TNodo* TopOf(const TNodo* node) {
  while (node->Parent() != nullptr) node = node->Parent();
  return node;
}

bool IsTopLevel(const TNodo* node) { return node->Parent() == nullptr; }
bool IsChildOfRoot(const TNodo* node) {
  return node->Parent() != nullptr && node->Parent()->Parent() == nullptr;
}
bool IsCanal(const TNodo& node) { return UpperName(node.Text) == kCanalName; }

std::uint32_t RoundUp4(std::uint32_t v) { return (v + 3u) & ~3u; }

// TamanoDirectorio of `dir` as it would be with `moved` taken out of its place and put at
// `index` among the children of `target`.
std::uint32_t SizeWithMove(const TNodo& dir, const TNodo& moved, const TNodo& target,
                           std::size_t index) {
  std::vector<const TNodo*> children;
  for (const TNodo* c : dir.Children())
    if (c != &moved) children.push_back(c);
  if (&dir == &target)
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(std::min(index, children.size())),
                    &moved);
  std::uint32_t total = 0;
  for (const TNodo* c : children) {
    if (c->IsDirectory()) {
      total = RoundUp4(total + SizeWithMove(*c, moved, target, index) + 16);
    } else {
      total += c->Data.Tamano + 20;
    }
  }
  return total;
}

}  // namespace

bool IsRawFileName(std::string_view raw) {
  static constexpr std::array<std::string_view, 5> kNames = {kCanalName, "TCS", "TPT", "PATCH",
                                                             "EMM_MAIL"};
  const std::string upper = UpperName(raw);
  return std::find(kNames.begin(), kNames.end(), upper) != kNames.end();
}

bool FileFitsSection(const TNodo& node, std::uint32_t added) {
  return std::uint64_t{TamanoSeccion(node)} + added + 20 < kPatchSectionSize;
}

bool ReplacementFitsSection(const TNodo& node, std::uint32_t old_size, std::uint32_t new_size) {
  return std::int64_t{TamanoSeccion(node)} - old_size + new_size <
         static_cast<std::int64_t>(kPatchSectionSize);
}

std::uint32_t SectionSizeAfterMove(const TNodo& moved, const TNodo& target_parent,
                                   std::size_t index) {
  const TNodo* section = &target_parent;
  while (section->Parent() != nullptr && section->Parent()->Parent() != nullptr)
    section = section->Parent();
  return SizeWithMove(*section, moved, target_parent, index) + 32;
}

Message TextoEstadoNodo(const TNodo* selected) {
  if (selected == nullptr) return {};
  if (selected->IsDirectory()) {
    std::uint32_t size = 0;
    if (IsTopLevel(selected)) {
      for (const TNodo* c : selected->Children()) size += SumaTamanos(*c, 3);
    } else {
      size = SumaTamanos(*selected, 3);
    }
    return Message()
        .Row(rows::kNodeSize)
        .Text(" " + std::to_string(size) + " -- ")
        .Row(rows::kDirectChildren)
        .Text(" " + std::to_string(selected->ChildCount()));
  }
  const std::uint64_t size = (std::uint64_t{selected->Data.Tamano} + 3) & ~std::uint64_t{3};
  return Message().Row(rows::kNodeSize).Text(" " + std::to_string(size));
}

Message TextoEstadoSeccion(const TNodo* selected) {
  if (selected == nullptr || IsTopLevel(selected)) return {};
  std::int64_t size = 0;
  std::int64_t allowance = 0;
  if (selected->IsDirectory()) {
    if (IsChildOfRoot(selected)) {
      if (FirstChildIsCanal(*selected)) allowance = kCanalAllowance;
      size = std::int64_t{TamanoSeccion(*selected)} - allowance;
    } else {
      size = TamanoDirectorio(*selected);
    }
  } else {
    size = selected->Data.Tamano;
    if (IsCanal(*selected)) allowance = kCanalAllowance;
  }
  const std::int64_t free = allowance - std::int64_t{TamanoSeccion(*selected)} + kSectionLimit;
  return Message()
      .Row(rows::kNodeSize)
      .Text(" " + std::to_string(size))
      .Row(rows::kSectionFree)
      .Text(" " + std::to_string(free));
}

Message TextoEstado(const TFirmware& firmware, const TNodo* selected) {
  return IsPatchModel(firmware.Model) ? TextoEstadoSeccion(selected) : TextoEstadoNodo(selected);
}

CommandStates CommandsWithoutFirmware() { return CommandStates{}; }

CommandStates CommandsAfterOpen(int model) {
  CommandStates s;
  s.open = s.save = true;
  s.font_editor = s.font_lists = IsFontModel(model);
  s.import_order = s.export_order = !IsPatchModel(model);
  s.information = s.search = s.extract_code = true;
  return s;
}

bool IsSectionNode(const SelectionContext& context, const TNodo& node) {
  return (IsPatchModel(context.model) && IsChildOfRoot(&node)) ||
         BeginsWithWord(node.Text, SectionWord(context));
}

CommandStates ActualizaBotones(const CommandStates& current, const SelectionContext& context,
                               const TNodo* selected) {
  if (selected == nullptr) return current;
  CommandStates s = current;
  s.open = s.save = true;
  s.insert_compress = s.insert_plain = s.extract_decompress = s.extract_plain = true;
  const bool patch = IsPatchModel(context.model);
  if (!patch) s.import_order = s.export_order = true;
  s.hex_decompress = s.hex_plain = !selected->IsDirectory();
  s.font_editor = s.font_lists = !context.use_external_fonts && IsFontModel(context.model);

  const bool is_root = IsTopLevel(selected) || selected->Text == context.root_name;
  s.delete_node = !is_root && !IsSectionNode(context, *selected);

  s.new_directory = false;
  if (selected->IsDirectory() && !is_root) {
    if (!patch) {
      s.new_directory = TopOf(selected)->ChildCount() < context.directory_capacity;
    } else {
      const std::string canal_section = std::string(SectionWord(context)) + "-0";
      s.new_directory = IsChildOfRoot(selected) && selected->ChildCount() < 16 &&
                        std::uint64_t{TamanoSeccion(*selected)} + 16 < kPatchSectionSize &&
                        !(ContainsWord(selected->Text, canal_section) &&
                          FirstChildIsCanal(*selected));
    }
  }
  return s;
}

bool CanStartRename(const SelectionContext& context, const TNodo* node) {
  if (node == nullptr || IsTopLevel(node) || node->Text == context.root_name) return false;
  return !(IsPatchModel(context.model) && IsSectionNode(context, *node));
}

DropPlace PlaceForDrop(const SelectionContext& context, const TNodo* dragged,
                       const TNodo* target) {
  DropPlace refused;
  if (dragged == nullptr || target == nullptr) return refused;
  if (IsTopLevel(target) || IsTopLevel(dragged)) return refused;  // T or S is the root
  if (dragged->Contains(target)) return refused;  // onto itself or below itself
  if (dragged->Tree() != target->Tree()) return refused;

  const bool s_dir = dragged->IsDirectory();
  const bool t_dir = target->IsDirectory();
  const bool patch = IsPatchModel(context.model);
  bool before_target;  // else: the last child of the target
  if (!patch) {
    if (s_dir && !t_dir) return refused;
    before_target = s_dir == t_dir;
  } else {
    if (IsChildOfRoot(dragged)) return refused;  // sections do not move
    if (IsCanal(*dragged)) return refused;
    if (t_dir && FirstChildIsCanal(*target)) return refused;
    if (!t_dir && IsCanal(*target)) return refused;
    if (s_dir && !t_dir) return refused;
    if (!s_dir && t_dir && IsChildOfRoot(target)) return refused;
    if (!s_dir && !t_dir) {
      before_target = true;
    } else if (s_dir && t_dir) {
      before_target = !IsChildOfRoot(target);
    } else {
      before_target = false;
    }
  }

  TNodo* parent = before_target ? target->Parent() : const_cast<TNodo*>(target);
  // A clash: the node comes from another level, or lands on another level (a sibling directory),
  // and its new level already has its name.
  if (dragged->Parent() != target->Parent() || dragged->Parent() != parent) {
    const std::string name = LowerName(dragged->Text);
    for (const TNodo* c : parent->Children())
      if (LowerName(c->Text) == name) return refused;
  }

  DropPlace place;
  place.parent = parent;
  const bool same_parent = dragged->Parent() == parent;
  if (before_target) {
    place.index = target->Index();
    if (same_parent && dragged->Index() < target->Index()) --place.index;
  } else {
    place.index = parent->ChildCount() - (same_parent ? 1 : 0);
  }
  if (patch && SectionSizeAfterMove(*dragged, *parent, place.index) >= kPatchSectionSize)
    return refused;
  place.allowed = true;
  return place;
}

}  // namespace corvane
