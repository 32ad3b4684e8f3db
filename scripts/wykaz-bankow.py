#!/usr/bin/env python3
"""The list of banks' sort codes, for the build and for whoever updates it.

  wykaz-bankow.py LISTA.json DATA WYJSCIE.cpp
      writes the compact C++ table the programs are built with: the sort
      codes sorted, each with its bank's name (Windows-1250), and the list's
      date (RRRR-MM-DD). Refuses a list with a code that is not 8 digits
      with a right check digit, or a code given twice.
  wykaz-bankow.py --z-nbp plewibnra.txt > LISTA.json
      makes a list of the programs' layout from the central bank's own
      file (tab-separated, CP852: the name in the 2nd column, the sort
      code in the 5th, the BIC in the 20th).
"""
import json
import sys

WAGI = (3, 9, 7, 1, 3, 9, 7)


def kod_poprawny(kod):
    if len(kod) != 8 or not kod.isdigit():
        return False
    suma = sum(w * int(c) for w, c in zip(WAGI, kod))
    return int(kod[7]) == (10 - suma % 10) % 10


def z_nbp(sciezka):
    banki = {}
    with open(sciezka, encoding="cp852", newline="") as f:
        for linia in f:
            pola = [p.strip() for p in linia.rstrip("\r\n").split("\t")]
            if len(pola) < 5 or not kod_poprawny(pola[4]):
                continue
            bic = pola[19].upper() if len(pola) > 19 else ""
            banki.setdefault((pola[1], bic), []).append(pola[4])
    wpisy = [{"country_code": "PL", "primary": True, "bic": bic, "name": nazwa,
              "short_name": nazwa, "bank_codes": kody}
             for (nazwa, bic), kody in banki.items()]
    json.dump({"entries": wpisy, "expand_from": "bank_codes", "expand_into": "bank_code"},
              sys.stdout, indent=2)


def tabela(lista, data, wyjscie):
    with open(lista, encoding="utf-8") as f:
        wpisy = json.load(f)["entries"]
    nazwy, numery, kody = [], {}, {}
    for w in wpisy:
        nazwa = w["name"].strip()
        if nazwa not in numery:
            numery[nazwa] = len(nazwy)
            nazwy.append(nazwa)
        for kod in w["bank_codes"]:
            if not kod_poprawny(kod):
                sys.exit(f"{lista}: numer rozliczeniowy {kod!r} nie jest poprawny")
            if kod in kody:
                sys.exit(f"{lista}: numer rozliczeniowy {kod} podany dwa razy")
            kody[kod] = numery[nazwa]
    if len(nazwy) >= 65536:
        sys.exit(f"{lista}: zbyt wiele nazw banków")

    def bajty(s):
        return "".join(f"\\{b:03o}" if b < 32 or b > 126 or chr(b) in '"\\?' else chr(b)
                       for b in s.encode("cp1250"))

    out = ["// Made by scripts/wykaz-bankow.py from " + lista.replace("\\", "/").split("/")[-1] +
           "; do not edit.",
           '#include "rachunki/WykazBankowDane.h"',
           "namespace rachunki::wykaz_dane {",
           f'const char kData[] = "{data}";',
           f"const std::size_t kIleKodow = {len(kody)};",
           "const std::uint32_t kKody[] = {"]
    posortowane = sorted(kody)
    for i in range(0, len(posortowane), 8):
        out.append("  " + ", ".join(str(int(k)) for k in posortowane[i:i + 8]) + ",")
    out.append("};")
    out.append("const std::uint16_t kBanki[] = {")
    for i in range(0, len(posortowane), 16):
        out.append("  " + ", ".join(str(kody[k]) for k in posortowane[i:i + 16]) + ",")
    out.append("};")
    out.append(f"const std::size_t kIleNazw = {len(nazwy)};")
    out.append("// Each name ends with a NUL.")
    out.append("const char kNazwy[] =")
    for n in nazwy:
        out.append(f'  "{bajty(n)}\\0"')
    out.append("  ;")
    out.append("}  // namespace rachunki::wykaz_dane")
    with open(wyjscie, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--z-nbp":
        z_nbp(sys.argv[2])
    elif len(sys.argv) == 4:
        tabela(*sys.argv[1:])
    else:
        sys.exit(__doc__)
