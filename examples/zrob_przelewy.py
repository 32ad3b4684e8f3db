#!/usr/bin/env python3
"""Writes przelewy.txt beside this script: a short payroll list in
Windows-1250 with CR LF line ends. Most lines are clean and between them use
all eighteen Polish letters; five hold the faults users meet most often."""
from pathlib import Path

LINES = [
    "Lista płac za marzec 2024;Tarmeko Sp. z o.o.;Łódź",
    "1;Łukasz Żółć;ul. Źródlana 5, Świdnica;3 250,00 PLN",
    "2;ZBIGNIEW ZAJĄC;ul. KOŃCOWA 12, GĘSTWINA;4 100,50 PLN",
    "3;Óla Ćwiek;Śródmieście, ul. Leśna 9;2 980,00 PLN",
    "4;Grzegorz Brzęczyszczykiewicz;Chrząszczyżewoszyce 1;5 020,00 PLN",
    # A letter pasted from a UTF-8 text: two bytes where one belongs.
    b"5;Pawe\xc5\x82 Nowak;ul. Kwiatowa 8;2 100,00 PLN",
    # An en dash that a word processor made of a hyphen.
    "6;Anna Kowalska – premia;1 200,00 PLN",
    "",
    "7;Małgorzata Jaśkowiak;ul. Źdźbło 7;3 700,00 PLN",
    # A no-break space inside an amount.
    "8;Jan Zieliński;ul. Koń 3;2\u00a0500,00 PLN",
    # A tab in place of the field separator.
    "9;Ewa Lis\tul. Polna 1;1 800,00 PLN",
    "Razem: 26 650,50 PLN",
]

POLISH = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż"
clean = "".join(l for l in LINES if isinstance(l, str) and "\t" not in l)
missing = [c for c in POLISH if c not in clean]
assert not missing, missing

data = b"".join((l if isinstance(l, bytes) else l.encode("cp1250")) + b"\r\n" for l in LINES)
Path(__file__).with_name("przelewy.txt").write_bytes(data)
