#!/usr/bin/env bash
# The two release archives built from a Windows tree and the native tree: a release where
# the changelog dates the version's section, else a snapshot, named so.
#  - the zip: exactly the listed files, checksums that hold, the READMEs, the changelog
#    and qorcfg.md as Notepad shows them (UTF-8 with BOM, CRLF), the man page, the
#    project's version in each program's version resource, and imports of Windows' own
#    DLLs only;
#  - the tarball: one folder with exactly the listed files, checksums that hold, and a
#    qorcfg that is statically linked, prints the version, opens no file but the game's
#    (traced) and runs in an empty root with an empty environment (when run as root).
# A version the changelog does not name or does not date, an unknown argument and a tree
# of the wrong kind give no archive.
# Usage: test_package.sh WINDOWS_TREE PROJECT_VERSION [LINUX_TREE]   (default build/native)
set -euo pipefail
tree=$(cd "$1" && pwd)
version=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
linux_tree=$(cd "${3:-$root/build/native}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if grep -qE "^## \[${version//./\\.}\] - [0-9]{4}-[0-9]{2}-[0-9]{2}$" "$root/CHANGELOG.md"; then
  flags=() label=$version
else
  flags=(--snapshot) label=$version-snapshot
fi
if ! QOR_WIN_TREE="$tree" QOR_LINUX_TREE="$linux_tree" QOR_DIST_DIR="$work/dist" \
     "$root/scripts/package" "${flags[@]}" >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "FAIL: scripts/package ${flags[*]} failed" >&2
  exit 1
fi
zip="$work/dist/QORConfig-$label.zip"
folder="qorcfg-$label-linux-x86_64"
tarball="$work/dist/$folder.tar.gz"
[ "$(ls "$work/dist" | tr '\n' ' ')" = "QORConfig-$label.zip $folder.tar.gz " ] ||
  fail "the dist folder holds: $(ls "$work/dist")"

# Every program the tree packages, then the fixed files, in that order.
programs=$(sed -n 's/^program \([^ ]*\) .*/\1.exe/p' "$tree/package.txt")
grep -qx QORConfig.exe <<<"$programs" || fail "QORConfig.exe is not packaged"
expected=$(printf '%s\n' $programs README-en.txt README-ja.txt CHANGELOG.md qorcfg.md qorcfg.1 SHA256SUMS)
actual=$(unzip -Z1 "$zip")
[ "$actual" = "$expected" ] || fail "zip holds [$(echo $actual)], expected [$(echo $expected)]"

unzip -q -d "$work/x" "$zip"
cd "$work/x"
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not match the files"
[ "$(awk '{print $2}' SHA256SUMS)" = "$(grep -vx SHA256SUMS <<<"$expected")" ] ||
  fail "SHA256SUMS lists: $(awk '{print $2}' SHA256SUMS | tr '\n' ' ')"
cmp -s QORConfig.exe "$tree/QORConfig.exe" || fail "the zipped QORConfig.exe is not the tree's"
cmp -s qorcfg.1 "$linux_tree/qorcfg.1" || fail "the zipped qorcfg.1 is not the tree's"

for readme in README-en.txt README-ja.txt CHANGELOG.md qorcfg.md; do
  [ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$readme has no UTF-8 byte-order mark"
  iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null 2>&1 || fail "$readme is not UTF-8"
  [ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "$readme does not end with CRLF"
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "$readme has a line without CR"
  [[ $readme != README-* ]] ||
    [ "$(head -n 1 "$readme" | tail -c +4 | tr -d '\r')" = "QORConfig $version" ] || fail "$readme's title"
  ! grep -q '@[A-Z]*@' "$readme" || fail "$readme keeps a placeholder"
done
[ "$(tail -c +4 CHANGELOG.md | tr -d '\r')" = "$(cat "$root/CHANGELOG.md")" ] || fail "the zipped CHANGELOG.md is not the project's"
[ "$(tail -c +4 qorcfg.md | tr -d '\r')" = "$(cat "$root/docs/qorcfg.md")" ] || fail "the zipped qorcfg.md is not docs/qorcfg.md"
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

# The tarball: one folder, the program executable, everything owned by nobody in particular.
listing=$(tar -tvzf "$tarball" | awk '{print $1, $2, $6}')
expected_listing="drwxr-xr-x 0/0 $folder/
-rwxr-xr-x 0/0 $folder/qorcfg
-rw-r--r-- 0/0 $folder/qorcfg.1
-rw-r--r-- 0/0 $folder/README
-rw-r--r-- 0/0 $folder/CHANGELOG.md
-rw-r--r-- 0/0 $folder/SHA256SUMS"
[ "$listing" = "$expected_listing" ] || fail "the tarball holds [$listing], expected [$expected_listing]"
mkdir "$work/t"
tar -xzf "$tarball" -C "$work/t"
cd "$work/t/$folder"
sha256sum --quiet -c SHA256SUMS || fail "the tarball's SHA256SUMS does not match its files"
[ "$(awk '{print $2}' SHA256SUMS | tr '\n' ' ')" = "qorcfg qorcfg.1 README CHANGELOG.md " ] ||
  fail "the tarball's SHA256SUMS lists: $(awk '{print $2}' SHA256SUMS | tr '\n' ' ')"
cmp -s CHANGELOG.md "$root/CHANGELOG.md" || fail "the tarball's CHANGELOG.md is not the project's"
cmp -s qorcfg.1 "$work/x/qorcfg.1" || fail "the two archives hold different man pages"
[ "$(head -n 1 README)" = "qorcfg $version for Linux" ] || fail "the Linux README's title: $(head -n 1 README)"
! grep -q $'\r\|@[A-Z]*@' README || fail "the Linux README has a CR or keeps a placeholder"

# Statically linked, and nothing of the host is loaded when it runs.
file qorcfg | grep -q 'statically linked' || fail "file says: $(file qorcfg)"
! LC_ALL=C readelf -lW qorcfg | grep -q INTERP || fail "qorcfg names a program interpreter"
[ "$(env -i ./qorcfg --version)" = "qorcfg $version" ] || fail "the Linux qorcfg --version says: $(env -i ./qorcfg --version)"
# A change with Japanese text (CP932 both ways) and a show, traced: every file opened is the
# game's, under the current folder.
game="$work/game"
mkdir -p "$game/Data"
python3 "$root/tests/support/config_file.py" "$game/Data/GameConfig.dat" || fail "cannot write the default file"
qorcfg="$PWD/qorcfg"
traced() {
  strace -f -qq -A -o "$work/trace" -e trace=open,openat,openat2,creat,access,faccessat,faccessat2,stat,lstat,newfstatat,statx \
    "$qorcfg" "$@"
}
(cd "$game" && traced -q set F1.text "よろしく〜" id "テスト" && traced show >"$work/shown") || fail "the traced qorcfg failed"
grep -q 'よろしく～' "$work/shown" || fail "the Linux qorcfg shows the message as: $(grep F1 "$work/shown")"
outside=$(grep -oE '"/[^"]*"' "$work/trace" | grep -vx '"/proc/self/exe"' || true)
[ -z "$outside" ] || fail "the Linux qorcfg opened files of the host: $outside"
[ -s "$work/trace" ] || fail "strace traced nothing"
if [ "$(id -u)" = 0 ] && command -v chroot >/dev/null; then
  mkdir "$work/empty-root"
  cp qorcfg "$work/empty-root/"
  [ "$(env -i "$(command -v chroot)" "$work/empty-root" /qorcfg --version)" = "qorcfg $version" ] ||
    fail "the Linux qorcfg does not run in an empty root"
else
  echo "package: not root, so the run in an empty root is left out"
fi
cd "$work"

# Refusals, each before anything is built: a copy of the scripts beside a changelog with
# an unreleased and a released section, and trees that hold only what the checks read.
fake="$work/fake"
mkdir -p "$fake/scripts"
cp "$root/scripts/package" "$root/scripts/setup" "$root/scripts/check-imports" "$fake/scripts/"
printf '# Changelog\n\n## [9.0.0] - unreleased\n\n- next\n\n## [8.0.0] - 2026-01-01\n\n- last\n' >"$fake/CHANGELOG.md"
# name | argument | version | Windows tree's type | Linux tree's type | Linux tree's version | what it says
while IFS='|' read -r name argument tree_version win_type linux_type linux_version says; do
  case=$work/case-${name// /-}
  mkdir -p "$case/win" "$case/linux"
  touch "$case/win/build.ninja" "$case/linux/build.ninja"
  echo "CMAKE_BUILD_TYPE:STRING=$win_type" >"$case/win/CMakeCache.txt"
  printf 'CMAKE_BUILD_TYPE:STRING=%s\nCMAKE_PROJECT_VERSION:STATIC=%s\n' "$linux_type" "$linux_version" >"$case/linux/CMakeCache.txt"
  printf 'version %s\nprogram QORConfig %s\n' "$tree_version" "$tree/QORConfig.exe" >"$case/win/package.txt"
  if QOR_WIN_TREE="$case/win" QOR_LINUX_TREE="$case/linux" QOR_DIST_DIR="$case/dist" \
       "$fake/scripts/package" $argument >"$case/log" 2>&1; then
    fail "$name: scripts/package $argument went ahead"
  fi
  grep -qF -- "$says" "$case/log" || fail "$name: the refusal says: $(cat "$case/log")"
  [ ! -e "$case/dist" ] || fail "$name: the refusal left $(ls "$case/dist")"
done <<'ROWS'
unreleased||9.0.0|Release|RelWithDebInfo|9.0.0|CHANGELOG.md's '## [9.0.0] - unreleased' is not released
not named||0.0.1|Release|RelWithDebInfo|0.0.1|CHANGELOG.md has no section '## [0.0.1]'
not named, as a snapshot|--snapshot|0.0.1|Release|RelWithDebInfo|0.0.1|CHANGELOG.md has no section '## [0.0.1]'
unknown argument|--nightly|8.0.0|Release|RelWithDebInfo|8.0.0|usage: scripts/package [--snapshot]
Debug Windows tree||8.0.0|Debug|RelWithDebInfo|8.0.0|a release is built from a Release tree
Debug Linux tree||8.0.0|Release|Debug|8.0.0|the Linux qorcfg is built from an optimised tree
Linux tree of another version|--snapshot|9.0.0|Release|Release|8.0.0|builds version '8.0.0'
ROWS

[ "$failures" = 0 ] || exit 1
echo "package: QORConfig-$label.zip holds $(echo $actual); $folder.tar.gz holds $(tr '\n' ' ' <<<"$listing" | awk '{for (i = 3; i <= NF; i += 3) printf "%s ", $i}')"
