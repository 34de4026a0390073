// Small file helpers for tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace corvane::test {

void WriteFile(const std::filesystem::path& path, const Bytes& bytes);
void WriteText(const std::filesystem::path& path, const std::string& text);
Bytes ReadFile(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
Bytes ToBytes(std::string_view text);

}  // namespace corvane::test
