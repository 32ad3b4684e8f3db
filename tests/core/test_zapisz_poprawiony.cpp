#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TempDir.h"
#include "linie/SprawdzLinie.h"
#include "linie/WczytajPlik.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/KorektaZnaku.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"

using namespace Typy;
using namespace linie;
namespace fs = std::filesystem;

namespace {

void Zapisz(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(f.good()) << path;
}

std::string Odczytaj(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Temporary files the writer left behind in a folder.
int Pozostalosci(const std::string& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().starts_with(".~")) ++n;
  return n;
}

// "ok" or the error's code and message, so failures compare as one value.
std::string Wynik(const TStan& s) {
  try {
    raport::ZapiszPoprawionyPlik(s);
    return "ok";
  } catch (const platform::EInOutError& e) {
    return std::to_string(e.Code()) + ": " + e.what();
  }
}

// A state as the check command leaves it, from lines held in memory.
void Wczytaj(TStan& s, const std::string& nazwa, const std::vector<std::string>& linie) {
  s.NazwaPliku = nazwa;
  for (std::size_t i = 0; i < linie.size(); ++i) {
    s.LinieOrg.push_back(linie[i]);
    SprawdzLinie(s, static_cast<std::int32_t>(i), s.LinieOrg[i]);
  }
  s.WybranyBlad = s.Bledy.empty() ? -1 : 0;
}

// Another process holding a lock on the whole of a file until destroyed.
class Blokada {
 public:
  Blokada(const std::string& path, short type) {
    int ready[2], wake[2];
    if (::pipe(ready) != 0 || ::pipe(wake) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(wake[1]);
      const int fd = ::open(path.c_str(), O_RDWR);
      struct flock fl {};
      fl.l_type = type;
      fl.l_whence = SEEK_SET;
      const char ok = (fd >= 0 && ::fcntl(fd, F_SETLK, &fl) == 0) ? 'y' : 'n';
      if (::write(ready[1], &ok, 1) != 1) ::_exit(1);
      char c;
      while (::read(wake[0], &c, 1) > 0) {
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(wake[0]);
    wake_ = wake[1];
    char c = 'n';
    if (::read(ready[0], &c, 1) == 1) locked_ = c == 'y';
    ::close(ready[0]);
  }
  ~Blokada() {
    ::close(wake_);
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }
  bool Zalozona() const { return locked_; }

 private:
  pid_t pid_ = -1;
  int wake_ = -1;
  bool locked_ = false;
};

class ZapiszPoprawiony : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = temp_.path();
    zrodlo_ = dir_ + "/lista.txt";
    cel_ = dir_ + "/lista_nowy.txt";
  }

  // Reads a source file as the check command does.
  void WczytajPlikZrodlowy(TStan& s, const std::string& bytes) {
    Zapisz(zrodlo_, bytes);
    s.NazwaPliku = zrodlo_;
    WczytajPlik(s);
    s.WybranyBlad = s.Bledy.empty() ? -1 : 0;
  }

  test_support::TempDir temp_;
  std::string dir_, zrodlo_, cel_;
};

}  // namespace

TEST(NazwaPlikuPoprawionego, dropsOnlyTheLastExtensionOfTheLastPart) {
  const std::pair<const char*, const char*> nazwy[] = {
      {"lista.txt", "lista_nowy.txt"},
      {"LISTA.TXT", "LISTA_nowy.txt"},
      {"lista", "lista_nowy.txt"},
      {"lista.2022.txt", "lista.2022_nowy.txt"},
      {"lista.", "lista_nowy.txt"},
      {".txt", "_nowy.txt"},
      {"lista_nowy.txt", "lista_nowy_nowy.txt"},
      {"lista\\x.txt", "lista\\x_nowy.txt"},  // a backslash is a name's byte here
  };
  for (const char* folder : {"", "/", "dane/", "/home/ala/dane.2022/", "./a.b/c.d/"}) {
    for (const auto& [zrodlo, poprawiony] : nazwy)
      EXPECT_EQ(raport::NazwaPlikuPoprawionego(folder + std::string(zrodlo)),
                folder + std::string(poprawiony))
          << folder << zrodlo;
  }
}

TEST_F(ZapiszPoprawiony, writesEveryCorrectedLineWithCrLf) {
  TStan s;
  // LF line ends, an empty line, a last line without a line end.
  WczytajPlikZrodlowy(s,
                      "a\x01"
                      "b\n\nc\x02\nd\x9E\xB9");
  ASSERT_EQ(s.LinieOrg.size(), 4u);
  PokazWybranyZnak(s, 1, 1);
  ASSERT_EQ(ZatwierdzZnak(s, 'X'), TWynikZmiany::Zmieniono);

  EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), cel_);
  EXPECT_EQ(Odczytaj(cel_), "aXb\r\n\r\nc?\r\nd?\xB9\r\n");
  EXPECT_EQ(Odczytaj(zrodlo_),
            "a\x01"
            "b\n\nc\x02\nd\x9E\xB9");
  EXPECT_EQ(Pozostalosci(dir_), 0);

  // Read back, the file yields the corrected lines.
  TStan z;
  z.NazwaPliku = cel_;
  WczytajPlik(z);
  ASSERT_EQ(z.LinieOrg.size(), s.LinieNew.size());
  for (std::size_t i = 0; i < z.LinieOrg.size(); ++i) EXPECT_EQ(z.LinieOrg[i], s.LinieNew[i]);
}

TEST_F(ZapiszPoprawiony, crLfSourceAndStrayCr) {
  TStan s;
  WczytajPlikZrodlowy(s, "x\x01\r\ny\rz\r\n\r\n");
  EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), cel_);
  EXPECT_EQ(Odczytaj(cel_), "x?\r\nyz\r\n\r\n");
}

TEST_F(ZapiszPoprawiony, longLinesAreStreamedWhole) {
  // Runs far longer than the write buffer, with faulty bytes between them.
  std::string linia(3'000'000, 'a');
  linia[5] = '\x01';
  linia[1'500'000] = '\x02';
  linia.back() = '\x03';
  TStan s;
  Wczytaj(s, zrodlo_, {linia, "", linia});
  s.WybranaPozycja = 1'500'001;
  ASSERT_EQ(ZatwierdzZnak(s, 'Q'), TWynikZmiany::Zmieniono);

  std::string oczekiwany = linia;
  oczekiwany[5] = '?';
  oczekiwany[1'500'000] = 'Q';
  oczekiwany.back() = '?';
  std::string drugi = linia;
  drugi[5] = drugi[1'500'000] = drugi.back() = '?';
  ASSERT_EQ(raport::ZapiszPoprawionyPlik(s), cel_);
  EXPECT_TRUE(Odczytaj(cel_) == oczekiwany + "\r\n\r\n" + drugi + "\r\n");
}

TEST_F(ZapiszPoprawiony, noLinesWritesNothing) {
  TStan s;
  s.NazwaPliku = zrodlo_;
  EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), "");
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ZapiszPoprawiony, returnsTheAbsolutePath) {
  const fs::path przed = fs::current_path();
  fs::current_path(dir_);
  TStan s;
  Wczytaj(s, "lista.txt", {"a\x01"});
  const std::string path = raport::ZapiszPoprawionyPlik(s);
  fs::current_path(przed);
  EXPECT_EQ(path, cel_);
  EXPECT_EQ(Odczytaj(cel_), "a?\r\n");
}

TEST_F(ZapiszPoprawiony, repeatedSavesReplaceTheFileAndKeepItsMode) {
  TStan s;
  Wczytaj(s, zrodlo_, {"a\x01", "b"});
  ASSERT_EQ(Wynik(s), "ok");
  EXPECT_EQ(Odczytaj(cel_), "a?\r\nb\r\n");
  ASSERT_EQ(Wynik(s), "ok");
  EXPECT_EQ(Odczytaj(cel_), "a?\r\nb\r\n");

  ::chmod(cel_.c_str(), 0640);
  s.WybranaPozycja = 2;
  ASSERT_EQ(ZatwierdzZnak(s, 'e'), TWynikZmiany::Zmieniono);
  ASSERT_EQ(Wynik(s), "ok");
  EXPECT_EQ(Odczytaj(cel_), "ae\r\nb\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(cel_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST_F(ZapiszPoprawiony, readOnlyTargetIsRefusedEvenForAdministrator) {
  Zapisz(cel_, "OLD\r\n");
  ::chmod(cel_.c_str(), 0444);
  TStan s;
  Wczytaj(s, zrodlo_, {"a\x01"});
  EXPECT_EQ(Wynik(s), "5: File access denied");
  EXPECT_EQ(Odczytaj(cel_), "OLD\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(cel_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST_F(ZapiszPoprawiony, unprivilegedUserCannotReplaceWhatItMayNotWrite) {
  ASSERT_EQ(::chmod(dir_.c_str(), 0777), 0);
  const std::string cudzy = dir_ + "/cudzy.txt";
  const std::string cudzyCel = dir_ + "/cudzy_nowy.txt";
  Zapisz(cel_, "OLD\r\n");
  ::chmod(cel_.c_str(), 0444);
  Zapisz(cudzyCel, "ROOT\r\n");  // writable by its owner only
  ::chmod(cudzyCel.c_str(), 0644);

  TStan s, t;
  Wczytaj(s, zrodlo_, {"a\x01"});
  Wczytaj(t, cudzy, {"a\x01"});
  const std::string r =
      test_support::RunAsNobody([&] { return Wynik(s) + " | " + Wynik(t); }).Text();
  EXPECT_EQ(r, "5: File access denied | 5: File access denied");
  EXPECT_EQ(Odczytaj(cel_), "OLD\r\n");
  EXPECT_EQ(Odczytaj(cudzyCel), "ROOT\r\n");
  EXPECT_EQ(Pozostalosci(dir_), 0);

  // A folder the user may not write: nothing is made there.
  ASSERT_EQ(::chmod(dir_.c_str(), 0755), 0);
  TStan u;
  Wczytaj(u, dir_ + "/nowa.txt", {"a\x01"});
  const std::string r2 = test_support::RunAsNobody([&] { return Wynik(u); }).Text();
  EXPECT_EQ(r2, "5: File access denied");
  EXPECT_FALSE(fs::exists(dir_ + "/nowa_nowy.txt"));
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST_F(ZapiszPoprawiony, targetLockedByAnotherProcessIsRefused) {
  Zapisz(cel_, "OLD\r\n");
  TStan s;
  Wczytaj(s, zrodlo_, {"a\x01"});
  for (short type : {F_WRLCK, F_RDLCK}) {  // writing it, or not letting others write
    {
      Blokada b(cel_, type);
      ASSERT_TRUE(b.Zalozona());
      EXPECT_EQ(Wynik(s), "32: I/O error 32") << type;
      EXPECT_EQ(Odczytaj(cel_), "OLD\r\n");
      EXPECT_EQ(Pozostalosci(dir_), 0);
    }
  }
  EXPECT_EQ(Wynik(s), "ok");  // once the other lets go
}

TEST_F(ZapiszPoprawiony, sourceIsNeverWrittenThroughALink) {
  const std::string org = "a\x01\n";
  TStan s;
  WczytajPlikZrodlowy(s, org);

  // A symbolic link under the corrected name: the link goes, the source stays.
  ASSERT_EQ(::symlink(zrodlo_.c_str(), cel_.c_str()), 0);
  EXPECT_EQ(Wynik(s), "ok");
  EXPECT_EQ(Odczytaj(zrodlo_), org);
  EXPECT_EQ(Odczytaj(cel_), "a?\r\n");
  struct stat st {};
  ASSERT_EQ(::lstat(cel_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  // The file that replaced the link is an ordinary writable one.
  EXPECT_NE(st.st_mode & 0200, 0u);
  EXPECT_EQ(Wynik(s), "ok");

  // A hard link is the source itself.
  ASSERT_EQ(::unlink(cel_.c_str()), 0);
  ASSERT_EQ(::link(zrodlo_.c_str(), cel_.c_str()), 0);
  EXPECT_EQ(Wynik(s), "5: File access denied");
  EXPECT_EQ(Odczytaj(zrodlo_), org);
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST_F(ZapiszPoprawiony, targetThatCannotBeMadeFails) {
  TStan s;
  Wczytaj(s, dir_ + "/brak/lista.txt", {"a\x01"});
  EXPECT_EQ(Wynik(s), "2: File not found");

  // A source name the system takes whose corrected name it does not.
  TStan d;
  Wczytaj(d, dir_ + "/" + std::string(250, 'x') + ".txt", {"a\x01"});
  EXPECT_EQ(Wynik(d), "3: Invalid filename");

  TStan t;
  Wczytaj(t, zrodlo_, {"a\x01"});
  fs::create_directory(cel_);
  EXPECT_EQ(Wynik(t), "5: File access denied");
  EXPECT_TRUE(fs::is_directory(cel_));
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST_F(ZapiszPoprawiony, fullDiskKeepsTheOldFile) {
  // A 64 KiB file system mounted in a mount namespace of a child process,
  // so that nothing is left mounted whatever happens.
  TStan s;
  std::vector<std::string> linie(200, std::string(999, 'a') + '\x01');
  const std::string mnt = dir_ + "/mnt";
  fs::create_directory(mnt);
  Wczytaj(s, mnt + "/lista.txt", linie);

  const std::string r =
      test_support::RunInChild([&]() -> std::string {
        if (::unshare(CLONE_NEWNS) != 0) {
          // Without root, a user namespace of our own may still mount.
          const uid_t uid = ::geteuid();
          const gid_t gid = ::getegid();
          if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return std::string("skip: no mount namespace: ") + std::strerror(errno);
          Zapisz("/proc/self/setgroups", "deny");
          Zapisz("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
          Zapisz("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
          return std::string("skip: cannot mount: ") + std::strerror(errno);
        const std::string cel = mnt + "/lista_nowy.txt";
        Zapisz(cel, "OLD\r\n");
        const std::string wynik = Wynik(s);
        return wynik + " | " + Odczytaj(cel) + "| " + std::to_string(Pozostalosci(mnt));
      }).Text();
  if (r.starts_with("skip: ")) GTEST_SKIP() << r;
  EXPECT_EQ(r, "112: I/O error 112 | OLD\r\n| 0");
}

TEST_F(ZapiszPoprawiony, abandonedFileLeavesTheTargetAsItWas) {
  Zapisz(cel_, "OLD\r\n");
  {
    platform::AtomicOutputFile f(cel_, zrodlo_);
    f.Write("NEW", 3);
    EXPECT_EQ(Pozostalosci(dir_), 1);
  }
  EXPECT_EQ(Odczytaj(cel_), "OLD\r\n");
  EXPECT_EQ(Pozostalosci(dir_), 0);
}

TEST(KomunikatZapisano, pathInWindows1250BetweenTheTwoTexts) {
  const std::string poczatek = Typy::teksty::ZapisanoPoczatek.str();
  const std::string koniec = Typy::teksty::ZapisanoKoniec.str();
  ASSERT_EQ(poczatek.size(), 43u);
  ASSERT_EQ(koniec.size(), 39u);
  EXPECT_EQ(raport::KomunikatZapisano("/home/ala/lista_nowy.txt"),
            poczatek + "/home/ala/lista_nowy.txt" + koniec);
  // "zażółć" in UTF-8; a character the code page lacks and a stray byte.
  EXPECT_EQ(raport::KomunikatZapisano("/za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87/\xE6\x97\xA5\xFF.txt"),
            poczatek + "/za\xBF\xF3\xB3\xE6/??.txt" + koniec);
}
