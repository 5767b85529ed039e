"""scripts/check-structure on small source trees made for each finding it names:
what it must report, and what it must let pass."""

import os
import runpy
import sys
import tempfile
import types
import unittest

SCRIPT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../scripts/check-structure")
# The script's functions, without running its main part.
check_structure = types.SimpleNamespace(**runpy.run_path(SCRIPT, run_name="check_structure"))


def function_of(name, lines, head="int {}(int a, int b)"):
    """A function whose "{" and "}" lines span the given number of lines."""
    body = ["  a += b;  // {"] * (lines - 2)
    return "\n".join([head.format(name) + " {"] + body + ["}"]) + "\n"


class CheckStructure(unittest.TestCase):
    def findings(self, files, opening_comments=False):
        """What the check finds in a tree of these files (the findings of .cpp files
        that open with no comment only when asked for)."""
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        for path, text in files.items():
            full = os.path.join(folder.name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        found = check_structure.check(folder.name)
        return sorted(f for f in found if opening_comments or "opens with no comment" not in f)

    def test_includes_loops_test_headers_and_faces(self):
        findings = self.findings({
            "lib/include/lib/face.h": '#include "lib/inner.h"\n',
            "lib/face.cpp": '#include "lib/face.h"\n',
            "lib/inner.h": '#include "lib/other.h"\n',
            "lib/other.h": "",
            "lib/other.cpp": '#include "lib/other.h"\n#include "lib/face.h"\n',
            "lib/testing.h": "",
            "lib/uses_testing.cpp": '#include "lib/testing.h"\n',
            "app/good.cpp": '#include "lib/face.h"\n#include <vector>\n#include "missing/elsewhere.h"\n',
            "app/past_face.cpp": '#include "lib/inner.h"\n',
            "app/test_header.cpp": '#include "tests/helper.h"\n',
            "tests/helper.h": '#include "lib/inner.h"\n',
            "tests/long_test.cpp": function_of("Long", 100),
            "portable/win.cpp": "#ifdef _WIN32\n#include <windows.h>\n#endif\n#include <string>\n",
            "app/win.cpp": "#include <windows.h>\n",
        })
        self.assertEqual(findings, [
            'app/past_face.cpp: includes "lib/inner.h", which lib/ keeps to itself (its face is lib/include/lib/)',
            'app/test_header.cpp: includes the test-only header "tests/helper.h"',
            "lib/face: units in a loop: lib/face -> lib/inner -> lib/other -> lib/face",
            'lib/uses_testing.cpp: includes the test-only header "lib/testing.h"',
            "portable/win.cpp: includes the Windows header <windows.h> in portable code",
        ])

    def test_each_cpp_file_opens_with_a_comment(self):
        findings = self.findings({
            "a/said.cpp": "// What this file holds.\n#include <vector>\n",
            "a/silent.cpp": "#include <vector>\n// A comment too late.\n",
            "a/block.cpp": "/* Not the one-line kind. */\n",
            "a/header.h": "#pragma once\n",
            "tests/silent_test.cpp": "int x;\n",
        }, opening_comments=True)
        self.assertEqual(findings, [
            "a/block.cpp: opens with no comment saying what it holds",
            "a/silent.cpp: opens with no comment saying what it holds",
        ])

    def test_long_functions_and_files(self):
        findings = self.findings({
            "a/limits.cpp": function_of("Sixty", 60) + function_of("SixtyOne", 61),
            # Braces in texts, characters and comments, member initialisers with
            # braces, and members defined inside nested classes and namespaces.
            "a/shapes.cpp": "\n".join([
                'const char* kText = "{{{";',
                "const char kBrace = '{';",
                "/* { */",
                "namespace n {",
                "struct Outer {",
                "  struct Inner {",
                "    int x{1};",
                "    Inner() : x{2} {}",
                function_of("Member", 62, "    int {}() const"),
                "  };",
                "};",
                "}  // namespace n",
                "const int kTable[] = {",
                "    1, 2};",
                "",
            ]),
            "a/long_file.h": "\n" * 451,
            "a/full_file.h": "\n" * 450,
        })
        self.assertEqual(findings, [
            "a/limits.cpp:61: function SixtyOne: 61 lines (at most 60)",
            "a/long_file.h: file: 451 lines (at most 450)",
            "a/shapes.cpp:9: function Member: 62 lines (at most 60)",
        ])

    def test_allowances_are_named_by_file_and_function(self):
        self.assertEqual(check_structure.key_of("a/b.cpp:12: function F: 70 lines (at most 60)"), "a/b.cpp: function F")
        self.assertEqual(check_structure.key_of("a/b.cpp: file: 500 lines (at most 450)"), "a/b.cpp: file")
        self.assertEqual(check_structure.key_of("a/b: units in a loop: a/b -> a/c -> a/b"), "a/b: loop")


if __name__ == "__main__":
    unittest.main()
