#pragma once
// Runs the command-line checker as the program it is and collects what it
// printed, its exit status, and the files it wrote.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace cli_test {

struct TWynik {
  std::string out;
  std::string err;
  int kod = -1;
};

inline std::string Czytaj(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

inline void Zapisz(const std::string& p, const std::string& s) {
  std::ofstream(p, std::ios::binary) << s;
}

// Runs the program in folder `dir`; as root, `bezUprawnien` runs it as
// nobody so that file permissions apply.
inline TWynik Uruchom(const std::string& dir, std::vector<std::string> args,
                      bool bezUprawnien = false) {
  const std::string out = dir + "/.stdout", err = dir + "/.stderr";
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(120);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0) _exit(121);
    if (bezUprawnien && !test_support::DropToNobody().empty()) _exit(122);
    std::vector<char*> argv{const_cast<char*>(WERYFIKUJ_PLIK)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(WERYFIKUJ_PLIK, argv.data());
    _exit(123);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  TWynik w{Czytaj(out), Czytaj(err), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return w;
}

}  // namespace cli_test
