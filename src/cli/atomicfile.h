#pragma once

#include <cstdint>
#include <fstream>
#include <string>

namespace quarn {

// An output file written under a temporary name beside its final path and
// renamed into place by Commit, so that the path never holds a half-written
// file: if the program fails or the object is destroyed uncommitted, the
// temporary file is removed and an earlier file at the path stays as it was.
// An interrupting signal (SIGINT, SIGTERM, SIGHUP) removes it too.
class AtomicFile {
 public:
  explicit AtomicFile(std::string path) : path_(std::move(path)) {}
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file; on failure returns false and says why.
  bool Open(std::string& problem);
  std::ostream& Stream() { return stream_; }
  // Flushes, closes and renames the temporary file to the path; on failure
  // returns false, says why and removes the temporary file.
  bool Commit(std::string& problem);

 private:
  void Discard();

  std::string path_;
  std::string temporary_;
  std::size_t pendingSlot_ = SIZE_MAX;
  std::ofstream stream_;
};

}  // namespace quarn
