#include "Cp1250Text.h"

#include "kodowanie/Cp1250.h"

namespace ui {

QString ZCp1250(std::string_view bytes) {
  QString s;
  s.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes)
    s.append(QChar(kodowanie::cp1250::kToUnicode[static_cast<unsigned char>(c)]));
  return s;
}

std::string DoCp1250(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar ch : text) {
    const int b = kodowanie::cp1250::FromUnicode(ch.unicode());
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

}  // namespace ui
