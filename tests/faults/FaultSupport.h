#pragma once
// Helpers shared by the fault and hostile-input tests: a private folder,
// whole-file reads and writes, the fault shim's switches, and a child
// process whose peak memory is measured.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "TempDir.h"

extern "C" void faults_reset(void);

namespace faults {

using test_support::TempDir;

inline std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f.flush()) throw std::runtime_error("cannot write " + path);
}

inline std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline int OpenDescriptors() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// Switches the fault shim on for the life of the object. Every FAULT_
// variable is cleared again afterwards, so no fault leaks into the checks
// that follow.
class Fault {
 public:
  Fault(std::initializer_list<std::pair<const char*, std::string>> settings) {
    Clear();
    for (const auto& [name, value] : settings) ::setenv(name, value.c_str(), 1);
    faults_reset();
  }
  ~Fault() { Clear(); }
  Fault(const Fault&) = delete;
  Fault& operator=(const Fault&) = delete;

  static void Clear() {
    for (const char* v :
         {"FAULT_PATH", "FAULT_ERRNO", "FAULT_READ_AFTER_BYTES", "FAULT_WRITE_AFTER_BYTES",
          "FAULT_FSYNC", "FAULT_CLOSE", "FAULT_RENAME", "FAULT_OPEN", "FAULT_VANISH_ON_OPEN",
          "FAULT_CHANGE_AFTER_BYTES", "FAULT_CHANGE"})
      ::unsetenv(v);
  }
};

using test_support::ChildResult;
using test_support::RunInChild;

}  // namespace faults
