#include "atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quarn {
namespace {

std::string SystemError(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

// Permissions a newly created file gets under the current umask; mkstemp
// alone would make the result private to its owner.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(std::string& problem) {
  std::vector<char> name(path_.begin(), path_.end());
  for (const char c : std::string(".tmp-XXXXXX")) name.push_back(c);
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    problem = SystemError("cannot create", path_);
    return false;
  }
  temporary_ = name.data();
  fchmod(fd, NewFileMode());
  close(fd);
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) {
    problem = SystemError("cannot write", path_);
    Discard();
    return false;
  }
  return true;
}

bool AtomicFile::Commit(std::string& problem) {
  stream_.flush();
  const bool written = static_cast<bool>(stream_);
  stream_.close();
  if (!written || stream_.fail()) {
    problem = SystemError("cannot write", path_);
    Discard();
    return false;
  }
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    problem = SystemError("cannot write", path_);
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (stream_.is_open()) stream_.close();
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  temporary_.clear();
}

}  // namespace quarn
