// Runs one command and prints its wall-clock time in seconds and its peak
// resident memory in KiB: "SECONDS KIB STATUS". Its standard output goes to
// a pipe that is read and thrown away here, as a pager or a script would
// read it (GNU grep notices /dev/null and stops at the first match), or to
// a file given with --out.
//
//   bench_czas [--out FILE] -- COMMAND [ARG...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::string out;
  int i = 1;
  for (; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--") == 0) {
      ++i;
      break;
    } else {
      break;
    }
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: bench_czas [--out FILE] -- COMMAND [ARG...]\n");
    return 2;
  }

  int pipefd[2] = {-1, -1};
  int outfd = -1;
  if (out.empty()) {
    if (::pipe(pipefd) != 0) return 2;
  } else {
    outfd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (outfd < 0) {
      std::perror(out.c_str());
      return 2;
    }
  }

  timespec t0{}, t1{};
  ::clock_gettime(CLOCK_MONOTONIC, &t0);
  const pid_t pid = ::fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    ::dup2(out.empty() ? pipefd[1] : outfd, STDOUT_FILENO);
    if (out.empty()) {
      ::close(pipefd[0]);
      ::close(pipefd[1]);
    }
    ::execvp(argv[i], argv + i);
    std::perror(argv[i]);
    ::_exit(127);
  }
  if (out.empty()) {
    ::close(pipefd[1]);
    static char sink[1 << 16];
    for (;;) {
      const ssize_t n = ::read(pipefd[0], sink, sizeof sink);
      if (n > 0) continue;
      if (n < 0 && errno == EINTR) continue;
      break;
    }
    ::close(pipefd[0]);
  }
  int status = 0;
  rusage ru{};
  while (::wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {
  }
  ::clock_gettime(CLOCK_MONOTONIC, &t1);
  if (outfd >= 0) ::close(outfd);
  const double s = static_cast<double>(t1.tv_sec - t0.tv_sec) +
                   static_cast<double>(t1.tv_nsec - t0.tv_nsec) / 1e9;
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf("%.6f %ld %d\n", s, ru.ru_maxrss, code);
  return 0;
}
