#include "atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
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

// Temporary files that exist right now, so that an interrupt (Ctrl-C, a
// terminal hang-up, a kill) removes them before the process ends: the
// handler may only use async-signal-safe calls, hence fixed buffers.
constexpr std::size_t kMaxPending = 4;
std::array<std::array<char, 4096>, kMaxPending> pendingPaths{};
std::array<volatile std::sig_atomic_t, kMaxPending> pendingInUse{};

extern "C" void RemovePendingAndReraise(int signal) {
  for (std::size_t i = 0; i < kMaxPending; ++i) {
    if (pendingInUse[i]) unlink(pendingPaths[i].data());
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Signals the caller chose to ignore (nohup, a background job) stay ignored.
void InstallInterruptCleanup() {
  static const bool installed = [] {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction current {};
      if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        std::signal(signal, RemovePendingAndReraise);
      }
    }
    return true;
  }();
  (void)installed;
}

// The slot holding path, or SIZE_MAX when it could not be registered.
std::size_t RegisterPending(const std::string& path) {
  InstallInterruptCleanup();
  for (std::size_t i = 0; i < kMaxPending; ++i) {
    if (!pendingInUse[i] && path.size() < pendingPaths[i].size()) {
      std::memcpy(pendingPaths[i].data(), path.c_str(), path.size() + 1);
      pendingInUse[i] = 1;
      return i;
    }
  }
  return SIZE_MAX;
}

// Frees the slot and marks it as none.
void UnregisterPending(std::size_t& slot) {
  if (slot < kMaxPending) pendingInUse[slot] = 0;
  slot = SIZE_MAX;
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
  pendingSlot_ = RegisterPending(temporary_);
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
  UnregisterPending(pendingSlot_);
  temporary_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (stream_.is_open()) stream_.close();
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  UnregisterPending(pendingSlot_);
  temporary_.clear();
}

}  // namespace quarn
