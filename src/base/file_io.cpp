#include "base/file_io.h"

#include "base/large_buffer.h"
#include "base/platform.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define CORVANE_POSIX 1
#endif

namespace corvane {

namespace fs = std::filesystem;

std::optional<Bytes> ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  in.seekg(0, std::ios::beg);
  Bytes bytes;
  ReserveLarge(bytes, static_cast<std::size_t>(size));
  bytes.resize(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

namespace {

#ifdef CORVANE_POSIX
std::string WriteAll(int fd, ByteView bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::strerror(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) return std::strerror(errno);
  return {};
}
#endif

}  // namespace

std::string WriteFileAtomic(const fs::path& destination, ByteView bytes) {
  std::error_code ec;
  // A symbolic link keeps pointing at the file it names: that file is the one replaced.
  fs::path path = destination;
  if (fs::is_symlink(destination, ec)) {
    const fs::path target = fs::canonical(destination, ec);
    if (!ec) path = target;
  }
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (fs::is_directory(path, ec)) return "the destination is a folder";
#ifdef CORVANE_POSIX
  std::string pattern = (dir / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return std::strerror(errno);
  // Keep the permissions of a file being replaced; a new file gets the usual 0644 less umask.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    ::fchmod(fd, st.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  std::string error = WriteAll(fd, bytes);
  if (::close(fd) != 0 && error.empty()) error = std::strerror(errno);
  if (error.empty()) error = RenameOver(pattern, path);
  if (!error.empty()) {
    ::unlink(pattern.c_str());
    return error;
  }
  // The new name is on disk only once the folder is: flush it too (where the file system can).
  const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir_fd >= 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
  }
  return {};
#else
  std::mt19937_64 rng(std::random_device{}());
  const fs::path temp = dir / ("." + path.filename().string() + ".tmp-" + std::to_string(rng()));
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot create a temporary file beside the destination";
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return "write failed";
    }
  }
  const std::string error = RenameOver(temp, path);
  if (!error.empty()) fs::remove(temp, ec);
  return error;
#endif
}

}  // namespace corvane
