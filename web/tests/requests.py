#!/usr/bin/env python3
"""Prints, as JSON, the single requests for the page's "same digits" test:
[language, formula, n] for each run that scripts/compare-cli-builds makes up
(the rows of its tables become the request for their last n). Its generator is
used as it stands, so both tests cover the same formulas.

Usage: requests.py [SEED]
"""

import importlib.machinery
import importlib.util
import json
import os
import sys

sys.dont_write_bytecode = True

here = os.path.dirname(os.path.abspath(__file__))
path = os.path.join(here, "..", "..", "scripts", "compare-cli-builds")
loader = importlib.machinery.SourceFileLoader("compare_cli_builds", path)
spec = importlib.util.spec_from_loader(loader.name, loader)
compare = importlib.util.module_from_spec(spec)
loader.exec_module(compare)

runs, _ = compare.requests(int(sys.argv[1]) if len(sys.argv) > 1 else 9)
singles = []
for args in runs:
    language = args[args.index("--lang") + 1]
    formula, n = args[args.index("--") + 1:]
    singles.append([language, formula, n])
json.dump(singles, sys.stdout, ensure_ascii=False)
