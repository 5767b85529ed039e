#!/usr/bin/env python3
"""The tables of vantel-cli --csv-semicolon read by Python's csv module with the
dialect of spreadsheets that use the decimal comma (";" between fields): the file
starts with a UTF-8 byte-order mark, every row has the fields of the --csv table,
each number reads back (its comma made a point again) as the same double as in
the --csv table, and it has the form such a spreadsheet reads as a number.

    semicolon_csv_test.py VANTEL_CLI
"""

import csv
import io
import math
import re
import subprocess
import sys

# Fixed and both scientific forms, both signs, negative zero, the smallest
# doubles, error texts with line breaks and accents, in each language.
REQUESTS = (
    ("ca", "1/n", "20"),
    ("es", "10^(n*3)/3", "40"),
    ("en", "-(10^(n*3))/7", "40"),
    ("ca", "1/(n-2)", "3"),
    ("es", "n!", "172"),
    ("ca", "(-1)^n*1e-310/n", "30"),
    ("en", "-0*n", "2"),
    ("ca", "5.4108613512279E-12*n", "3"),
)

# A number as a comma-decimal spreadsheet reads one: no point, no blank.
SPREADSHEET_NUMBER = re.compile(r"-?[0-9]+(,[0-9]+)?(E[+-][1-9][0-9]*)?")


def table(program, lang, formula, n, form):
    return subprocess.run([program, "--lang", lang, "--table", form, "--", formula, n],
                          stdout=subprocess.PIPE, check=True).stdout


def main():
    program = sys.argv[1]
    faults = []
    for lang, formula, n in REQUESTS:
        plain = list(csv.reader(io.StringIO(table(program, lang, formula, n, "--csv").decode("utf-8"), newline="")))
        raw = table(program, lang, formula, n, "--csv-semicolon")
        if not raw.startswith(b"\xef\xbb\xbf"):
            faults.append("%s: no byte-order mark" % formula)
        text = raw.decode("utf-8-sig")
        rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=";"))
        if len(rows) != len(plain) or rows[0] != ["k", "a_k", "S_k", "P_k"]:
            faults.append("%s: %d rows, header %r" % (formula, len(rows), rows[:1]))
            continue
        for row, expected in zip(rows, plain):
            for got, want in zip(row, expected):
                try:
                    value = float(want)
                except ValueError:  # a result text
                    if got != want:
                        faults.append("%s: %r for %r" % (formula, got, want))
                    continue
                back = float(got.replace(",", "."))
                same = back == value and math.copysign(1, back) == math.copysign(1, value)
                if not same or not SPREADSHEET_NUMBER.fullmatch(got):
                    faults.append("%s: %r for %r" % (formula, got, want))
    for fault in faults[:20]:
        print(fault)
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
