#include "writers.h"

#include <dlfcn.h>

#include <filesystem>
#include <string_view>
#include <system_error>

namespace quarn {

namespace {

const OutputWriters* Load(std::string& problem) {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    problem = "cannot find the folder of quarn-gen: " + error.message();
    return nullptr;
  }
  const std::string module = (executable.parent_path() / kWritersModule).string();
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    problem = "cannot load the plan and 3D writers: " + std::string(why ? why : module);
    return nullptr;
  }
  // Kept loaded to the end of the run.
  const auto entry = reinterpret_cast<WritersEntry>(dlsym(handle, kWritersEntry));
  if (entry == nullptr) {
    problem = "cannot load the plan and 3D writers: " + module + " has no " + kWritersEntry;
    return nullptr;
  }
  const OutputWriters* writers = entry();
  if (std::string_view(writers->build) != kWritersBuild) {
    problem = "cannot load the plan and 3D writers: " + module + " is from another build";
    return nullptr;
  }
  return writers;
}

}  // namespace

const OutputWriters* LoadOutputWriters(std::string& problem) {
  static std::string firstProblem;
  static const OutputWriters* const writers = Load(firstProblem);
  if (writers == nullptr) problem = firstProblem;
  return writers;
}

}  // namespace quarn
