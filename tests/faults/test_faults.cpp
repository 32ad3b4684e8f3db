// Faults of the file layer, injected by the shim in faults.c: reads that
// fail half-way, a file that vanishes between the existence test and the
// open, writes that fail at the first byte, in the middle, at the flush to
// disk, at the close or at the rename, and a disk that is full. After each:
// the right error, nothing reported as done, the earlier corrected file or
// report as it was, and no temporary file left behind.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../fuzz/FuzzCheck.h"
#include "FaultSupport.h"
#include "diagnoza/PoprawKodowanie.h"
#include "linie/WczytajPlik.h"
#include "platform/InOutError.h"
#include "raport/UtworzLOG.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/Teksty.h"

using faults::Fault;
using faults::Names;
using faults::ReadFile;
using faults::TempDir;
using faults::WriteFile;

namespace {

// A list of `n` lines, every third with a tab, every seventh empty, in
// CR LF; line lengths vary so that cuts fall at all kinds of places.
std::string Lista(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    if (i % 7 == 6) {
      s += "\r\n";
      continue;
    }
    s += "Przelew " + std::to_string(i) + (i % 3 == 0 ? "\t" : " ") + std::string(i % 50, 'x') +
         "\r\n";
  }
  return s;
}

// The bytes up to the end of the last whole line before `cut`.
std::string WholeLinesBefore(const std::string& bytes, std::size_t cut) {
  const auto lf = bytes.rfind('\n', cut == 0 ? 0 : cut - 1);
  return lf == std::string::npos || cut == 0 ? std::string() : bytes.substr(0, lf + 1);
}

void ExpectError(const std::function<void()>& f, int code, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no error; expected \"" << message << "\"";
  } catch (const platform::EInOutError& e) {
    EXPECT_EQ(e.Code(), code);
    EXPECT_EQ(std::string(e.what()), message);
  }
}

class Reader : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "poprzedni.txt", "Stary\r\nplik\t\r\n");
    stan.NazwaPliku = dir / "poprzedni.txt";
    linie::WczytajPlik(stan);
    ASSERT_EQ(stan.LinieOrg.size(), 2u);
  }
  void ExpectPreviousFileKept() { fuzz::CheckState(stan, "Stary\r\nplik\t\r\n"); }

  TempDir dir;
  Typy::TStan stan;
};

}  // namespace

// A read that fails part-way keeps every line read before it, with its
// record and its corrected copy; the unfinished line is dropped. The cut
// falls once inside the first buffer and once after a whole buffer.
TEST_F(Reader, failingHalfWayKeepsTheLinesReadBefore) {
  const std::string bytes = Lista(60000);  // about 2.3 MB
  ASSERT_GT(bytes.size(), 3u << 19);
  WriteFile(dir / "lista.txt", bytes);
  for (const std::size_t cut : {std::size_t{1000}, std::size_t{(1u << 20) + 12345}}) {
    SCOPED_TRACE(cut);
    stan.Bledy.clear();
    stan.NazwaPliku = dir / "lista.txt";
    const int fdsBefore = faults::OpenDescriptors();
    {
      Fault f{{"FAULT_PATH", "lista.txt"}, {"FAULT_READ_AFTER_BYTES", std::to_string(cut)}};
      ExpectError([&] { linie::WczytajPlik(stan); }, EIO, "I/O error 5");
    }
    fuzz::CheckState(stan, WholeLinesBefore(bytes, cut));
    EXPECT_EQ(faults::OpenDescriptors(), fdsBefore) << "the file was left open";
  }
}

// A file that changes while it is read may have been read as a mix of two
// versions, whether it grew, shrank or was replaced: the window's reader
// and the automatic correction fail with the checker's sentence, and the
// correction saves nothing.
TEST_F(Reader, aFileChangedWhileReadFails) {
  const std::pair<const char*, std::function<void(const std::string&)>> czytelnicy[] = {
      {"window",
       [&](const std::string& p) {
         stan.Bledy.clear();
         stan.NazwaPliku = p;
         linie::WczytajPlik(stan);
       }},
      {"correction",
       [](const std::string& p) {
         diagnoza::TWynikPoprawy w;
         diagnoza::ZapiszPoprawke(p, kodowanie::TKodowanie::Iso8859_2, w);
       }},
  };
  for (const auto& [kto, czytaj] : czytelnicy) {
    for (const char* how : {"grow", "shrink", "replace"}) {
      SCOPED_TRACE(std::string(kto) + " " + how);
      WriteFile(dir / "lista.txt", Lista(60000));
      Fault f{
          {"FAULT_PATH", "lista.txt"}, {"FAULT_CHANGE_AFTER_BYTES", "1"}, {"FAULT_CHANGE", how}};
      ExpectError([&] { czytaj(dir / "lista.txt"); }, platform::io_codes::kFileChanged,
                  Typy::teksty::PlikZmienilSie.str());
      EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"lista.txt", "poprzedni.txt"}));
    }
  }
}

// The file is deleted after the existence test passed: "File not found",
// and the lists keep the file read before.
TEST_F(Reader, fileVanishingBeforeTheOpenIsNotFound) {
  WriteFile(dir / "znika.txt", "A\r\n");
  stan.NazwaPliku = dir / "znika.txt";
  {
    Fault f{{"FAULT_PATH", "znika.txt"}, {"FAULT_VANISH_ON_OPEN", "1"}};
    ExpectError([&] { linie::WczytajPlik(stan); }, 2, "File not found");
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "znika.txt"));
  ExpectPreviousFileKept();
}

// An open refused by the system changes no list; the table gives the text.
TEST_F(Reader, refusedOpenKeepsThePreviousFile) {
  WriteFile(dir / "nowy.txt", "A\tB\r\n");
  stan.NazwaPliku = dir / "nowy.txt";
  const struct {
    int err, code;
    const char* message;
  } cases[] = {{EMFILE, 4, "Too many open files"},
               {EACCES, 5, "File access denied"},
               {EIO, EIO, "I/O error 5"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Fault f{
        {"FAULT_PATH", "nowy.txt"}, {"FAULT_OPEN", "1"}, {"FAULT_ERRNO", std::to_string(c.err)}};
    ExpectError([&] { linie::WczytajPlik(stan); }, c.code, c.message);
    ExpectPreviousFileKept();
  }
}

// A close that fails comes after every line was stored and checked.
TEST_F(Reader, failingCloseComesAfterAllLines) {
  const std::string bytes = Lista(100);
  WriteFile(dir / "lista.txt", bytes);
  stan.Bledy.clear();
  stan.NazwaPliku = dir / "lista.txt";
  {
    Fault f{{"FAULT_PATH", "lista.txt"}, {"FAULT_CLOSE", "1"}};
    ExpectError([&] { linie::WczytajPlik(stan); }, EIO, "I/O error 5");
  }
  fuzz::CheckState(stan, bytes);
}

namespace {

class Writer : public ::testing::Test {
 protected:
  void SetUp() override { Prepare(dir.path()); }

  void Prepare(const std::string& folder) {
    zrodlo = folder + "/przelewy.txt";
    poprawiony = folder + "/przelewy_nowy.txt";
    bytes = Lista(40000);  // about 1.5 MB: the writer's buffer fills once
    WriteFile(zrodlo, bytes);
    WriteFile(poprawiony, kPoprzedni);
    stan.NazwaPliku = zrodlo;
    linie::WczytajPlik(stan);
    ASSERT_FALSE(stan.Bledy.empty());
    for (std::size_t i = 0; i < stan.LinieNew.size(); ++i) expected += stan.LinieNew[i] + "\r\n";
  }

  // The failed save left the earlier corrected file and nothing else; the
  // state did not change; a save without the fault then succeeds.
  void ExpectNothingLost(const std::string& folder) {
    EXPECT_EQ(ReadFile(poprawiony), kPoprzedni);
    EXPECT_EQ(Names(folder), (std::vector<std::string>{"przelewy.txt", "przelewy_nowy.txt"}));
    fuzz::CheckState(stan, bytes);
  }

  static constexpr const char* kPoprzedni = "POPRZEDNI\r\n";
  TempDir dir;
  Typy::TStan stan;
  std::string zrodlo, poprawiony, bytes, expected;
};

}  // namespace

TEST_F(Writer, failureAtAnyStepKeepsThePreviousCorrectedFile) {
  const struct {
    const char* what;
    std::vector<std::pair<const char*, std::string>> settings;
    int code;
    const char* message;
  } cases[] = {
      {"first byte, disk full",
       {{"FAULT_WRITE_AFTER_BYTES", "0"}, {"FAULT_ERRNO", "28"}},
       112,
       "I/O error 112"},
      {"in the middle", {{"FAULT_WRITE_AFTER_BYTES", "700000"}}, EIO, "I/O error 5"},
      {"after the first buffer",
       {{"FAULT_WRITE_AFTER_BYTES", std::to_string(1 << 20)}},
       EIO,
       "I/O error 5"},
      {"flush to disk", {{"FAULT_FSYNC", "1"}}, EIO, "I/O error 5"},
      {"close", {{"FAULT_CLOSE", "1"}}, EIO, "I/O error 5"},
      {"rename",
       {{"FAULT_RENAME", "1"}, {"FAULT_ERRNO", std::to_string(EACCES)}},
       5,
       "File access denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    {
      Fault f{{"FAULT_PATH", dir.path() + "/"}};
      for (const auto& [name, value] : c.settings) ::setenv(name, value.c_str(), 1);
      ExpectError([&] { raport::ZapiszPoprawionyPlik(stan); }, c.code, c.message);
    }
    ExpectNothingLost(dir.path());
  }
  // The program goes on: the same save without a fault writes the file.
  EXPECT_EQ(raport::ZapiszPoprawionyPlik(stan), poprawiony);
  EXPECT_EQ(ReadFile(poprawiony), expected);
}

// A real full disk: a small tmpfs when the test may mount one (CI runs as
// root), else the shim's ENOSPC. Either way the outcome is the same.
TEST_F(Writer, fullDiskKeepsThePreviousCorrectedFile) {
  TempDir mnt;
  bool mounted = false;
  // A mount namespace of its own, so nothing outside this test sees it.
  if (::unshare(CLONE_NEWNS) == 0) ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
  if (::mount("tmpfs", mnt.path().c_str(), "tmpfs", 0, "size=2m") == 0) {
    mounted = true;
  } else {
    std::cout << "tmpfs cannot be mounted here (" << std::strerror(errno)
              << "): the full disk is simulated by the fault shim\n";
    RecordProperty("full_disk", "fault shim");
  }
  // Source and previous file fill most of the 2 MB; the new copy cannot fit.
  stan.LinieOrg.clear();
  stan.LinieNew.clear();
  stan.Bledy.clear();
  expected.clear();
  Prepare(mnt.path());
  {
    std::optional<Fault> f;
    if (!mounted)
      f.emplace(std::initializer_list<std::pair<const char*, std::string>>{
          {"FAULT_PATH", mnt.path() + "/"},
          {"FAULT_WRITE_AFTER_BYTES", "4096"},
          {"FAULT_ERRNO", std::to_string(ENOSPC)}});
    ExpectError([&] { raport::ZapiszPoprawionyPlik(stan); }, 112, "I/O error 112");
  }
  ExpectNothingLost(mnt.path());
  if (mounted) {
    EXPECT_EQ(::umount2(mnt.path().c_str(), MNT_DETACH), 0);
  }
}

// The report is saved the same safe way: a failed write leaves the earlier
// report and no temporary file.
TEST(ReportSave, failingWriteKeepsThePreviousReport) {
  TempDir dir;
  const std::string log = dir / "raport.log";
  WriteFile(log, "STARY RAPORT\r\n");
  for (const char* step : {"FAULT_WRITE_AFTER_BYTES", "FAULT_FSYNC", "FAULT_RENAME"}) {
    SCOPED_TRACE(step);
    try {
      Fault f{{"FAULT_PATH", dir.path() + "/"}, {step, step[6] == 'W' ? "10" : "1"}};
      raport::ZapiszRaport(log, std::string(100000, 'r'));
      ADD_FAILURE() << "no error";
    } catch (const raport::EZapisRaportu& e) {
      EXPECT_STREQ(e.what(), "Failed to Save Stream");
    }
    EXPECT_EQ(ReadFile(log), "STARY RAPORT\r\n");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"raport.log"});
  }
}

#ifdef WERYFIKUJ_PLIK
namespace {

struct Wynik {
  int status = -1;
  std::string out, err;
};

// Runs the command-line checker with the shim preloaded and the given
// faults in its environment only.
Wynik RunChecker(std::vector<std::string> args, const std::vector<std::string>& faultEnv) {
  std::vector<std::string> env = faultEnv;
  env.push_back(std::string("LD_PRELOAD=") + FAULTS_PRELOAD);
  // A sanitized checker must accept the shim loaded before its runtime.
  env.push_back("ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=0");
  env.push_back("LANG=C.UTF-8");
  // Captured outside the folder under faults, so the faults miss them.
  const TempDir capture;
  const std::string out = capture / "stdout", err = capture / "stderr";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(o, 1);
    ::dup2(e, 2);
    std::vector<char*> argv{const_cast<char*>(WERYFIKUJ_PLIK)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& v : env) envp.push_back(v.data());
    envp.push_back(nullptr);
    ::execve(WERYFIKUJ_PLIK, argv.data(), envp.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  Wynik r;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

}  // namespace

// The same faults reach the user of the command-line checker as a message
// and exit status 2, never as "saved".
TEST(Checker, reportsFaultsAndKeepsEarlierFiles) {
  TempDir dir;
  const std::string zrodlo = dir / "przelewy.txt";
  WriteFile(zrodlo, Lista(3000));
  WriteFile(dir / "przelewy_nowy.txt", "POPRZEDNI\r\n");
  WriteFile(dir / "raport.log", "STARY RAPORT\r\n");
  const std::string inFolder = "FAULT_PATH=" + dir.path() + "/";

  Wynik r =
      RunChecker({"--fix", zrodlo}, {inFolder, "FAULT_WRITE_AFTER_BYTES=0", "FAULT_ERRNO=28"});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("przelewy_nowy.txt: I/O error 112.\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("zapisano"), std::string::npos) << r.out;

  r = RunChecker({"--report", dir / "raport.log", zrodlo}, {inFolder, "FAULT_FSYNC=1"});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("raport.log: Failed to Save Stream.\n"), std::string::npos) << r.err;

  r = RunChecker({zrodlo}, {inFolder + "przelewy.txt", "FAULT_READ_AFTER_BYTES=5000"});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_EQ(r.err, zrodlo + ": I/O error 5.\n");

  EXPECT_EQ(ReadFile(dir / "przelewy_nowy.txt"), "POPRZEDNI\r\n");
  EXPECT_EQ(ReadFile(dir / "raport.log"), "STARY RAPORT\r\n");
  EXPECT_EQ(Names(dir.path()),
            (std::vector<std::string>{"przelewy.txt", "przelewy_nowy.txt", "raport.log"}));
}

// A file that changes while the checker reads it may have been read as a
// mix of two versions: the checker says so, exits with 2 and saves nothing,
// whether the file grew, shrank or was replaced under it.
TEST(Checker, aFileChangedWhileReadSavesNothing) {
  for (const char* how : {"grow", "shrink", "replace"}) {
    SCOPED_TRACE(how);
    TempDir dir;
    const std::string zrodlo = dir / "przelewy.txt";
    WriteFile(zrodlo, Lista(60000) + "b\x96\x64ny\r\n");
    WriteFile(dir / "przelewy_nowy.txt", "POPRZEDNI\r\n");
    WriteFile(dir / "raport.log", "STARY RAPORT\r\n");
    const Wynik r = RunChecker(
        {"--fix", "--report", dir / "raport.log", zrodlo},
        {"FAULT_PATH=" + zrodlo, "FAULT_CHANGE_AFTER_BYTES=1", std::string("FAULT_CHANGE=") + how});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, zrodlo +
                         ": plik zmienił się w trakcie sprawdzania; niczego nie zapisano, "
                         "sprawdź go ponownie.\n");
    EXPECT_EQ(r.out.find("zapisano"), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile(dir / "przelewy_nowy.txt"), "POPRZEDNI\r\n");
    EXPECT_EQ(ReadFile(dir / "raport.log"), "STARY RAPORT\r\n");
    EXPECT_EQ(Names(dir.path()),
              (std::vector<std::string>{"przelewy.txt", "przelewy_nowy.txt", "raport.log"}));
  }
}
#endif
