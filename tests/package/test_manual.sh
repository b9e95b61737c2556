#!/usr/bin/env bash
# qorcfg's manual page as a reader opens it (man ./qorcfg.1): man shows it without a
# warning; it has its sections; COMMANDS holds one subsection per command of the table, in
# the order 'qorcfg --help' lists them, each starting with the usage line that
# 'qorcfg help COMMAND' prints; and its footer names the program's version.
# Usage: test_manual.sh QORCFG QORCFG.1
set -uo pipefail
qorcfg=$1
folder=$(cd "$(dirname "$2")" && pwd)
name=$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

(cd "$folder" && LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings "./$name") >"$work/page" 2>"$work/warnings" ||
  fail "man ./$name failed: $(cat "$work/warnings")"
[ ! -s "$work/warnings" ] || fail "man warns: $(cat "$work/warnings")"
for section in NAME SYNOPSIS DESCRIPTION COMMANDS 'EXIT STATUS' ADDRESSES FIELDS; do
  grep -qx "$section" "$work/page" || fail "the page has no section $section"
done

commands=$("$qorcfg" --help | awk '/^Commands:$/ {on = 1; next} on && /^$/ {exit} on {print $1}')
[ "$(wc -l <<<"$commands")" -ge 10 ] || fail "qorcfg --help lists only [$(echo $commands)]"
# Subsection headings stand three columns in, their first line seven.
headings=$(awk '/^COMMANDS$/ {on = 1; next} /^[A-Z]/ {on = 0} on && /^   [^ ]/ {print $1}' "$work/page")
[ "$headings" = "$commands" ] || fail "COMMANDS holds [$(echo $headings)], the table [$(echo $commands)]"
for command in $commands; do
  usage=$("$qorcfg" help "$command" | sed -n '1s/^Usage: //p')
  first=$(awk -v heading="   $command" 'found {print; exit} $0 == heading {found = 1}' "$work/page")
  [ "$first" = "       $usage" ] || fail "$command: the page says '$first' under its heading, its help '$usage'"
done
version=$("$qorcfg" --version)
[[ $(tail -n 1 "$work/page") == "$version "* ]] || fail "the footer '$(tail -n 1 "$work/page")' names no '$version'"

[ "$failures" = 0 ] || exit 1
echo "manual: $(wc -l <<<"$commands") commands, each under its heading with its usage line"
