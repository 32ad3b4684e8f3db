#include "messages/AppTitle.h"

#include <QChar>

#include "kodowanie/Cp1250.h"

namespace ui {

namespace {

std::string& Tytul() {
  static std::string tytul;
  return tytul;
}

char MalaLitera(char c) {
  const auto b = static_cast<unsigned char>(c);
  const char16_t u = kodowanie::cp1250::kToUnicode[b];
  const char16_t lower = QChar(u).toLower().unicode();
  if (lower == u) return c;
  const int nb = kodowanie::cp1250::FromUnicode(lower);
  return nb < 0 ? c : static_cast<char>(nb);
}

}  // namespace

std::string TytulZeSciezki(std::string_view sciezka) {
  const auto slash = sciezka.find_last_of('/');
  std::string_view nazwa = slash == std::string_view::npos ? sciezka : sciezka.substr(slash + 1);
  nazwa = nazwa.substr(0, nazwa.find('.'));
  std::string tytul(nazwa);
  for (std::size_t i = 1; i < tytul.size(); ++i) tytul[i] = MalaLitera(tytul[i]);
  return tytul;
}

void UstawTytulAplikacji(std::string tytul) {
  Tytul() = std::move(tytul);
}
const std::string& TytulAplikacji() {
  return Tytul();
}

}  // namespace ui
