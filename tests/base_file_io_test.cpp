// Saving where the destination cannot take the new file: a full disk, a read-only folder, a file
// that cannot be replaced. Every writer reports it and the old file keeps its bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <unistd.h>

#include "base/file_io.h"
#include "config/ini.h"
#include "firmware/firmware.h"
#include "support/files.h"
#include "support/patch_builder.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

bool Shell(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

// A folder holding the old file, made into an obstacle; unmounted when the test ends.
class Destination {
 public:
  enum Kind { FullDisk, ReadOnlyFolder, Unreplaceable };

  // False when this machine cannot make the obstacle (mounting and file attributes need root).
  bool Make(Kind kind) {
    const bool root = ::geteuid() == 0;
    if (root) {
      if (!Shell("mount -t tmpfs -o size=64k tmpfs '" + dir_.path().string() + "'")) return false;
      mounted_ = true;
    } else if (kind != ReadOnlyFolder) {
      return false;
    }
    test::WriteFile(file(), old_);
    switch (kind) {
      case FullDisk:
        return true;
      case ReadOnlyFolder:
        if (root) return Shell("mount -o remount,ro '" + dir_.path().string() + "'");
        fs::permissions(dir_.path(), fs::perms::owner_read | fs::perms::owner_exec);
        return true;
      case Unreplaceable:
        immutable_ = Shell("chattr +i '" + file().string() + "'");
        return immutable_;
    }
    return false;
  }
  ~Destination() {
    if (immutable_) Shell("chattr -i '" + file().string() + "'");
    if (mounted_) Shell("umount '" + dir_.path().string() + "'");
    fs::permissions(dir_.path(), fs::perms::owner_all);
  }

  fs::path file() const { return dir_ / "fw.bin"; }
  const Bytes& old_bytes() const { return old_; }
  // Nothing but the old file, unchanged.
  bool Untouched() const {
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_.path())) ++entries;
    return entries == 1 && test::ReadFile(file()) == old_;
  }

 private:
  test::TempDir dir_;
  Bytes old_ = test::Pattern(8192, 7);
  bool mounted_ = false;
  bool immutable_ = false;
};

struct Writer {
  const char* name;
  // Writes about 64 KB or more to the file; true when the writer reported success.
  std::function<bool(const fs::path&)> write;
};

const Writer kWriters[] = {
    {"file", [](const fs::path& file) { return WriteFileAtomic(file, test::Pattern(0x40000, 1)).empty(); }},
    {"settings",
     [](const fs::path& file) {
       IniFile ini;
       ini.WriteString("Corvane", "Value", std::string(0x40000, 'x'));
       return ini.Save(file).empty();
     }},
    {"firmware",
     [](const fs::path& file) {
       TArbol tree;
       TFirmware firmware;
       const Bytes patch = test::PlainPatch({test::SampleSection(1)}, test::Endian::Little);
       if (!firmware.CreateFromBytes("fw.rsc", patch, tree, 4).ok()) return true;
       const Result saved = firmware.GuardaFirmware(file, SaveOptions{});
       return saved.ok() || saved.outcome != Outcome::IoError;  // an I/O error is the report
     }},
};

TEST(AtomicSaving, ObstaclesLeaveTheOldFileAndAreReported) {
  for (const auto kind : {Destination::FullDisk, Destination::ReadOnlyFolder, Destination::Unreplaceable}) {
    for (const Writer& writer : kWriters) {
      Destination destination;
      if (!destination.Make(kind)) {
        std::cout << "obstacle " << kind << " cannot be made here: skipped\n";
        break;
      }
      EXPECT_FALSE(writer.write(destination.file())) << writer.name << " obstacle " << kind;
      EXPECT_TRUE(destination.Untouched()) << writer.name << " obstacle " << kind;
    }
  }
}

TEST(AtomicSaving, ALinkKeepsPointingAtTheReplacedFile) {
  test::TempDir dir;
  test::WriteText(dir / "real.ini", "old");
  fs::create_symlink("real.ini", dir / "link.ini");
  ASSERT_EQ(WriteFileAtomic(dir / "link.ini", test::ToBytes("new")), "");
  EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
  EXPECT_EQ(test::ReadText(dir / "real.ini"), "new");
}

}  // namespace
}  // namespace corvane
