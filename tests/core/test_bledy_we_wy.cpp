// The reader's input/output errors: which code and message each failure
// gives, and that a failure before the file is open leaves the lists of the
// previous file alone.
#include <grp.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include "ChildProcess.h"
#include "TestSupport.h"
#include "linie/CzytajKawalkami.h"
#include "linie/WczytajPlik.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"
#include "typy/TekstBledu.h"

using namespace Typy;
using namespace linie;
using namespace testing_core;
using V = std::vector<std::string>;

namespace {

// The file checked before the one that fails.
const std::string kPrevious = "stary\r\nb\x96\x64ny\r\n\r\n";
const V kPreviousLines = {"stary", "b\x96\x64ny", ""};
const V kPreviousCorrected = {"stary", "b?dny", ""};

struct Outcome {
  int code = 0;
  std::string message;
  bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
  return os << o.code << " \"" << o.message << "\"";
}

// Checks `path` after the previous file; returns the error raised, and
// checks that the lists were left as they were.
Outcome CheckAfterPrevious(const TempDir& dir, const std::string& path) {
  TStan s;
  Sprawdz(s, dir.Write("poprzedni.txt", kPrevious));
  Outcome o{0, "no error"};
  try {
    Sprawdz(s, path);
  } catch (const platform::EInOutError& e) {
    o = {e.Code(), e.what()};
  }
  EXPECT_EQ(LinesOf(s), kPreviousLines);
  EXPECT_EQ(CorrectedLinesOf(s), kPreviousCorrected);
  EXPECT_TRUE(s.Bledy.empty());
  EXPECT_EQ(s.NazwaPliku, path);
  ExpectInvariants(s);
  return o;
}

// As root, every file is readable: the child becomes nobody first, so that
// a permission failure can be seen. An ordinary user is tested as itself.
std::string RunAsOrdinaryUser(const std::function<std::string()>& f) {
  return test_support::RunAsNobody(f).Text();
}

// Another process that holds a lock on a file until it is let go.
class LockHolder {
 public:
  LockHolder(const std::string& path, int command, short type) {
    if (::pipe(ready_) != 0 || ::pipe(release_) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready_[0]);
      ::close(release_[1]);
      const int fd = ::open(path.c_str(), type == F_WRLCK ? O_RDWR : O_RDONLY);
      struct flock fl {};
      fl.l_type = type;
      fl.l_whence = SEEK_SET;
      const char ok = fd >= 0 && ::fcntl(fd, command, &fl) == 0 ? '1' : '0';
      if (::write(ready_[1], &ok, 1) != 1) ::_exit(1);
      char c;
      while (::read(release_[0], &c, 1) < 0 && errno == EINTR) {
      }
      ::_exit(0);
    }
    ::close(ready_[1]);
    ::close(release_[0]);
    char c = 0;
    if (pid_ > 0 && ::read(ready_[0], &c, 1) == 1) locked_ = c == '1';
  }
  ~LockHolder() { Release(); }
  bool locked() const { return locked_; }
  void Release() {
    if (pid_ <= 0) return;
    ::close(release_[1]);
    ::close(ready_[0]);
    int status;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }

 private:
  int ready_[2] = {-1, -1};
  int release_[2] = {-1, -1};
  pid_t pid_ = -1;
  bool locked_ = false;
};

// A watchdog: an operation that would hang ends the test process instead.
struct Watchdog {
  Watchdog() { ::alarm(60); }
  ~Watchdog() { ::alarm(0); }
};

}  // namespace

TEST(EInOutError, errnoMapsOntoTheTable) {
  struct Row {
    int err;
    int code;
    const char* message;
  };
  const Row rows[] = {
      {ENOENT, 2, "File not found"},      {ENAMETOOLONG, 3, "Invalid filename"},
      {EINVAL, 3, "Invalid filename"},    {ENOTDIR, 3, "Invalid filename"},
      {EMFILE, 4, "Too many open files"}, {ENFILE, 4, "Too many open files"},
      {EACCES, 5, "File access denied"},  {EPERM, 5, "File access denied"},
      {EISDIR, 5, "File access denied"},  {EROFS, 5, "File access denied"},
      {ENOSPC, 112, "I/O error 112"},     {EIO, 5, "I/O error 5"},
      {EAGAIN, 11, "I/O error 11"},       {ELOOP, 40, "I/O error 40"},
      {EBADF, 9, "I/O error 9"},          {E2BIG, 7, "I/O error 7"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.err);
    const platform::EInOutError e = platform::EInOutError::FromErrno(r.err);
    EXPECT_EQ(e.Code(), r.code);
    EXPECT_STREQ(e.what(), r.message);
    EXPECT_EQ(e.SystemErrno(), r.err);
  }
  const platform::EInOutError sharing = platform::EInOutError::SharingViolation();
  EXPECT_EQ(sharing.Code(), 32);
  EXPECT_STREQ(sharing.what(), "I/O error 32");
}

TEST(EInOutError, messagesByCode) {
  const std::pair<int, const char*> rows[] = {
      {2, "File not found"},
      {3, "Invalid filename"},
      {4, "Too many open files"},
      {5, "File access denied"},
      {100, "Read beyond end of file"},
      {101, "Disk full"},
      {106, "Invalid numeric input"},
      {32, "I/O error 32"},
      {112, "I/O error 112"},
      {1, "I/O error 1"},
      {0, "I/O error 0"},
  };
  for (const auto& [code, message] : rows) {
    EXPECT_EQ(platform::EInOutError::MessageFor(code), message);
    const platform::EInOutError e(code);
    EXPECT_EQ(e.Code(), code);
    EXPECT_STREQ(e.what(), message);
    EXPECT_EQ(e.SystemErrno(), 0);
  }
}

// Every path the reader must refuse before it touches the lists.
TEST(WczytajPlikErrors, refusedBeforeAnyListChanges) {
  Watchdog watchdog;
  TempDir dir;
  const std::string file = dir.Write("plik.txt", "A\r\n");
  ASSERT_EQ(::mkdir(dir.File("katalog").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
  std::filesystem::create_symlink(dir.File("katalog"), dir.File("link-do-katalogu"));
  std::filesystem::create_symlink(dir.File("brak"), dir.File("zerwany-link"));
  std::filesystem::create_symlink(dir.File("petla"), dir.File("petla"));

  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sockPath = dir.File("gniazdo");
  ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
  std::copy(sockPath.begin(), sockPath.end(), addr.sun_path);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

  const Outcome notFound{2, "File not found"}, denied{5, "File access denied"};
  const std::pair<std::string, Outcome> rows[] = {
      {dir.File("nie-ma.txt"), notFound},
      {dir.File("nie-ma/plik.txt"), notFound},
      {file + "/plik.txt", notFound},  // a file where a folder should be
      {"", notFound},
      {dir.File("zerwany-link"), notFound},
      {dir.File("katalog"), denied},
      {dir.File("link-do-katalogu"), denied},
      {dir.File("fifo"), denied},  // would block an open, or never end
      {"/dev/zero", denied},       // would never end
      {sockPath, denied},
      {dir.File(std::string(300, 'n')), {3, "Invalid filename"}},
      {dir.File("petla"), {ELOOP, "I/O error " + std::to_string(ELOOP)}},
  };
  for (const auto& [path, expected] : rows) {
    SCOPED_TRACE(path.substr(0, 80));
    EXPECT_EQ(CheckAfterPrevious(dir, path), expected);
  }
  ::close(sock);
}

TEST(WczytajPlikErrors, unreadableForAnOrdinaryUser) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string file = dir.Write("tajny.txt", "A\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0), 0);
  ASSERT_EQ(::mkdir(dir.File("zamkniety").c_str(), 0755), 0);
  const std::string hidden = dir.File("zamkniety/plik.txt");
  TempDir::WriteTo(hidden, "A\r\n");
  ASSERT_EQ(::chmod(dir.File("zamkniety").c_str(), 0), 0);

  for (const std::string& path : {file, hidden}) {
    SCOPED_TRACE(path);
    const std::string got = RunAsOrdinaryUser([&] {
      TStan s;
      s.LinieOrg.push_back("poprzedni");
      try {
        Sprawdz(s, path);
        return std::string("read");
      } catch (const platform::EInOutError& e) {
        const bool kept = s.LinieOrg.size() == 1 && s.LinieOrg[0] == "poprzedni";
        return std::to_string(e.Code()) + " " + e.what() + (kept ? "" : " (lists changed)");
      }
    });
    EXPECT_EQ(got, "5 File access denied");
  }
}

// Another program writing the file: the open fails with a sharing conflict,
// whichever kind of lock it took; once it lets go the file reads.
TEST(WczytajPlikErrors, writeLockHeldByAnotherProcess) {
  TempDir dir;
  const std::string file = dir.Write("zajety.txt", "A\r\nB\r\n");
  for (const int command : {F_OFD_SETLK, F_SETLK}) {
    SCOPED_TRACE(command == F_OFD_SETLK ? "open-file-description lock" : "process lock");
    LockHolder holder(file, command, F_WRLCK);
    ASSERT_TRUE(holder.locked());
    EXPECT_EQ(CheckAfterPrevious(dir, file), (Outcome{32, "I/O error 32"}));
    holder.Release();
    TStan s;
    Sprawdz(s, file);
    EXPECT_EQ(LinesOf(s), (V{"A", "B"}));
  }
}

TEST(WczytajPlikErrors, otherReadersDoNotStopTheRead) {
  TempDir dir;
  const std::string file = dir.Write("czytany.txt", "A\r\nB\r\n");
  LockHolder holder(file, F_OFD_SETLK, F_RDLCK);
  ASSERT_TRUE(holder.locked());
  TStan s;
  Sprawdz(s, file);
  EXPECT_EQ(LinesOf(s), (V{"A", "B"}));
}

// A file that opens but cannot be read: the lists were emptied by the open,
// and the error shows the system's own code, not the table's "access denied".
TEST(WczytajPlikErrors, readFailureAfterTheOpen) {
  TStan s;
  s.LinieOrg.push_back("poprzedni");
  try {
    Sprawdz(s, "/proc/self/mem");  // reading address 0 fails with EIO
    FAIL() << "no error";
  } catch (const platform::EInOutError& e) {
    EXPECT_EQ(e.Code(), EIO);
    EXPECT_STREQ(e.what(), "I/O error 5");
    EXPECT_EQ(e.SystemErrno(), EIO);
  }
  EXPECT_TRUE(s.LinieOrg.empty());
  EXPECT_TRUE(s.Bledy.empty());
  ExpectInvariants(s);
}

// A reader that finished must be able to tell whether it read one version
// of the file: every way the file can change under it is noticed.
TEST(InputFileChanges, everyKindOfChangeIsNoticed) {
  struct Case {
    const char* name;
    std::function<void(const std::string& path, const TempDir& dir)> change;
    bool noticed;
  };
  const auto append = [](const std::string& p, const char* s) {
    std::ofstream(p, std::ios::binary | std::ios::app) << s;
  };
  const std::vector<Case> cases = {
      {"untouched", [](const std::string&, const TempDir&) {}, false},
      {"read by another",
       [](const std::string& p, const TempDir&) {
         platform::InputFile other(p);
         char b[8];
         other.Read(b, sizeof b);
       },
       false},
      {"grown", [&](const std::string& p, const TempDir&) { append(p, "more\r\n"); }, true},
      {"shrunk", [](const std::string& p, const TempDir&) { ::truncate(p.c_str(), 3); }, true},
      {"same size, new content",
       [](const std::string& p, const TempDir&) {
         std::fstream(p, std::ios::binary | std::ios::in | std::ios::out) << "X";
         const timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
         ::utimensat(AT_FDCWD, p.c_str(), later, 0);
       },
       true},
      {"replaced",
       [](const std::string& p, const TempDir& d) {
         std::filesystem::rename(d.Write("nowy.txt", "line 1\r\n"), p);
       },
       true},
      {"deleted", [](const std::string& p, const TempDir&) { std::filesystem::remove(p); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.Write("lista.txt", "line 1\r\n");
    platform::InputFile f(path);
    char buf[64];
    EXPECT_EQ(f.Read(buf, sizeof buf), 8u);
    c.change(path, dir);
    EXPECT_EQ(f.ChangedSinceOpen(), c.noticed);
  }
}

// A large file is mapped piece by piece rather than read: the pieces hold
// the file's bytes, and a file that shrinks, grows or is replaced under
// them is a file that changed, never a program ended by the system. Bytes
// it lost read as zero to the end of the page it now ends in, then as the
// end-of-text mark.
TEST(MappedPieces, holdTheFileAndSurviveItsChanges) {
  const std::size_t piece = linie::kKawalekMapy;
  std::string content;
  for (std::size_t k = 0; content.size() < 2 * piece + 12345; ++k)
    content += "linia " + std::to_string(k) + "\r\n";
  struct Case {
    const char* name;
    // Done while the first piece is handed over, after `seen` of its bytes
    // were looked at.
    std::function<void(const std::string& path)> change;
    std::size_t seen;
    bool changed;
  };
  const std::vector<Case> cases = {
      {"untouched", [](const std::string&) {}, 0, false},
      {"shrunk into the next piece",
       [&](const std::string& p) { ::truncate(p.c_str(), static_cast<off_t>(piece + 100)); }, 0,
       true},
      {"shrunk into the piece being read",
       [](const std::string& p) { ::truncate(p.c_str(), 5000); }, 1000, true},
      {"grown", [](const std::string& p) { std::ofstream(p, std::ios::app) << "wiecej\r\n"; }, 0,
       true},
      {"replaced",
       [](const std::string& p) {
         const std::string other = p + ".nowy";
         std::ofstream(other) << "inny\r\n";
         std::filesystem::rename(other, p);
       },
       0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = dir.Write("duzy.txt", content);
    platform::InputFile f(path);
    std::string got;
    std::size_t pieces = 0, largest = 0;
    bool changed = false;
    try {
      linie::CzytajKawalkami(f, [&](const char* data, std::size_t n) {
        if (n == 0) return true;
        if (pieces++ == 0) {
          got.append(data, c.seen);
          c.change(path);
          got.append(data + c.seen, n - c.seen);
        } else {
          got.append(data, n);
        }
        largest = std::max(largest, n);
        return true;
      });
    } catch (const platform::EInOutError& e) {
      EXPECT_EQ(e.Code(), platform::io_codes::kFileChanged) << e.what();
      changed = true;
    }
    EXPECT_EQ(changed, c.changed);
    EXPECT_EQ(largest, piece) << "the file was read, not mapped";
    // What was handed over is the file as it was, up to where it lost bytes.
    const std::size_t kept = std::min(got.size(), content.size());
    std::size_t same = 0;
    while (same < kept && got[same] == content[same]) ++same;
    if (!c.changed) {
      EXPECT_EQ(got, content);
    }
    // The rest of the page the file now ends in reads as zero bytes.
    std::size_t i = same;
    while (i < got.size() && got[i] == '\0' && i / 4096 == same / 4096) ++i;
    for (; i < got.size(); ++i)
      ASSERT_EQ(got[i], '\x1A') << "byte " << i << " is neither the file's nor the mark";
  }
}

// The words both programs show for a failure: the error's own message, and
// for a lack of memory "Out of memory" rather than the library's name for it.
TEST(OpisBledu, namesALackOfMemoryInWords) {
  EXPECT_EQ(Typy::bledy::Opis(std::bad_alloc()), "Out of memory");
  EXPECT_EQ(Typy::bledy::Opis(platform::EInOutError(platform::io_codes::kFileNotFound)),
            "File not found");
  EXPECT_EQ(Typy::bledy::TekstBledu(Typy::bledy::Opis(std::bad_alloc())), "Out of memory.");
}
