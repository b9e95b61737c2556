#!/usr/bin/env bash
# The README and docs/*.md say only what runs:
#  - every "$ " line of a ```console block runs, in the document's order, with the native
#    qorcfg first on PATH, in a scratch game folder whose Data/GameConfig.dat starts as the
#    default file; it must exit 0, or N where the line ends with "# exit N". Each document
#    gets a fresh folder. Lines that do not start with "$ " are the output shown.
#  - every command line of a ```sh block names a program that exists (a script of the
#    project, executable, or a tool on PATH); a `ctest --test-dir DIR -R NAME` line must
#    select at least one test of DIR;
#  - every path of the sources written in backquotes exists (globs allowed);
#  - CHANGELOG.md lists its releases newest first.
# Usage: test_docs.sh DIRECTORY_OF_QORCFG [DOCUMENT...]   (default: README.md docs/*.md)
set -uo pipefail
bin=$(cd "$1" && pwd)
shift
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
[ -x "$bin/qorcfg" ] || { echo "FAIL: no qorcfg in $bin" >&2; exit 1; }
if [ $# -gt 0 ]; then docs=("$@"); else docs=(README.md docs/*.md); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0 ran=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Prints "KIND<TAB>LINE<TAB>TEXT" for each line inside a fenced block of the given kinds.
fenced() {
  awk -v kinds="$2" 'BEGIN { split(kinds, k, ","); for (i in k) want[k[i]] = 1 }
       /^```/ { if (kind != "") { kind = ""; next } tag = substr($0, 4); if (tag in want) kind = tag; else kind = "-"; next }
       kind != "" && kind != "-" { print kind "\t" NR "\t" $0 }' "$1"
}

for doc in "${docs[@]}"; do
  [ -f "$doc" ] || { fail "$doc does not exist"; continue; }

  # The console examples, in a fresh game folder.
  game="$work/game-$(basename "$doc" .md)"
  mkdir -p "$game/Data"
  python3 tests/support/config_file.py "$game/Data/GameConfig.dat" || fail "cannot write the default file"
  while IFS=$'\t' read -r _ line text; do
    [[ $text == '$ '* ]] || continue
    command=${text#'$ '}
    expected=0
    if [[ $command =~ \#[[:space:]]*exit[[:space:]]+([0-9]+)[[:space:]]*$ ]]; then expected=${BASH_REMATCH[1]}; fi
    (cd "$game" && PATH="$bin:$PATH" timeout 30 bash -c "$command" </dev/null >"$work/out" 2>&1)
    status=$?
    ran=$((ran + 1))
    if [ "$status" != "$expected" ]; then
      fail "$doc:$line: '$command' exited $status, the document expects $expected"
      sed 's/^/    /' "$work/out" >&2
    fi
  done < <(fenced "$doc" console)

  # The developers' commands name programs that exist.
  while IFS=$'\t' read -r _ line text; do
    command=$(sed -e 's/[[:space:]]#.*//' -e 's/^#.*//' <<<"$text")
    [ -n "${command// /}" ] || continue
    read -r -a words <<<"$command"
    i=0
    while [[ ${words[i]:-} == *=* && ${words[i]} != -* ]]; do i=$((i + 1)); done
    program=${words[i]:-}
    if [[ $program == */* ]]; then
      [ -x "$program" ] || fail "$doc:$line: $program is not an executable of the project"
    else
      command -v "$program" >/dev/null || fail "$doc:$line: no program '$program'"
    fi
    if [ "$program" = ctest ] && [[ $command =~ --test-dir[[:space:]]+([^[:space:]]+) ]] && [ -d "${BASH_REMATCH[1]}" ]; then
      count=$(eval "$command -N" 2>/dev/null | sed -n 's/^Total Tests: //p')
      [ "${count:-0}" -gt 0 ] || fail "$doc:$line: '$command' selects no test"
    fi
  done < <(fenced "$doc" sh)

  # Paths of the sources in backquotes.
  while read -r path; do
    compgen -G "$path" >/dev/null || [ -e "$path" ] || fail "$doc: \`$path\` does not exist"
  done < <(grep -o '`[^` ]*`' "$doc" | tr -d '`' |
           grep -E '^(scripts|tests|docs|config|cli|ui|model|text|message|input|bench|fuzz|package|tools|cmake|\.ci)/|^[A-Z]+\.md$' |
           sed 's/[.,:;]$//' | sort -u)
done

# Releases newest first, each named once.
versions=$(sed -n 's/^## \[\([0-9][0-9.]*\)\].*/\1/p' CHANGELOG.md)
[ -n "$versions" ] || fail "CHANGELOG.md names no release"
[ "$versions" = "$(sort -rVu <<<"$versions")" ] || fail "CHANGELOG.md's releases are not newest first, each once: $(echo $versions)"

[ "$ran" -gt 0 ] || fail "no console line was run"
[ "$failures" = 0 ] || exit 1
echo "docs: $ran console lines ran as documented in ${#docs[@]} documents; commands, paths and the changelog hold"
