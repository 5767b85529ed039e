#!/usr/bin/env python3
"""Writes the help texts of the web page as one JSON file: for each language
(ca, en, es) the two texts "sequences" (successions.txt) and "general"
(infogeneral.txt). The Catalan texts are make_help.py's own; the English and
Spanish ones are in help_en.py and help_es.py beside it, kept in step with them.

Usage: make_page_help.py OUTPUT.json
"""

import json
import sys

sys.dont_write_bytecode = True  # nothing written into the source folder

import help_en
import help_es
import make_help


def main():
    texts = {
        "ca": {"sequences": make_help.SUCCESSIONS, "general": make_help.INFOGENERAL},
        "en": {"sequences": help_en.SUCCESSIONS, "general": help_en.INFOGENERAL},
        "es": {"sequences": help_es.SUCCESSIONS, "general": help_es.INFOGENERAL},
    }
    for language in texts.values():
        for text in language.values():
            make_help.encode(text)  # the same width and character rules as the Windows texts
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        json.dump(texts, f, ensure_ascii=False, sort_keys=True)


if __name__ == "__main__":
    main()
