#include "raport/ZapiszPoprawiony.h"

#include "kodowanie/Cp1250.h"
#include "platform/PlatformFile.h"
#include "typy/Teksty.h"

namespace raport {

std::string NazwaPlikuPoprawionego(const std::string& path) {
#ifdef _WIN32
  // Windows takes both slashes between folders (file dialogs may hand back
  // either), and a drive's colon ends a folder part too.
  const auto last = path.find_last_of(".\\/:");
#else
  const auto last = path.find_last_of("./");
#endif
  const bool extension = last != std::string::npos && path[last] == '.';
  return (extension ? path.substr(0, last) : path) + "_nowy.txt";
}

std::string ZapiszPoprawionyPlik(const Typy::TStan& stan) {
  if (stan.LinieNew.empty()) return {};
  const std::string target = NazwaPlikuPoprawionego(stan.NazwaPliku);
  platform::AtomicOutputFile out(target, stan.NazwaPliku);
  const auto write = [&out](const char* p, std::size_t n) { out.Write(p, n); };
  stan.LinieNew.WypiszWszystkie(write, "\r\n");
  out.Commit();
  return platform::AbsolutePath(target);
}

std::string KomunikatZapisano(const std::string& path) {
  return Typy::teksty::ZapisanoPoczatek.str() + kodowanie::cp1250::FromUtf8Lossy(path) +
         Typy::teksty::ZapisanoKoniec.str();
}

}  // namespace raport
