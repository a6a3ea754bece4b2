// Outputs land whole or not at all: one file or several, and every way a
// write can fail keeps the earlier files and leaves nothing else behind.

#include "io/atomicfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("quarn-io-" + std::to_string(getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~Folder() {
    fs::permissions(path_, fs::perms::owner_all);
    fs::remove_all(path_);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;

  const fs::path& Path() const { return path_; }
  void Put(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }
  // Every entry with its contents; folders show as "<folder>".
  Files Contents() const {
    Files files;
    for (const auto& entry : fs::directory_iterator(path_)) {
      std::ostringstream text;
      if (entry.is_directory()) {
        text << "<folder>";
      } else {
        text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
      }
      files[entry.path().filename().string()] = text.str();
    }
    return files;
  }

 private:
  fs::path path_;
};

enum class Failure { kMissingFolder, kReadOnlyFolder, kFullDisk, kTargetIsAFolder };

// Runs the write in a child process: a read-only folder stops root only
// when root gives up its rights first. Returns the problem ("" on success).
std::string WriteAsUnprivileged(const std::string& folder,
                                const std::vector<quarn::OutputFile>& out) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    std::string problem;
    const bool written = quarn::WriteFilesAtomically(folder, out, problem);
    if (written) problem.clear();
    if (write(pipeEnds[1], problem.data(), problem.size()) < 0) _exit(3);
    _exit(written ? 0 : 1);
  }
  close(pipeEnds[1]);
  std::string problem;
  char buffer[512];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) problem.append(buffer, n);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return problem;
}

struct FailureCase {
  const char* name;
  Failure failure;
  std::size_t fileCount;  // the output: the first fileCount of a.txt, b.txt, c.txt
  const char* problem;    // how the reason starts
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class AtomicOutputFailure : public testing::TestWithParam<FailureCase> {};

// a.txt and b.txt hold earlier versions; c.txt is new. Whatever fails,
// the folder ends exactly as it began.
TEST_P(AtomicOutputFailure, KeepsTheEarlierFilesAndLeavesNothingElse) {
  const FailureCase& c = GetParam();
  const Folder folder;
  folder.Put("a.txt", "old a");
  folder.Put("b.txt", "old b");
  std::vector<quarn::OutputFile> output = {
      {"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", std::string(4000, 'c')}};
  output.resize(c.fileCount);
  if (c.fileCount == 1) output[0].bytes = std::string(4000, 'a');
  std::string target = folder.Path().string();
  if (c.failure == Failure::kMissingFolder) target += "/missing";
  if (c.failure == Failure::kTargetIsAFolder) {
    fs::remove(folder.Path() / output.back().name);
    fs::create_directories(folder.Path() / output.back().name / "inside");
  }
  const Files before = folder.Contents();

  std::string problem;
  if (c.failure == Failure::kReadOnlyFolder) {
    fs::permissions(folder.Path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    problem = WriteAsUnprivileged(target, output);
    fs::permissions(folder.Path(), fs::perms::owner_all, fs::perm_options::add);
  } else {
    const quarn::test::FileSizeLimit limit(c.failure == Failure::kFullDisk ? 1000 : RLIM_INFINITY);
    EXPECT_FALSE(quarn::WriteFilesAtomically(target, output, problem));
  }
  EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
  EXPECT_EQ(std::count(problem.begin(), problem.end(), '\n'), 0) << problem;
  EXPECT_EQ(folder.Contents(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, AtomicOutputFailure,
    testing::Values(
        FailureCase{"OneFileMissingFolder", Failure::kMissingFolder, 1, "cannot create '"},
        FailureCase{"OneFileReadOnlyFolder", Failure::kReadOnlyFolder, 1, "cannot create '"},
        FailureCase{"OneFileFullDisk", Failure::kFullDisk, 1, "cannot write '"},
        FailureCase{"OneFileTargetIsAFolder", Failure::kTargetIsAFolder, 1, "cannot write '"},
        FailureCase{"ThreeFilesMissingFolder", Failure::kMissingFolder, 3, "cannot create '"},
        FailureCase{"ThreeFilesReadOnlyFolder", Failure::kReadOnlyFolder, 3, "cannot create '"},
        FailureCase{"ThreeFilesFullDisk", Failure::kFullDisk, 3, "cannot write '"},
        // The last rename fails after the first two landed: they are undone.
        FailureCase{"ThreeFilesLastTargetIsAFolder", Failure::kTargetIsAFolder, 3,
                    "cannot replace '"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(AtomicOutput, ReplacesEveryFileAndLeavesNoTemporary) {
  const Folder folder;
  folder.Put("a.txt", "old a");
  std::string problem;
  ASSERT_TRUE(quarn::WriteFilesAtomically(folder.Path().string(),
                                          {{"a.txt", "new a"}, {"b.txt", "new b"}}, problem))
      << problem;
  ASSERT_TRUE(quarn::WriteFileAtomically((folder.Path() / "c.txt").string(), "c", problem));
  EXPECT_EQ(folder.Contents(), (Files{{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "c"}}));
  struct stat status {};
  ASSERT_EQ(stat((folder.Path() / "b.txt").c_str(), &status), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << "new files follow the umask";
}

TEST(AtomicOutput, RefusesNamesThatAreNotPlain) {
  const Folder folder;
  std::string problem;
  for (const char* name : {"", "sub/a.txt", ".hidden"}) {
    EXPECT_FALSE(
        quarn::WriteFilesAtomically(folder.Path().string(), {{"a.txt", ""}, {name, ""}}, problem))
        << name;
  }
  EXPECT_EQ(folder.Contents(), Files{});
}

// The landing's system calls as the seam sees them, in order: "sync NAME"
// for a file's data (NAME its target's name), "sync the folder" for the
// output folder, "rename to NAME". The sync numbered failSync (from 1)
// fails with EIO.
struct CallLog {
  fs::path folder;
  std::vector<std::string> calls;
  int syncs = 0;
  int failSync = 0;
};
CallLog callLog;

int RecordingSync(int fd) {
  const fs::path path = fs::read_symlink("/proc/self/fd/" + std::to_string(fd));
  const std::string name = path.filename().string();
  callLog.calls.push_back(path == callLog.folder ? "sync the folder"
                                                 : "sync " + name.substr(0, name.find(".tmp-")));
  if (++callLog.syncs == callLog.failSync) {
    errno = EIO;
    return -1;
  }
  return fsync(fd);
}

int RecordingRename(const char* from, const char* to) {
  callLog.calls.push_back("rename to " + fs::path(to).filename().string());
  return std::rename(from, to);
}

// A file's data reaches the disk before its rename, and the folder after
// the renames; a failed sync at any point fails the write and leaves the
// folder as it was. (a.txt has an earlier version, c.txt is new.)
TEST(AtomicOutput, SyncsDataBeforeTheRenameAndTheFolderAfterIt) {
  const quarn::FileSystemCalls system = quarn::SetFileSystemCalls({&RecordingSync, &RecordingRename});
  const struct {
    std::vector<std::string> names;
    std::vector<std::string> calls;
  } cases[] = {
      {{"a.txt"}, {"sync a.txt", "rename to a.txt", "sync the folder"}},
      {{"c.txt"}, {"sync c.txt", "rename to c.txt", "sync the folder"}},
      {{"a.txt", "c.txt"},
       {"sync a.txt", "sync c.txt", "rename to a.txt", "rename to c.txt", "sync the folder"}},
  };
  for (const auto& c : cases) {
    std::vector<quarn::OutputFile> output;
    Files written = {{"a.txt", "old a"}};
    for (const std::string& name : c.names) {
      output.push_back({name, "new " + name});
      written[name] = "new " + name;
    }
    const int syncs = static_cast<int>(std::count_if(
        c.calls.begin(), c.calls.end(), [](const std::string& call) { return call.starts_with("sync"); }));
    for (int failSync = 0; failSync <= syncs; ++failSync) {
      SCOPED_TRACE(c.names.back() + ", failing sync " + std::to_string(failSync));
      const Folder folder;
      folder.Put("a.txt", "old a");
      const Files before = folder.Contents();
      callLog = {fs::canonical(folder.Path()), {}, 0, failSync};
      std::string problem;
      const bool landed = quarn::WriteFilesAtomically(folder.Path().string(), output, problem);
      if (failSync == 0) {
        EXPECT_TRUE(landed) << problem;
        EXPECT_EQ(callLog.calls, c.calls);
        EXPECT_EQ(folder.Contents(), written);
      } else {
        EXPECT_FALSE(landed);
        EXPECT_TRUE(problem.starts_with("cannot write '") && problem.ends_with("': Input/output error"))
            << problem;
        EXPECT_EQ(folder.Contents(), before);
      }
    }
  }
  quarn::SetFileSystemCalls(system);
}

// What a path names decides how it is written: a regular file (or nothing
// yet) is replaced whole, a link lands at its target and stays a link, a
// device or a FIFO is written through in place and stays what it was. Every
// path is made here, in a temporary folder.
enum class PathKind { kFifo, kLink, kDanglingLink, kCharDevice };

struct PathCase {
  const char* name;
  PathKind kind;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.name; }

class AtomicOutputPath : public testing::TestWithParam<PathCase> {};

TEST_P(AtomicOutputPath, WritesWhereThePathPoints) {
  const PathCase& c = GetParam();
  const Folder folder;
  const fs::path path = folder.Path() / "out.txt";
  const fs::path target = folder.Path() / "target.txt";
  std::string readBack;
  std::thread reader;
  switch (c.kind) {
    case PathKind::kFifo:
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      // Opening a FIFO for writing waits for its reader.
      reader = std::thread([&] {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        readBack = text.str();
      });
      break;
    case PathKind::kLink:
      folder.Put("target.txt", "old");
      fs::create_symlink("target.txt", path);
      break;
    case PathKind::kDanglingLink:
      fs::create_symlink(target, path);
      break;
    case PathKind::kCharDevice:
      // The null device's numbers, on a node of our own: never the real one.
      if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
      ASSERT_EQ(mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
      break;
  }
  const fs::file_type before = fs::symlink_status(path).type();

  std::string problem;
  EXPECT_TRUE(quarn::WriteFileAtomically(path.string(), "new", problem)) << problem;
  if (reader.joinable()) reader.join();

  EXPECT_EQ(fs::symlink_status(path).type(), before) << "the path stays what it was";
  Files expected;
  switch (c.kind) {
    case PathKind::kFifo:
      EXPECT_EQ(readBack, "new");
      break;
    case PathKind::kLink:
    case PathKind::kDanglingLink:
      EXPECT_EQ(fs::read_symlink(path).filename(), "target.txt");
      expected["target.txt"] = "new";
      break;
    case PathKind::kCharDevice:
      break;
  }
  fs::remove(path);  // reading a FIFO back would wait for a writer
  EXPECT_EQ(folder.Contents(), expected) << "no temporary left, nothing else written";
}

INSTANTIATE_TEST_SUITE_P(
    Paths, AtomicOutputPath,
    testing::Values(PathCase{"Fifo", PathKind::kFifo}, PathCase{"Link", PathKind::kLink},
                    PathCase{"DanglingLink", PathKind::kDanglingLink},
                    PathCase{"CharDevice", PathKind::kCharDevice}),
    [](const testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

}  // namespace
