// Writes the benchmark's input files, the same bytes on every run:
//   gen sample FILE  about 200 MB: 1.2 million comma-separated transfer lines
//                    in Windows-1250 with CR LF, all eighteen Polish letters
//                    frequent, 2 % of the lines holding one faulty byte, an
//                    account number in every line, 1 % of them mistyped;
//   gen elixir FILE  about 200 MB of Elixir-O transfer records as a payroll
//                    holds them: CR LF, about 4 % of the bytes Polish letters,
//                    2 % of the lines with one faulty byte, digits in every
//                    line (amounts, dates, sort codes, both accounts), 1 % of
//                    the payees' accounts mistyped;
//   gen empty FILE   10 million empty lines (CR LF only);
//   gen short FILE   2 million clean lines of 12 bytes with their CR LF.
// The sample's faulty-line count is printed, so the caller can check it.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

// splitmix64: small, fast and fixed, so the files never change.
struct Rng {
  std::uint64_t s;
  std::uint64_t Next() {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
};

// The words below are written in UTF-8 for the reader; the files hold them
// in Windows-1250. Only the Polish letters need mapping.
std::string ToCp1250(std::string_view utf8) {
  struct Pair {
    const char* u;
    unsigned char b;
  };
  static const Pair kLetters[] = {
      {"Ą", 0xA5}, {"Ć", 0xC6}, {"Ę", 0xCA}, {"Ł", 0xA3}, {"Ń", 0xD1}, {"Ó", 0xD3},
      {"Ś", 0x8C}, {"Ź", 0x8F}, {"Ż", 0xAF}, {"ą", 0xB9}, {"ć", 0xE6}, {"ę", 0xEA},
      {"ł", 0xB3}, {"ń", 0xF1}, {"ó", 0xF3}, {"ś", 0x9C}, {"ź", 0x9F}, {"ż", 0xBF},
  };
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    bool found = false;
    for (const Pair& p : kLetters) {
      const std::size_t n = std::strlen(p.u);
      if (utf8.substr(i, n) == p.u) {
        out += static_cast<char>(p.b);
        i += n;
        found = true;
        break;
      }
    }
    if (!found) {
      std::fprintf(stderr, "gen: no Windows-1250 form for a word list byte\n");
      std::exit(2);
    }
  }
  return out;
}

std::vector<std::string> Cp1250List(std::initializer_list<const char*> words) {
  std::vector<std::string> v;
  for (const char* w : words) v.push_back(ToCp1250(w));
  return v;
}

// An account number as a list holds it: its sort code's check digit and
// its own check digits right, except in about one line in a hundred, where
// one digit was mistyped. Digits only, so the list looks as a bank exports.
std::string Rachunek(Rng& rng) {
  // Sort codes of the central bank's list, of big banks and cooperative
  // ones: a list pays into banks that exist, and a code no bank has would
  // be a finding in every line.
  static const char* const kBanki[] = {"10201127", "10301755", "10901623", "12403044",
                                       "12403190", "12404113", "15001546", "24901028",
                                       "27200007", "83490002", "83920004", "85811030",
                                       "86421171", "87171019", "87171080", "88231017"};
  char c[27] = {};
  std::memcpy(c + 2, kBanki[rng.Below(std::size(kBanki))], 8);
  for (int i = 10; i < 26; ++i) c[i] = static_cast<char>('0' + rng.Below(10));
  // The check digits make the digits after them, "PL" (25 21) and the
  // check digits leave 1 modulo 97.
  unsigned r = 0;
  for (int i = 2; i < 26; ++i) r = (r * 10 + static_cast<unsigned>(c[i] - '0')) % 97;
  for (unsigned d : {2u, 5u, 2u, 1u, 0u, 0u}) r = (r * 10 + d) % 97;
  const unsigned kontrolne = 98 - r;
  c[0] = static_cast<char>('0' + kontrolne / 10);
  c[1] = static_cast<char>('0' + kontrolne % 10);
  if (rng.Below(100) == 0) {
    const std::size_t i = rng.Below(26);
    c[i] = static_cast<char>('0' + (c[i] - '0' + 1 + rng.Below(9)) % 10);
  }
  return std::string(c, 26);
}

class Writer {
 public:
  explicit Writer(const char* path) : f_(std::fopen(path, "wb")) {
    if (!f_) {
      std::perror(path);
      std::exit(1);
    }
  }
  void Put(std::string_view s) {
    buf_.append(s);
    if (buf_.size() >= (1u << 20)) Flush();
  }
  void Close() {
    Flush();
    if (std::fclose(f_) != 0) {
      std::perror("gen: close");
      std::exit(1);
    }
  }

 private:
  void Flush() {
    if (std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size()) {
      std::perror("gen: write");
      std::exit(1);
    }
    buf_.clear();
  }
  std::FILE* f_;
  std::string buf_;
};

// The faulty bytes: en dash, tab, no-break space, the low and high
// typographic quotes, and letters of other languages.
constexpr unsigned char kFaulty[] = {0x96, 0x09, 0xA0, 0x84, 0x94, 0x93, 0xE4, 0xF6, 0xFC, 0xE9};

// Ends a generated line with CR LF and writes it; one line in 50, on
// average, first gets a faulty byte in a random place.
void PutLine(Writer& w, Rng& rng, std::string& line, long& faulty) {
  if (rng.Below(50) == 0) {
    line[rng.Below(line.size())] = static_cast<char>(kFaulty[rng.Below(sizeof kFaulty)]);
    ++faulty;
  }
  line += "\r\n";
  w.Put(line);
}

void Sample(const char* path) {
  const auto firstNames = Cp1250List(
      {"Łukasz", "Małgorzata", "Paweł", "Bożena", "Michał", "Jolanta", "Grzegorz", "Elżbieta",
       "Zdzisław", "Urszula", "Mikołaj", "Jędrzej", "Żaneta", "Ślęzak", "Bogusław", "Józef"});
  const auto lastNames =
      Cp1250List({"GRZEGÓŁKA", "WÓJCIK", "KOWALCZYK", "ŻUKOWSKI", "ŚLIWIŃSKA", "ŁĄCKA", "DĄBROWSKI",
                  "MAŃKOWSKI", "ŹRÓDLEWSKA", "ĆWIKLIŃSKI", "GĘBICKA", "NOWAK", "SZCZĘSNY", "PIĄTEK",
                  "DOŃSKA", "KOŹMIŃSKI"});
  const auto streets = Cp1250List({"ul. Świętokrzyska", "ul. Żółkiewskiego", "al. Niepodległości",
                                   "ul. Łąkowa", "ul. Źródlana", "ul. Pańska", "ul. Różana",
                                   "ul. Ćwiklińskiej", "ul. Wąska", "ul. Mickiewicza"});
  const auto cities = Cp1250List({"ŁÓDŹ", "GDAŃSK", "POZNAŃ", "KRAKÓW", "WROCŁAW", "ŚWINOUJŚCIE",
                                  "ZIELONA GÓRA", "BIAŁYSTOK", "CZĘSTOCHOWA", "KOŃSKIE", "ŻYWIEC",
                                  "ĆMIELÓW", "ŹRENICA", "RZESZÓW"});
  const auto titles =
      Cp1250List({"Wynagrodzenie za miesiąc", "Zapłata za fakturę", "Zwrot kosztów podróży",
                  "Należność za usługę", "Premia kwartalna łączna", "Składka członkowska",
                  "Opłata za dostęp", "Zaliczka na poczet zleceń"});

  Writer w(path);
  Rng rng{20240915};
  std::string line;
  long faulty = 0;
  char num[64];
  for (long i = 0; i < 1200000; ++i) {
    line.clear();
    std::snprintf(num, sizeof num, "%07ld,2024-%02d-%02d,", i + 1,
                  1 + static_cast<int>(rng.Below(12)), 1 + static_cast<int>(rng.Below(28)));
    line += num;
    line += "PL";
    line += Rachunek(rng);
    line += ',';
    line += firstNames[rng.Below(firstNames.size())];
    line += ' ';
    line += lastNames[rng.Below(lastNames.size())];
    line += ',';
    line += streets[rng.Below(streets.size())];
    std::snprintf(num, sizeof num, " %d/%d,%02d-%03d ", 1 + static_cast<int>(rng.Below(200)),
                  1 + static_cast<int>(rng.Below(90)), static_cast<int>(rng.Below(100)),
                  static_cast<int>(rng.Below(1000)));
    line += num;
    line += cities[rng.Below(cities.size())];
    line += ',';
    line += titles[rng.Below(titles.size())];
    std::snprintf(num, sizeof num, " %02d/2024 nr FV/%06d,%d.%02d,PLN,ZL%07d",
                  1 + static_cast<int>(rng.Below(12)), static_cast<int>(rng.Below(1000000)),
                  static_cast<int>(rng.Below(20000)), static_cast<int>(rng.Below(100)),
                  static_cast<int>(rng.Below(10000000)));
    line += num;
    PutLine(w, rng, line, faulty);
  }
  w.Close();
  std::printf("%ld\n", faulty);
}

void Elixir(const char* path) {
  const auto firstNames =
      Cp1250List({"Łukasz", "Małgorzata", "Paweł", "Bożena", "Michał", "Jolanta", "Grzegorz",
                  "Elżbieta", "Anna", "Tomasz", "Piotr", "Józef"});
  const auto lastNames =
      Cp1250List({"Wójcik", "Kowalczyk", "Żukowski", "Śliwińska", "Łącka", "Dąbrowski", "Nowak",
                  "Mańkowski", "Szczęsny", "Piątek", "Kaczmarek", "Zieliński"});
  const auto streets = Cp1250List({"ul. Świętokrzyska", "ul. Długa", "al. Niepodległości",
                                   "ul. Łąkowa", "ul. Polna", "ul. Kwiatowa", "ul. Leśna"});
  const auto cities =
      Cp1250List({"00-950 Warszawa", "90-001 Łódź", "80-001 Gdańsk", "60-001 Poznań",
                  "30-001 Kraków", "50-001 Wrocław", "15-001 Białystok"});
  const auto titles =
      Cp1250List({"Wynagrodzenie za październik", "Premia kwartalna - część źródłowa",
                  "Zwrot kosztów podróży służbowej", "Wynagrodzenie za grudzień, staż",
                  "Nagroda jubileuszowa z ZFŚS"});
  const std::string payer = ToCp1250("\"Tarmeko Sp. z o.o.|ul. Prosta 1|00-001 Łódź\"");

  Writer w(path);
  Rng rng{20241210};
  std::string line;
  long faulty = 0;
  char num[96];
  for (long i = 0; i < 1000000; ++i) {
    const std::string account = Rachunek(rng);
    std::snprintf(num, sizeof num,
                  "110,202412%02d,%ld,10500015,0,\"15105000159303642621299722\",\"%s\",",
                  1 + static_cast<int>(rng.Below(28)),
                  100000 + static_cast<long>(rng.Below(900000)), account.c_str());
    line = num;
    line += payer;
    line += ",\"";
    line += firstNames[rng.Below(firstNames.size())];
    line += ' ';
    line += lastNames[rng.Below(lastNames.size())];
    line += '|';
    line += streets[rng.Below(streets.size())];
    std::snprintf(num, sizeof num, " %d/%d|", 1 + static_cast<int>(rng.Below(200)),
                  1 + static_cast<int>(rng.Below(90)));
    line += num;
    line += cities[rng.Below(cities.size())];
    line += "\",0,";
    line += account.substr(2, 8);
    line += ",\"";
    line += titles[rng.Below(titles.size())];
    line += "\",\"\",\"\",\"51\"";
    PutLine(w, rng, line, faulty);
  }
  w.Close();
  std::printf("%ld\n", faulty);
}

void Empty(const char* path) {
  Writer w(path);
  std::string lines;
  for (int i = 0; i < 1000; ++i) lines += "\r\n";
  for (int i = 0; i < 10000; ++i) w.Put(lines);
  w.Close();
}

void Short(const char* path) {
  Writer w(path);
  Rng rng{12};
  std::string line = "0123456789\r\n";
  for (int i = 0; i < 2000000; ++i) {
    for (int k = 0; k < 10; ++k) line[k] = static_cast<char>('A' + rng.Below(26));
    w.Put(line);
  }
  w.Close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen sample|elixir|empty|short FILE\n");
    return 2;
  }
  const std::string_view what = argv[1];
  if (what == "sample")
    Sample(argv[2]);
  else if (what == "elixir")
    Elixir(argv[2]);
  else if (what == "empty")
    Empty(argv[2]);
  else if (what == "short")
    Short(argv[2]);
  else {
    std::fprintf(stderr, "gen: unknown file kind\n");
    return 2;
  }
  return 0;
}
