#include "io/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quarn {
namespace {

FileSystemCalls fileSystemCalls{&fsync, &std::rename};

std::string SystemError(const std::string& what, const std::string& path, int error) {
  return what + " '" + path + "': " + std::strerror(error);
}

// Permissions a newly created file gets under the current umask; mkstemp
// alone would make the result private to its owner.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Temporary files and folders that exist right now, so that an interrupt
// (Ctrl-C, a terminal hang-up, a kill) removes them before the process
// ends: the handler may only use async-signal-safe calls, hence fixed
// buffers. Files are removed before folders, so a temporary folder is empty
// when its turn comes.
constexpr std::size_t kMaxPending = 32;
std::array<std::array<char, 4096>, kMaxPending> pendingPaths{};
std::array<volatile std::sig_atomic_t, kMaxPending> pendingInUse{};
std::array<volatile std::sig_atomic_t, kMaxPending> pendingIsFolder{};

extern "C" void RemovePendingAndReraise(int signal) {
  for (std::size_t i = 0; i < kMaxPending; ++i) {
    if (pendingInUse[i] && !pendingIsFolder[i]) unlink(pendingPaths[i].data());
  }
  for (std::size_t i = 0; i < kMaxPending; ++i) {
    if (pendingInUse[i] && pendingIsFolder[i]) rmdir(pendingPaths[i].data());
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

// Files are written from several threads at once (batches): slots are
// claimed and freed under this lock; the signal handler only reads them.
std::mutex pendingLock;

// The slot holding path, or SIZE_MAX when it could not be registered.
std::size_t RegisterPending(const std::string& path, bool isFolder = false) {
  InstallInterruptCleanup();
  const std::lock_guard<std::mutex> lock(pendingLock);
  for (std::size_t i = 0; i < kMaxPending; ++i) {
    if (!pendingInUse[i] && path.size() < pendingPaths[i].size()) {
      std::memcpy(pendingPaths[i].data(), path.c_str(), path.size() + 1);
      pendingIsFolder[i] = isFolder ? 1 : 0;
      pendingInUse[i] = 1;
      return i;
    }
  }
  return SIZE_MAX;
}

// Frees the slot and marks it as none.
void UnregisterPending(std::size_t& slot) {
  if (slot < kMaxPending) {
    const std::lock_guard<std::mutex> lock(pendingLock);
    pendingInUse[slot] = 0;
  }
  slot = SIZE_MAX;
}

// Writes all of bytes to fd; returns 0 or the errno of the failed write.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Syncs the folder's entries to disk, so that a rename in it survives a
// crash; "" is the working folder. Returns 0 or the errno of the failed step.
int SyncFolder(const std::string& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  const int error = fileSystemCalls.fsync(fd) == 0 ? 0 : errno;
  close(fd);
  return error;
}

// The path a write to path lands at: path itself, or, while it names a
// symbolic link, the link's target (relative targets from the link's
// folder), so that a link keeps pointing where it did. Gives up after 40
// links, as the system does.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = (target.is_absolute() ? target : std::filesystem::path(path).parent_path() / target).string();
  }
  return path;
}

// Whether path names something other than a regular file or a folder that
// writing goes through in place: a character device, a FIFO, a socket
// (links followed). Replacing one of those would take it away from
// everything else that uses it.
bool IsWrittenInPlace(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

// Renames from over to and syncs the folder. Until that sync succeeds the
// earlier file at to stays reachable as the hard link backup, so that a
// failed sync puts it back (or removes the new file when there was none).
// Returns 0 or the errno of the failed step.
int LandDurably(const std::string& from, const std::string& to, const std::string& backup) {
  const bool backedUp = link(to.c_str(), backup.c_str()) == 0;
  // A folder without hard links keeps no backup: the new file then stays
  // in place even when the sync fails.
  const bool hadEarlier = backedUp || errno != ENOENT;
  std::size_t backupSlot = backedUp ? RegisterPending(backup) : SIZE_MAX;
  int error = 0;
  if (fileSystemCalls.rename(from.c_str(), to.c_str()) != 0) {
    error = errno;
  } else if ((error = SyncFolder(std::filesystem::path(to).parent_path().string())) != 0) {
    if (backedUp) {
      fileSystemCalls.rename(backup.c_str(), to.c_str());
    } else if (!hadEarlier) {
      unlink(to.c_str());
    }
  }
  if (backedUp) unlink(backup.c_str());
  UnregisterPending(backupSlot);
  return error;
}

}  // namespace

FileSystemCalls SetFileSystemCalls(FileSystemCalls calls) {
  std::swap(calls, fileSystemCalls);
  return calls;
}

// A stream buffer over a file descriptor that keeps the first write error,
// so that a failed write is reported with its real reason.
class AtomicFile::FdBuffer : public std::streambuf {
 public:
  // A durable buffer syncs its file on Close; a device or a pipe has
  // nothing to sync.
  FdBuffer(int fd, bool durable) : fd_(fd), durable_(durable) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }
  ~FdBuffer() override {
    if (fd_ >= 0) close(fd_);
  }
  FdBuffer(const FdBuffer&) = delete;
  FdBuffer& operator=(const FdBuffer&) = delete;

  // Writes what is buffered, syncs it to disk (when durable) and closes the
  // file; returns 0 or the first error.
  int Close() {
    Drain();
    if (durable_ && fd_ >= 0 && error_ == 0 && fileSystemCalls.fsync(fd_) != 0) error_ = errno;
    if (fd_ >= 0 && close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
    return error_;
  }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    if (error_ == 0 && fd_ >= 0) {
      error_ = WriteAll(fd_, std::string_view(pbase(), static_cast<std::size_t>(pptr() - pbase())));
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
  }

  int fd_;
  bool durable_;
  int error_ = 0;
  std::array<char, 1 << 16> buffer_{};
};

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)), stream_(nullptr) {}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(std::string& problem) {
  landing_ = FollowLinks(path_);
  if (IsWrittenInPlace(landing_)) {
    const int fd = open(landing_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
      problem = SystemError("cannot write", path_, errno);
      return false;
    }
    buffer_ = std::make_unique<FdBuffer>(fd, false);
    stream_.rdbuf(buffer_.get());
    stream_.clear();
    return true;
  }
  std::string name = landing_ + ".tmp-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    problem = SystemError("cannot create", path_, errno);
    return false;
  }
  temporary_ = name;
  pendingSlot_ = RegisterPending(temporary_);
  fchmod(fd, NewFileMode());
  buffer_ = std::make_unique<FdBuffer>(fd, true);
  stream_.rdbuf(buffer_.get());
  stream_.clear();
  return true;
}

bool AtomicFile::Commit(std::string& problem) {
  const int error = buffer_ ? buffer_->Close() : EBADF;
  if (error != 0) {
    problem = SystemError("cannot write", path_, error);
    Discard();
    return false;
  }
  if (temporary_.empty()) {  // written in place: nothing to land
    stream_.rdbuf(nullptr);
    buffer_.reset();
    return true;
  }
  if (const int landed = LandDurably(temporary_, landing_, temporary_ + "-old"); landed != 0) {
    problem = SystemError("cannot write", path_, landed);
    Discard();
    return false;
  }
  UnregisterPending(pendingSlot_);
  temporary_.clear();
  stream_.rdbuf(nullptr);
  buffer_.reset();
  return true;
}

void AtomicFile::Discard() {
  stream_.rdbuf(nullptr);
  buffer_.reset();
  if (!temporary_.empty()) unlink(temporary_.c_str());
  UnregisterPending(pendingSlot_);
  temporary_.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& problem) {
  AtomicFile file(path);
  if (!file.Open(problem)) return false;
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file.Commit(problem);
}

bool WriteStandardOutput(std::string_view bytes, std::string& problem) {
  if (const int error = WriteAll(STDOUT_FILENO, bytes); error != 0) {
    problem = std::string("cannot write to standard output: ") + std::strerror(error);
    return false;
  }
  return true;
}

namespace {

// The temporary folder of one multi-file output and what has happened to
// each file: written into the folder, the earlier file at its target kept
// as a hard link in the folder, renamed into place. Whatever is not
// committed is undone on destruction.
class PendingOutput {
 public:
  PendingOutput(const std::string& folder, const std::vector<OutputFile>& files)
      : folder_(folder), files_(files), states_(files.size()) {}
  ~PendingOutput() { Undo(); }
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  bool Write(std::string& problem) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
      landings_.push_back(FollowLinks(Target(i)));
      if (IsWrittenInPlace(landings_.back())) {
        problem = "cannot write '" + Target(i) + "': an output of several files lands only as regular files";
        return false;
      }
    }
    std::string name = Target(0);
    name.insert(name.size() - files_[0].name.size(), ".");
    name += ".tmp-XXXXXX";
    if (mkdtemp(name.data()) == nullptr) {
      problem = SystemError("cannot create", Target(0), errno);
      return false;
    }
    temporary_ = name;
    folderSlot_ = RegisterPending(temporary_, true);
    for (std::size_t i = 0; i < files_.size(); ++i) {
      if (const int error = WriteOne(i); error != 0) {
        problem = SystemError("cannot write", Target(i), error);
        return false;
      }
    }
    return true;
  }

  bool Land(std::string& problem) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
      State& state = states_[i];
      const std::string target = Target(i);
      if (link(landings_[i].c_str(), Backup(i).c_str()) == 0) {
        state.backupSlot = RegisterPending(Backup(i));
        state.backedUp = true;
      } else if (errno != ENOENT) {
        problem = SystemError("cannot replace", target, errno);
        return false;
      }
      if (fileSystemCalls.rename(Written(i).c_str(), landings_[i].c_str()) != 0) {
        problem = SystemError("cannot write", target, errno);
        return false;
      }
      UnregisterPending(state.writtenSlot);
      state.landed = true;
    }
    // Until the renames are on disk the landing can still be undone. Links
    // may have taken files to other folders: each is synced once.
    std::vector<std::string> folders = {folder_};
    for (const std::string& landing : landings_) {
      std::string parent = std::filesystem::path(landing).parent_path().string();
      if (std::find(folders.begin(), folders.end(), parent) == folders.end()) folders.push_back(std::move(parent));
    }
    for (const std::string& folder : folders) {
      if (const int error = SyncFolder(folder); error != 0) {
        problem = SystemError("cannot write", Target(0), error);
        return false;
      }
    }
    for (State& state : states_) state.landed = false;  // committed: keep the new files
    return true;
  }

 private:
  struct State {
    std::size_t writtenSlot = SIZE_MAX;
    std::size_t backupSlot = SIZE_MAX;
    bool written = false;
    bool backedUp = false;
    bool landed = false;
  };

  std::string Target(std::size_t i) const {
    return folder_.empty() ? files_[i].name : folder_ + "/" + files_[i].name;
  }
  std::string Written(std::size_t i) const { return temporary_ + "/" + files_[i].name; }
  // Output names never start with '.', so backups cannot meet a new file.
  std::string Backup(std::size_t i) const { return temporary_ + "/.old-" + std::to_string(i); }

  // Returns 0 or the errno of the failed step.
  int WriteOne(std::size_t i) {
    const std::string path = Written(i);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode());
    if (fd < 0) return errno;
    states_[i].writtenSlot = RegisterPending(path);
    states_[i].written = true;
    int error = WriteAll(fd, files_[i].bytes);
    if (error == 0 && fileSystemCalls.fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    return error;
  }

  // Puts every landed file's earlier state back, then removes the rest.
  void Undo() {
    for (std::size_t i = states_.size(); i-- > 0;) {
      State& state = states_[i];
      if (state.landed && state.backedUp) {
        if (fileSystemCalls.rename(Backup(i).c_str(), landings_[i].c_str()) == 0) state.backedUp = false;
      } else if (state.landed) {
        unlink(landings_[i].c_str());
      }
      if (state.written && !state.landed) unlink(Written(i).c_str());
      if (state.backedUp) unlink(Backup(i).c_str());
      UnregisterPending(state.writtenSlot);
      UnregisterPending(state.backupSlot);
    }
    if (!temporary_.empty()) rmdir(temporary_.c_str());
    UnregisterPending(folderSlot_);
  }

  const std::string& folder_;
  const std::vector<OutputFile>& files_;
  std::vector<State> states_;
  std::vector<std::string> landings_;  // each target with symbolic links followed
  std::string temporary_;
  std::size_t folderSlot_ = SIZE_MAX;
};

bool IsPlainName(const std::string& name) {
  return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos;
}

}  // namespace

bool WriteFilesAtomically(const std::string& folder, const std::vector<OutputFile>& files,
                          std::string& problem) {
  for (const OutputFile& file : files) {
    if (!IsPlainName(file.name)) {
      problem = "cannot write '" + file.name + "': not a plain file name";
      return false;
    }
  }
  if (files.empty()) {
    problem = "cannot write an output of no files";
    return false;
  }
  if (files.size() == 1) {
    const std::string path = folder.empty() ? files[0].name : folder + "/" + files[0].name;
    return WriteFileAtomically(path, files[0].bytes, problem);
  }
  PendingOutput output(folder, files);
  return output.Write(problem) && output.Land(problem);
}

}  // namespace quarn
