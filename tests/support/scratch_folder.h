#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quarn::test {

// An empty temporary folder that is the working directory for the lifetime
// of the object, removed afterwards; named after the running test.
class ScratchFolder {
 public:
  ScratchFolder()
      : previous(std::filesystem::current_path()),
        folder(std::filesystem::temp_directory_path() /
               ("quarn_input_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
  }
  ~ScratchFolder() {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::filesystem::path previous;
  std::filesystem::path folder;
};

}  // namespace quarn::test
