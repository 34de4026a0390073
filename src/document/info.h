// The information figures: directories, files and bytes used against what the image offers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

class TFirmware;

struct InfoFigure {
  std::uint64_t used = 0;
  std::optional<std::uint64_t> capacity;  // nullopt where the window shows "???"

  // used / capacity x 100; 0 when the capacity is 0 or unknown.
  double Percent() const;
  // The pie's position: the percentage rounded to the nearest integer (0 when unknown).
  int Pie() const;
  // The value text: used + " / " + capacity + "  (" + percentage with two decimals + "%)", or
  // used + " / ???".
  std::string Text() const;
};

struct InfoFigures {
  InfoFigure directories;
  InfoFigure files;
  InfoFigure space;
};

// The percentage as the window shows it: rounded to 5 significant digits, then written with two
// decimals ("45.68", "100.00", "0.00").
std::string FormatPercent(double percent);

// The figures of a loaded firmware, by the rules of its model's row.
InfoFigures Informacion(const TFirmware& firmware);

// For the firmware models whose writers move directories to a second region (1, 2, 3, 10, 16,
// 20, 23): the number of files of the directories that go there.
std::uint32_t FilesInSecondRegion(const TFirmware& firmware);

}  // namespace corvane
