#!/usr/bin/env python3
"""Compares the encoding diagnosis with the general-purpose detectors Debian
packages (uchardet, enca, ICU's detector) on generated Polish payroll lists
in every encoding, from one line with one Polish letter to thousands of
lines, on the real-text set of scripts/korpus-kodowan.py and on the shared
corpus of real files. Prints the Markdown tables of docs/ENCODINGS.md.

    scripts/porownaj-rozpoznawanie.py [CORPUS_DIR]

It installs the detectors (scripts/install-deps.sh compare) and builds its
helper in build/bench.
"""
import os
import runpy
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench")

# Names with one Polish letter each, the eighteen letters in turn.
ONE_LETTER = ["Dąbrowski", "Maćkowiak", "Węgrzyn", "Michał", "Bańka", "Wójcik", "Kośmider",
              "Kaźmierczak", "Rożek", "DĄBROWSKI", "MAĆKOWIAK", "WĘGRZYN", "MICHAŁ", "BAŃKA",
              "WÓJCIK", "ŚLIWA", "KAŹMIERCZAK", "ŻAK"]
DESCRIPTIONS = ["Wynagrodzenie za październik", "Zwrot kosztów podróży służbowej",
                "Ekwiwalent za urlop", "Dodatek świąteczny", "Składka związkowa",
                "Potrącenie ze źródła", "Ryczałt za dojazdy", "Nagroda jubileuszowa – Łódź",
                "Zażółć gęślą jaźń"]


def line(i):
    return "%d;%s;%s;%d,00;PL61109010140000071219812874" % (
        i + 1, ONE_LETTER[i % 18], DESCRIPTIONS[i % 9], 1000 + i * 37 % 9000)


def payroll(n):
    return "".join(line(i) + "\r\n" for i in range(n))


# name shown, Python codec, what a correct answer is called
ENCODINGS = [
    ("Windows-1250", "cp1250", "Windows-1250"),
    ("UTF-8", "utf-8", "UTF-8"),
    ("UTF-8 with BOM", "utf-8-sig", "UTF-8"),
    ("UTF-16LE with BOM", "utf-16", "UTF-16LE"),
    ("UTF-16LE", "utf-16-le", "UTF-16LE"),
    ("UTF-16BE", "utf-16-be", "UTF-16BE"),
    ("ISO-8859-2", "iso8859-2", "ISO-8859-2"),
    ("CP852", "cp852", "CP852"),
]
SIZES = [("1 line, 1 Polish letter", [("Przelew dla %s\r\n" % n) for n in ONE_LETTER]),
         ("1 line", [line(8) + "\r\n"]),
         ("10 lines", [payroll(10)]),
         ("100 lines", [payroll(100)]),
         ("5000 lines", [payroll(5000)])]


def encode(text, codec):
    if codec == "utf-16":  # little-endian with its mark, as Windows writes it
        return b"\xff\xfe" + text.encode("utf-16-le")
    if codec in ("iso8859-2", "cp852"):  # they have no en dash: a hyphen, as a program would write
        text = text.replace("\u2013", "-")
    return text.encode(codec)


def normalise(name):
    n = name.strip().upper()
    table = {
        "WINDOWS-1250": "Windows-1250", "CP1250": "Windows-1250", "-": "Windows-1250",
        "UTF-8": "UTF-8", "UTF-16LE": "UTF-16LE", "UCS-2LE": "UTF-16LE", "UTF-16BE": "UTF-16BE",
        "UCS-2BE": "UTF-16BE", "UTF-16": "UTF-16", "ISO-8859-2": "ISO-8859-2",
        "IBM852": "CP852", "ASCII": "ASCII", "CP852": "CP852", "WINDOWS-1250/UTF-8": "Windows-1250/UTF-8",
    }
    return table.get(n, name.strip() or "?")


def run(cmd):
    return subprocess.run(cmd, capture_output=True, text=True, errors="replace").stdout


def detect(paths):
    """path -> {detector: answer}"""
    answers = {p: {} for p in paths}
    for chunk in range(0, len(paths), 200):
        part = paths[chunk:chunk + 200]
        for out_line in run([os.path.join(BUILD, "bench", "bench_rozpoznaj")] + part).splitlines():
            path, ours, icu = out_line.split("\t")
            answers[path]["rule"] = normalise(ours)
            answers[path]["ICU"] = normalise(icu)
    for p in paths:
        with open(p, "rb") as f:
            head = f.read(2)
        u = normalise(run(["uchardet", p]))
        if u == "UTF-16":  # uchardet names no byte order; a program would take it from the mark
            u = {b"\xff\xfe": "UTF-16LE", b"\xfe\xff": "UTF-16BE"}.get(head, u)
        answers[p]["uchardet"] = u
        enca = run(["enca", "-L", "polish", "-i", p]).strip()
        if enca == "UCS-2":  # the long form says which order
            reversed_pairs = "reversed in pairs" in run(["enca", "-L", "polish", p])
            enca = "UTF-16LE" if reversed_pairs else "UTF-16BE"
        answers[p]["enca"] = normalise(enca if enca != "???" else "?")
    return answers


DETECTORS = ["rule", "uchardet", "enca", "ICU"]


def correct(answer, truth, cp1250_alike):
    if answer == truth:
        return True
    # A file whose bytes are those of the Windows-1250 text needs nothing.
    if cp1250_alike and answer in ("Windows-1250", "ASCII"):
        return True
    return cp1250_alike and truth.endswith("/UTF-8") and answer == "Windows-1250/UTF-8"


def korpus():
    """The real-text generator's functions (its file name has a hyphen, so it
    is run rather than imported)."""
    return runpy.run_path(os.path.join(ROOT, "scripts", "korpus-kodowan.py"))


def table(cases, answers, first_column):
    """Prints one row per group: right answers / files, then the wrong ones."""
    print("| %s | File | Files | " % first_column + " | ".join(DETECTORS) + " |")
    print("|---|---|---:|" + "---:|" * len(DETECTORS))
    groups = {}
    for enc_name, size_name, path, truth, alike in cases:
        g = groups.setdefault((enc_name, size_name), {"n": 0, **{d: 0 for d in DETECTORS}, "said": {d: {} for d in DETECTORS}})
        g["n"] += 1
        for d in DETECTORS:
            a = answers[path][d]
            g[d] += correct(a, truth, alike)
            if not correct(a, truth, alike):
                g["said"][d][a] = g["said"][d].get(a, 0) + 1
    totals = {d: 0 for d in DETECTORS}
    count = 0
    for (enc_name, size_name), g in groups.items():
        cells = []
        for d in DETECTORS:
            totals[d] += g[d]
            wrong = ", ".join("%s %d" % (k, v) for k, v in sorted(g["said"][d].items()))
            cells.append("%d/%d%s" % (g[d], g["n"], " (%s)" % wrong if wrong else ""))
        count += g["n"]
        print("| %s | %s | %d | %s |" % (enc_name, size_name, g["n"], " | ".join(cells)))
    print("| **all** | | %d | %s |" % (count, " | ".join("**%d/%d (%.1f %%)**" % (totals[d], count, 100.0 * totals[d] / count) for d in DETECTORS)))


def main():
    corpus = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(ROOT), "shared", "corpus")
    subprocess.run([os.path.join(ROOT, "scripts", "install-deps.sh"), "compare"], check=True)
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DWERYFIKACJA_BENCH=ON", "-DWERYFIKACJA_TESTS=OFF"], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD, "-j2", "--target", "bench_rozpoznaj"], check=True,
                   stdout=subprocess.DEVNULL)

    with tempfile.TemporaryDirectory() as tmp:
        cases = []  # (encoding shown, size shown, path, truth, cp1250 alike)
        for enc_name, codec, truth in ENCODINGS:
            for size_name, texts in SIZES:
                for k, text in enumerate(texts):
                    data = encode(text, codec)
                    path = os.path.join(tmp, "%s-%s-%d.txt" % (codec, size_name.replace(" ", "_").replace(",", ""), k))
                    with open(path, "wb") as f:
                        f.write(data)
                    cases.append((enc_name, size_name, path, truth, data == text.encode("cp1250")))
        # Windows-1250 from an office program: its only faults are typographic.
        for k, name in enumerate(ONE_LETTER):
            text = "Przelew dla %s \u2013 \u201epremia\u201d\u2026\r\n" % name
            path = os.path.join(tmp, "office-%d.txt" % k)
            with open(path, "wb") as f:
                f.write(text.encode("cp1250"))
            cases.append(("Windows-1250 with \u2013 \u201e \u201d \u2026", "1 line, 1 Polish letter", path,
                          "Windows-1250", False))
        for n in (10, 1000):
            text = payroll(n)
            path = os.path.join(tmp, "mixed-%d.txt" % n)
            with open(path, "wb") as f:
                f.write(text.encode("cp1250") + text.encode("utf-8"))
            cases.append(("Windows-1250 + UTF-8 joined", "%d + %d lines" % (n, n), path,
                          "Windows-1250/UTF-8", False))

        answers = detect([c[2] for c in cases])
        table(cases, answers, "Encoding")

    # Real text: every encoding, byte-order mark, line end and mix, grouped
    # by encoding, all sizes together.
    with tempfile.TemporaryDirectory() as tmp:
        real = korpus()["generuj"](tmp)
        cases = [(enc if "foreign" in enc else enc.split(",")[0],
                  "1 to 100 lines each" if "joined" in enc else "1 line" if "foreign" in enc
                  else "1 word to 200 lines", path, truth, alike)
                 for enc, size, path, truth, _, alike in real]
        answers = detect([c[2] for c in cases])
        print()
        table(cases, answers, "Real text in")

    print()
    truths = {"mbank_mt940_iph_iso8859-2.txt": "ISO-8859-2", "mbank_mt940_multi_iso8859-2.txt": "ISO-8859-2",
              "pekao_collect_report_cp1250.csv": "Windows-1250", "sberbank_hu_mt940_ufffd_crlf.sta": "UTF-8",
              "wolph_mbank_mt940_soh_etx.sta": "Windows-1250"}
    files = sorted(f for f in os.listdir(corpus) if f in truths)
    answers = detect([os.path.join(corpus, f) for f in files])
    print("| Corpus file | Written in | " + " | ".join(DETECTORS) + " |")
    print("|---|---|" + "---|" * len(DETECTORS))
    for f in files:
        a = answers[os.path.join(corpus, f)]
        print("| %s | %s | %s |" % (f, truths[f], " | ".join(a[d] for d in DETECTORS)))


if __name__ == "__main__":
    main()
