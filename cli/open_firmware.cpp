#include "open_firmware.h"

#include <algorithm>
#include <sstream>

#include "firmware/codec.h"
#include "firmware/crc32.h"
#include "firmware/directory_table.h"
#include "firmware/file_io.h"
#include "firmware/models.h"

namespace corvane::cli {

namespace {

constexpr int kMsgCannotOpen = 6;
constexpr int kMsgNotSelectedType = 4;

// The directory-table shape a family's evidence is read with, or nullptr.
const dirtable::TableShape* ShapeOf(Family family) {
  switch (family) {
    case Family::Pioneer:
      return &dirtable::kLittleShape32;
    case Family::Strong:
    case Family::Nokia:
    case Family::Asscom:
      return &dirtable::kBigShape32;
    case Family::SonyTS1A:
      return &dirtable::kBigShape32After8;
    case Family::SonyTS2:
      return &dirtable::kBigShape30;
    default:
      return nullptr;
  }
}

bool LooksCompressed(const std::string& name) {
  return !name.empty() && (name.back() == 'z' || name.back() == 'Z');
}

Candidate Weigh(int model, const TFirmware& fw, const TArbol& tree, const Bytes& file) {
  Candidate c;
  c.model = model;
  if (fw.CrcOffset != 0) {
    if (BlockChecksumsMatch(file, fw.CrcOffset, fw.CrcBlocks)) {
      c.score += 4;
      c.evidence.push_back("block checksums match");
    } else {
      c.score -= 4;
      c.evidence.push_back("block checksums do not match");
    }
  }
  const ModelDescriptor* d = FindModel(model);
  if (const dirtable::TableShape* shape = d ? ShapeOf(d->family) : nullptr) {
    if (dirtable::AddressesInsideImage(fw, *shape)) {
      c.score += 2;
      c.evidence.push_back("table addresses inside the image");
    } else {
      c.evidence.push_back("table addresses outside the image");
    }
  }
  // Files whose stored bytes decompress to something without running past the buffer.
  std::size_t compressed = 0;
  std::size_t clean = 0;
  std::size_t files = 0;
  tree.ForEach([&](TNodo& n) {
    if (n.IsDirectory()) return;
    ++files;
    if (!LooksCompressed(n.Text)) return;
    ++compressed;
    const Bytes plain = Decompress(n.Data.View());
    if (!plain.empty() && plain.size() < CodecCapacity(n.Data.Tamano)) ++clean;
  });
  if (compressed > 0 && clean == compressed) {
    c.score += 1;
    c.evidence.push_back(std::to_string(clean) + " compressed files decompress");
  } else if (compressed > 0) {
    c.evidence.push_back(std::to_string(clean) + " of " + std::to_string(compressed) +
                         " compressed files decompress");
  }
  if (files == 0) {
    c.score -= 2;
    c.evidence.push_back("no files");
  } else {
    c.evidence.push_back(std::to_string(files) + " files");
  }
  return c;
}

std::string Describe(const Candidate& c) {
  std::ostringstream s;
  s << c.model << '\t' << ModelName(c.model) << '\t' << (c.score >= 0 ? "+" : "") << c.score;
  for (std::size_t i = 0; i < c.evidence.size(); ++i) s << (i == 0 ? ": " : "; ") << c.evidence[i];
  return s.str();
}

}  // namespace

std::vector<Candidate> DetectModels(const std::filesystem::path& path, const Bytes& file) {
  std::vector<Candidate> found;
  for (const ModelDescriptor& d : AllModels()) {
    TArbol tree;
    TFirmware fw;
    if (!fw.CreateFromBytes(path, file, tree, d.model).ok()) continue;
    found.push_back(Weigh(d.model, fw, tree, file));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
  return found;
}

void AddModelOption(CLI::App* cmd, int& model) {
  cmd->add_option("-m,--model", model, "Receiver model (1-27); detected when left out")
      ->check(CLI::Range(1, kModelCount));
}

int OpenFirmware(const std::string& path, int model, OpenedFirmware& out) {
  const auto file = ReadWholeFile(path);
  if (!file) {
    PrintError(Message::FromRow(kMsgCannotOpen).Text(" " + path));
    return kExitIo;
  }
  if (model == 0) {
    const auto candidates = DetectModels(path, *file);
    if (candidates.empty()) {
      PrintError(Message::FromRow(kMsgNotSelectedType));
      return kExitRejected;
    }
    if (candidates.size() > 1 && candidates[1].score >= candidates[0].score) {
      std::string text = "The model cannot be told apart; give it with -m. Candidates:";
      for (const auto& c : candidates) text += "\n" + Describe(c);
      PrintError(text);
      return kExitRejected;
    }
    model = candidates.front().model;
  }
  const Result r = out.fw.CreateFromBytes(path, *file, out.tree, model);
  if (!r.ok()) {
    out.tree.Clear();
    return Report(r);
  }
  return kExitDone;
}

std::string NameForOutput(std::string_view name) {
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Used by cmd_detect.
std::string DescribeCandidate(const Candidate& c) {
  return Describe(c);
}

}  // namespace corvane::cli
