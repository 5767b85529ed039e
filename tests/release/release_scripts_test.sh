#!/usr/bin/env bash
# release_scripts_test.sh SOURCE_DIR VANTEL_CLI: the parts of the release scripts that
# can fail quietly.
#   - scripts/checks: check counts a failed command, also the second of a function's
#     two, and no check in a script that uses it is followed by a command that the
#     shell would run outside it ("check NAME A && B" counts only A);
#   - scripts/release-manifest: a manifest with a fault is refused, and a doc is
#     shipped with CR LF line ends only when it is ASCII;
#   - the version that the programs carry is the manifest's.
set -uo pipefail
root=$1 cli=$2
problems=0
fail() {
  echo "FAILED: $*"
  problems=$((problems + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck source=scripts/checks
. "$root/scripts/checks"
second_fails() { true && false; }
first_fails() { false && true; }
check "passes" true >/dev/null
check "the second of two fails" second_fails >/dev/null
check "the first of two fails" first_fails >/dev/null
check "fails" false >/dev/null
[ "${failed[*]}" = "the second of two fails the first of two fails fails" ] ||
  fail "check counted: ${failed[*]}"

# A check's line, with its continuation lines, must hold no &&, ||, | or ; outside
# quotes and command substitutions.
for script in "$root"/scripts/*; do
  grep -q 'scripts/checks' "$script" || continue
  python3 - "$script" <<'PY' || fail "${script#"$root"/}: a check is followed by a command outside it"
import re, sys
text = open(sys.argv[1]).read().replace("\\\n", " ")
bad = False
for number, line in enumerate(text.split("\n"), 1):
    if not re.match(r"\s*check\s", line):
        continue
    # Walk the line, keeping track of quotes and $( ) nesting.
    stack, i, top = [], 0, []
    while i < len(line):
        c = line[i]
        state = stack[-1] if stack else None
        if state == "'":
            if c == "'": stack.pop()
        elif c == "\\":
            i += 1
        elif state == '"' and c == '"':
            stack.pop()
        elif line.startswith("$(", i) and state in (None, '"', "("):
            stack.append("("); i += 1
        elif state == "(" and c == ")":
            stack.pop()
        elif state != '"' and c in "'\"":
            stack.append(c)
        elif not stack:
            top.append(c)
        i += 1
    rest = "".join(top)
    if re.search(r"&&|\|\||\||;", rest.split("#")[0]):
        print(f"line {number}: {line.strip()}")
        bad = True
sys.exit(1 if bad else 0)
PY
done

# The manifest: faults are refused with the line they are on.
# shellcheck source=scripts/release-manifest
. "$root/scripts/release-manifest"
manifest() { mkdir -p "$work/m" && printf '%s\n' "$@" >"$work/m/release.txt"; }
refused() { # WHAT LINE...: the manifest of these lines is refused
  local what=$1
  shift
  manifest "$@"
  release_manifest_read "$work/m" 2>/dev/null && fail "a manifest with $what was read"
}
good=("version 1.2.3" "address https://vantel.example" "program Vantel.exe" "text Lng.txt resources/tools/Lng.txt")
manifest "${good[@]}"
release_manifest_read "$work/m" || fail "a good manifest was refused"
[ "$release_version|${release_programs[*]}|${release_files[*]}" = "1.2.3|Vantel.exe|Lng.txt" ] ||
  fail "a good manifest read as $release_version|${release_programs[*]}|${release_files[*]}"
refused "an unknown entry" "${good[@]}" "txt LLEGEIX.txt resources/help/LLEGEIX.txt"
refused "a file twice" "${good[@]}" "help Lng.txt resources/tools/Lng.txt"
refused "a text without its source" "${good[@]}" "text LLEGEIX.txt"
refused "a program with a source" "${good[@]}" "program Tools.exe build/Tools.exe"
refused "a name with a folder" "${good[@]}" "text help/LLEGEIX.txt resources/help/LLEGEIX.txt"
refused "a version of two numbers" "version 1.2" "${good[@]:1}"
refused "no version" "${good[@]:1}"

# A doc is shipped with CR LF line ends; one that is not ASCII text with LF line ends
# is refused rather than shipped for Notepad to garble.
mkdir -p "$work/m/out"
printf 'one\ntwo\n' >"$work/m/plain"
printf 'caf\303\251\n' >"$work/m/utf8"
printf 'one\r\n' >"$work/m/crlf"
printf 'one' >"$work/m/unended"
manifest "${good[@]}" "doc PLAIN.txt plain" "doc UTF8.txt utf8" "doc CRLF.txt crlf" "doc UNENDED.txt unended"
release_manifest_read "$work/m" || fail "a manifest with docs was refused"
release_put_file "$work/m" PLAIN.txt "$work/m/out" && [ "$(od -An -c "$work/m/out/PLAIN.txt" | tr -d ' \n')" = 'one\r\ntwo\r\n' ] ||
  fail "a doc was not shipped with CR LF line ends"
for name in UTF8.txt CRLF.txt UNENDED.txt; do
  release_put_file "$work/m" "$name" "$work/m/out" 2>/dev/null && fail "the doc $name was shipped"
done

# The manifest of the repository, and the version vantel-cli reports from it.
release_manifest_read "$root" || fail "release.txt was refused"
"$cli" --version | grep -qx "vantel-cli (Vantel) $release_version\\.0" ||
  fail "vantel-cli --version says $("$cli" --version), release.txt $release_version"

[ "$problems" -eq 0 ] && echo "release scripts: all checks passed"
exit $((problems > 0))
