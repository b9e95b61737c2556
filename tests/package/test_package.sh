#!/usr/bin/env bash
# The release zip built from a Windows tree: exactly the listed files, checksums that
# hold, READMEs and the changelog as Notepad shows them (UTF-8 with BOM, CRLF), the
# project's version in each program's version resource, and imports of Windows' own DLLs
# only. A version the changelog does not name gives no zip.
# Usage: test_package.sh WINDOWS_TREE PROJECT_VERSION
set -euo pipefail
tree=$(cd "$1" && pwd)
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! QOR_WIN_TREE="$tree" QOR_DIST_DIR="$work/dist" "$root/scripts/package" >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "FAIL: scripts/package failed" >&2
  exit 1
fi
zip="$work/dist/QORConfig-$version.zip"
[ "$(ls "$work/dist")" = "QORConfig-$version.zip" ] || fail "the dist folder holds: $(ls "$work/dist")"

# Every program the tree packages, then the four fixed files, in that order.
programs=$(sed -n 's/^program \([^ ]*\) .*/\1.exe/p' "$tree/package.txt")
grep -qx QORConfig.exe <<<"$programs" || fail "QORConfig.exe is not packaged"
expected=$(printf '%s\n' $programs README-en.txt README-ja.txt CHANGELOG.md SHA256SUMS)
actual=$(unzip -Z1 "$zip")
[ "$actual" = "$expected" ] || fail "zip holds [$(echo $actual)], expected [$(echo $expected)]"

unzip -q -d "$work/x" "$zip"
cd "$work/x"
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not match the files"
[ "$(awk '{print $2}' SHA256SUMS)" = "$(grep -vx SHA256SUMS <<<"$expected")" ] ||
  fail "SHA256SUMS lists: $(awk '{print $2}' SHA256SUMS | tr '\n' ' ')"
cmp -s QORConfig.exe "$tree/QORConfig.exe" || fail "the zipped QORConfig.exe is not the tree's"

for readme in README-en.txt README-ja.txt CHANGELOG.md; do
  [ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$readme has no UTF-8 byte-order mark"
  iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null 2>&1 || fail "$readme is not UTF-8"
  [ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "$readme does not end with CRLF"
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "$readme has a line without CR"
  [ "$readme" = CHANGELOG.md ] ||
    [ "$(head -n 1 "$readme" | tail -c +4 | tr -d '\r')" = "QORConfig $version" ] || fail "$readme's title"
  ! grep -q '@[A-Z]*@' "$readme" || fail "$readme keeps a placeholder"
done
[ "$(tail -c +4 CHANGELOG.md | tr -d '\r')" = "$(cat "$root/CHANGELOG.md")" ] || fail "the zipped CHANGELOG.md is not the project's"
grep -qF "## [$version]" CHANGELOG.md || fail "the changelog has no section for $version"

# The version resource as the exe holds it, decompiled: numbers and both string blocks.
IFS=. read -r major minor patch <<<"$version"
for exe in $programs; do
  rc=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$exe" | tr -d '\r')
  for line in "FILEVERSION $major, $minor, $patch, 0" "PRODUCTVERSION $major, $minor, $patch, 0" \
              'VALUE "Translation", 0x411, 1200, 0x409, 1200'; do
    grep -qxF " $line" <<<"$rc" || grep -qxF "    $line" <<<"$rc" || fail "$exe: no '$line'"
  done
  blocks=$(sed -n 's/^ *BLOCK "\(04[0-9a-f]*\)"$/\1/p' <<<"$rc" | tr '\n' ' ')
  [ "$blocks" = "041104b0 040904b0 " ] || fail "$exe: string blocks [$blocks]"
  for value in "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" '"ProductName", "QORConfig"' \
               "\"OriginalFilename\", \"$exe\""; do
    [ "$(grep -cF "VALUE $value" <<<"$rc")" = 2 ] || fail "$exe: $value is not in both blocks"
  done
  [ "$(grep -c 'VALUE "FileDescription", ' <<<"$rc")" = 2 ] || fail "$exe: a FileDescription is missing"
done
# QORConfig's descriptions; the Japanese one as its UTF-16 code units.
rc=$(x86_64-w64-mingw32-windres -J coff -O rc -i QORConfig.exe | tr -d '\r')
for description in 'L"QORConfig \x30b2\x30fc\x30e0\x8a2d\x5b9a\x30c4\x30fc\x30eb"' \
                   '"QORConfig game configuration tool"'; do
  grep -qF "VALUE \"FileDescription\", $description" <<<"$rc" || fail "QORConfig.exe: no description $description"
done

# The import check passes the programs and refuses a DLL that needs the mingw runtime.
"$root/scripts/check-imports" $programs >/dev/null || fail "a packaged program imports a DLL Windows does not ship"
runtime_dll=$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)
[ -f "$runtime_dll" ] || fail "no mingw runtime DLL to check against ($runtime_dll)"
if "$root/scripts/check-imports" "$runtime_dll" >/dev/null 2>&1; then
  fail "check-imports accepted $runtime_dll, which needs libgcc_s_seh-1.dll"
fi
# ... and a program that imports a function only newer Windows has.
printf '#include <windows.h>\nint main() { return static_cast<int>(GetDpiForWindow(nullptr)); }\n' >"$work/newer.cpp"
x86_64-w64-mingw32-g++-posix -static -o "$work/newer.exe" "$work/newer.cpp" -luser32 ||
  fail "cannot build a program that imports GetDpiForWindow"
if "$root/scripts/check-imports" "$work/newer.exe" >/dev/null 2>&1; then
  fail "check-imports accepted a program that imports GetDpiForWindow"
fi

# A version the changelog does not name gives no zip (refused before anything is built).
mkdir -p "$work/unnamed"
touch "$work/unnamed/build.ninja"
echo "CMAKE_BUILD_TYPE:STRING=Release" >"$work/unnamed/CMakeCache.txt"
printf 'version 0.0.1\nprogram QORConfig %s\n' "$tree/QORConfig.exe" >"$work/unnamed/package.txt"
if QOR_WIN_TREE="$work/unnamed" QOR_DIST_DIR="$work/unnamed-dist" "$root/scripts/package" >"$work/unnamed.log" 2>&1; then
  fail "scripts/package built version 0.0.1, which CHANGELOG.md does not name"
fi
grep -q "CHANGELOG.md has no section '## \[0.0.1\]'" "$work/unnamed.log" || fail "the refusal says: $(cat "$work/unnamed.log")"
[ ! -e "$work/unnamed-dist" ] || fail "a refused version left $(ls "$work/unnamed-dist")"

# A tree that is not Release gives no zip.
mkdir -p "$work/debug"
touch "$work/debug/build.ninja"
echo "CMAKE_BUILD_TYPE:STRING=Debug" >"$work/debug/CMakeCache.txt"
if QOR_WIN_TREE="$work/debug" QOR_DIST_DIR="$work/debug-dist" "$root/scripts/package" >/dev/null 2>&1; then
  fail "scripts/package accepted a Debug tree"
fi
[ ! -e "$work/debug-dist" ] || fail "a refused package left $(ls "$work/debug-dist")"

[ "$failures" = 0 ] || exit 1
echo "package: QORConfig-$version.zip holds $(echo $actual)"
