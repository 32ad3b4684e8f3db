#!/usr/bin/env python3
"""Writes zlecenia.txt and zlecenia-bledne.txt beside this script: a payroll
run as comma-separated transfer records in Windows-1250 with CR LF line
ends. Every byte of both is right; the second holds the four mistakes the
bank would refuse or pay wrongly: a mistyped account digit (line 1), two
account digits swapped (line 2), a wrong sort code (line 3) and an amount
written with a comma (line 4)."""
from pathlib import Path

PLATNIK = '10500015,0,"15105000159303642621299722","Tarmeko Sp. z o.o.|ul. Prosta 1|00-001 Warszawa"'


def zlecenie(kwota, rachunek, nazwa, bank, tytul="Wynagrodzenie za marzec 2024", klasa="51"):
    bank_platnika, zero, rachunek_platnika, nazwa_platnika = PLATNIK.split(",", 3)
    return ",".join(["110", "20240328", kwota, bank_platnika, zero, rachunek_platnika,
                     f'"{rachunek}"', nazwa_platnika, f'"{nazwa}"', "0", bank, f'"{tytul}"',
                     '""', '""', f'"{klasa}"'])


DOBRE = [
    ("325000", "78102052262664737828830059", "Łukasz Żółć|ul. Źródlana 5|58-100 Świdnica", "10205226"),
    ("410050", "73109010146123306697058715", "Zbigniew Zając|ul. Końcowa 12|00-950 Gęstwina", "10901014"),
    ("298000", "57114020040211072856722073", "Óla Ćwiek|ul. Leśna 9|00-001 Warszawa", "11402004"),
    ("502000", "20124050061339118786352864", "Grzegorz Brzęczyszczykiewicz|Chrząszczyżewoszyce 1", "12405006"),
    ("432150", "56116022025786576401270718", "Małgorzata Jaśkowiak|ul. Źdźbło 7|90-001 Łódź", "11602202"),
]
BLEDY = {
    0: ("78102052262664737828830059", "78102052262664737828830069"),
    1: ("73109010146123306697058715", "73109010141623306697058715"),
    2: (",11402004,", ",11402005,"),
    3: (",502000,", ",5020,00,"),
}

linie = [zlecenie(*z) for z in DOBRE]
linie.append(zlecenie("123000", "85175000129839958912255594", "Najem Biur S.A.|ul. Biurowa 3", "17500012",
                      "/VAT/230,00/IDC/5260001246|/INV/FV 12/2024/TXT/najem lokalu", "53"))
bledne = [l.replace(*BLEDY[i]) if i in BLEDY else l for i, l in enumerate(linie)]

tu = Path(__file__).resolve().parent
for nazwa, zawartosc in (("zlecenia.txt", linie), ("zlecenia-bledne.txt", bledne)):
    (tu / nazwa).write_bytes("".join(l + "\r\n" for l in zawartosc).encode("cp1250"))
