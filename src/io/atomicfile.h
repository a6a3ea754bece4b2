#pragma once

// Landing user files: every output is written under a temporary name in its
// target folder and renamed into place once it is complete, so a path never
// holds a half-written file. A write that fails (missing or read-only
// folder, full disk, file-size limit) removes its temporaries, keeps any
// earlier file at the path and says why in one phrase naming the file, for
// example "cannot write 'plan.json': No space left on device". An
// interrupting signal (SIGINT, SIGTERM, SIGHUP) removes the temporaries too.
//
// A landed file survives a crash or a power cut: its data is synced to disk
// before the rename, and the folder after it. A failed sync is a failed
// write: the earlier file is put back.
//
// Only regular files are replaced. A path naming a symbolic link lands at
// the link's target and the link stays; a path naming a character device, a
// FIFO or a socket (/dev/null, /dev/stdout, a named pipe) is written
// through, in place, as a plain write would.

#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The system calls that make a write durable and put it in place, behind
// one seam so that tests can watch their order and make one fail. Each
// behaves as the system call of its name: 0, or -1 with errno set.
struct FileSystemCalls {
  int (*fsync)(int fd);
  int (*rename)(const char* from, const char* to);
};

// Makes calls the ones in use (the system's by default); returns the
// earlier ones.
FileSystemCalls SetFileSystemCalls(FileSystemCalls calls);

// One output file written through a stream: Open creates the temporary
// file (or opens a device, FIFO or socket for writing in place), Commit
// renames it over the path (or closes it). Destroyed uncommitted, it removes
// the temporary file and leaves the path as it was.
class AtomicFile {
 public:
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file; on failure returns false and says why.
  bool Open(std::string& problem);
  // Valid between a successful Open and Commit.
  std::ostream& Stream() { return stream_; }
  // Flushes, syncs, closes and renames the temporary file to the path, then
  // syncs the folder; on failure returns false, says why, removes the
  // temporary file and keeps the earlier file at the path.
  bool Commit(std::string& problem);

 private:
  class FdBuffer;
  void Discard();

  std::string path_;
  std::string landing_;  // path_ with symbolic links followed
  std::string temporary_;
  std::size_t pendingSlot_ = SIZE_MAX;
  std::unique_ptr<FdBuffer> buffer_;
  std::ostream stream_;
};

// Writes bytes to path through an AtomicFile; on failure returns false and
// says why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& problem);

// The output path that names standard output.
inline constexpr std::string_view kStandardOutput = "-";

// Writes all of bytes to standard output; on failure returns false and says
// why.
bool WriteStandardOutput(std::string_view bytes, std::string& problem);

// One file of an output made of several: its plain name (no folder part)
// and its contents.
struct OutputFile {
  std::string name;
  std::string bytes;
};

// Lands files in folder ("" for the working folder) whole or not at all:
// all are written into a temporary folder beside them, then renamed into
// place. If any step fails, the files already renamed are put back as they
// were (earlier files restored, new ones removed), the temporary folder is
// removed, and false is returned with the reason naming the first file.
// Asks for at least one file and names without '/'.
bool WriteFilesAtomically(const std::string& folder, const std::vector<OutputFile>& files,
                          std::string& problem);

}  // namespace quarn
