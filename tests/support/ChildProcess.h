#pragma once
// Work done in a child process: for what must not touch the test's own
// process (dropped privileges, a mount namespace, memory measured on its
// own), with the child's words brought back whole.
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <stdexcept>
#include <string>

namespace test_support {

struct ChildResult {
  bool ok = false;             // the child ended normally and reported nothing
  bool ended = false;          // the child ended normally (by _exit)
  std::string message;         // what the child reported; empty on success
  long long peakRssBytes = 0;  // the child's peak resident memory

  // The report, with a note when the child did not end normally.
  std::string Text() const { return ended ? message : message + " [child failed]"; }
};

// Runs `work` in a child process. `work` returns an empty text on success,
// otherwise what it found; an exception it throws becomes its message.
// The child ends with _exit, so nothing it does reaches this process.
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
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) ::_exit(2);
      p += put;
      left -= static_cast<std::size_t>(put);
    }
    ::_exit(msg.empty() ? 0 : 1);
  }
  ::close(fds[1]);
  ChildResult r;
  char buf[4096];
  for (ssize_t got; (got = ::read(fds[0], buf, sizeof buf)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    r.message.append(buf, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  int status = 0;
  struct rusage ru {};
  while (::wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {
  }
  r.ended = WIFEXITED(status) && WEXITSTATUS(status) != 2;
  r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (WIFSIGNALED(status))
    r.message += " (child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
  r.peakRssBytes = static_cast<long long>(ru.ru_maxrss) * 1024;
  return r;
}

// Makes the calling process an ordinary user, so that file permissions
// apply to it: root becomes nobody, anyone else stays who they are. Meant
// for a child process. Returns an empty text on success.
inline std::string DropToNobody() {
  constexpr uid_t kNobody = 65534;
  if (::geteuid() != 0) return {};
  if (::setgroups(0, nullptr) != 0) return "setgroups failed";
  if (::setresgid(kNobody, kNobody, kNobody) != 0) return "setresgid failed";
  if (::setresuid(kNobody, kNobody, kNobody) != 0) return "setresuid failed";
  if (::geteuid() != kNobody || ::getegid() != kNobody) return "privileges not dropped";
  return {};
}

// RunInChild as an ordinary user.
inline ChildResult RunAsNobody(const std::function<std::string()>& work) {
  return RunInChild([&]() -> std::string {
    const std::string dropped = DropToNobody();
    return dropped.empty() ? work() : dropped;
  });
}

}  // namespace test_support
