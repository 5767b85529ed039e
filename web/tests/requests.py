#!/usr/bin/env python3
"""Prints, as JSON, the single requests for the page's "same digits" test:
[language, formula, n] for each run that scripts/compare-cli-builds makes up
(the rows of its tables become the request for their last n). Its generator is
used as it stands, so both tests cover the same formulas.

Usage: requests.py [SEED]
"""

import json
import os
import runpy
import sys

sys.dont_write_bytecode = True

here = os.path.dirname(os.path.abspath(__file__))
path = os.path.join(here, "..", "..", "scripts", "compare-cli-builds")
# The script read as a module of functions (its main part does not run).
requests = runpy.run_path(path, run_name="compare_cli_builds")["requests"]

runs, _ = requests(int(sys.argv[1]) if len(sys.argv) > 1 else 9)
singles = []
for args in runs:
    language = args[args.index("--lang") + 1]
    formula, n = args[args.index("--") + 1:]
    singles.append([language, formula, n])
json.dump(singles, sys.stdout, ensure_ascii=False)
