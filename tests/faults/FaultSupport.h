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

extern "C" void faults_reset(void);

namespace faults {

class TempDir {
 public:
  explicit TempDir(const char* base = "/tmp") {
    std::string tmpl = std::string(base) + "/weryfikacja-faults-XXXXXX";
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

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
          "FAULT_FSYNC", "FAULT_CLOSE", "FAULT_RENAME", "FAULT_OPEN", "FAULT_VANISH_ON_OPEN"})
      ::unsetenv(v);
  }
};

struct ChildResult {
  bool ok = false;
  std::string message;         // what the child reported: empty on success
  long long peakRssBytes = 0;  // the child's peak resident memory
};

// Runs `work` in a child process and measures its peak memory. `work`
// returns an empty text on success, otherwise what went wrong.
inline ChildResult RunInChild(const std::function<std::string()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::close(fds[0]);
    std::string msg;
    try {
      msg = work();
    } catch (const std::exception& e) {
      msg = std::string("exception: ") + e.what();
    } catch (...) {
      msg = "unknown exception";
    }
    const char* p = msg.data();
    std::size_t left = msg.size();
    while (left > 0) {
      const ssize_t put = ::write(fds[1], p, left);
      if (put <= 0) break;
      p += put;
      left -= static_cast<std::size_t>(put);
    }
    ::_exit(msg.empty() ? 0 : 1);
  }
  ::close(fds[1]);
  ChildResult r;
  char buf[4096];
  for (ssize_t got; (got = ::read(fds[0], buf, sizeof buf)) > 0;)
    r.message.append(buf, static_cast<std::size_t>(got));
  ::close(fds[0]);
  int status = 0;
  struct rusage ru {};
  ::wait4(pid, &status, 0, &ru);
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!WIFEXITED(status))
    r.message += " (child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
  r.peakRssBytes = static_cast<long long>(ru.ru_maxrss) * 1024;
  return r;
}

}  // namespace faults
