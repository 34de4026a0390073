// Runs corvane-cli (the build's own, CORVANE_CLI) and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/files.h"
#include "support/temp_dir.h"

namespace corvane::test {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

// A temporary folder for the files of a command-line test, and `corvane-cli ARGS` run with its
// standard output captured and its standard error kept in the folder.
struct CliFolder {
  CliRun Run(const std::string& args) const {
    const std::filesystem::path err_file = dir / "err.txt";
    CliRun run;
    FILE* pipe = popen(("\"" CORVANE_CLI "\" " + args + " 2>" + Quote(err_file)).c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadText(err_file);
    return run;
  }
  static std::string Q(const std::filesystem::path& p) { return Quote(p); }

  TempDir dir;
};

}  // namespace corvane::test
