#!/usr/bin/env bash
# Checks one release archive: it unpacks to the one folder Corvane holding exactly Corvane.exe
# (for the archive's platform, without symbols), the sample Tag.ini as in the repository, the
# user's guide readme.txt (Shift-JIS, CR LF, 78 columns, its header block naming the version) and
# the licence; and the program in it starts and refuses to run without the editor (where this Wine
# runs the platform's programs).
#
# Usage: check-archive.sh ZIP SOURCE-DIR VERSION OBJDUMP [REFUSAL-CHECK-EXE]
# A missing archive skips the test (exit 77), unless CORVANE_REQUIRE_ARCHIVES is set: build it
# with `cmake --build --preset mingw64 --target package` (or mingw32).
set -uo pipefail
# The tools' own messages are read in the C locale; the program runs in the caller's (Japanese) one.
locale_for_wine=${LC_ALL-}
export LC_ALL=C
zip=$1 source=$2 version=$3 objdump=$4 refusal=${5:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [[ ! -f "$zip" ]]; then
  echo "no archive $zip; make it with: cmake --build --preset <preset> --target package"
  [[ -n "${CORVANE_REQUIRE_ARCHIVES:-}" ]] && exit 1
  exit 77
fi

expected=$'Corvane/Corvane.exe\nCorvane/LICENSE.txt\nCorvane/Tag.ini\nCorvane/readme.txt'
listed=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)
[[ "$listed" == "$expected" ]] || fail "the archive holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$expected"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch" || { echo "FAIL: cannot unpack $zip"; exit 1; }
dir=$scratch/Corvane

cmp -s "$dir/Tag.ini" "$source/resources/Tag.ini" || fail "Tag.ini differs from resources/Tag.ini"

guide=$dir/readme.txt
if ! iconv -f CP932 -t UTF-8 "$guide" >"$scratch/guide.utf8"; then
  fail "readme.txt is not Shift-JIS text"
else
  lines=$(tr -cd '\n' <"$guide" | wc -c)
  crlf=$(grep -c $'\r$' "$guide")
  ((lines > 0 && lines == crlf)) || fail "readme.txt: $crlf of $lines lines end in CR LF"
  # It opens with the header block, naming this version, and ends with the history, whose last
  # section names it too; no line is wider than 78 columns (in Shift-JIS a byte is a column).
  header=$(head -7 "$scratch/guide.utf8" | tr -d '\r')
  for label in ソフト名 バージョン 作成日 種別 動作環境 著作権者; do
    grep -q "^【$label】." <<<"$header" || fail "readme.txt's header block has no 【$label】"
  done
  head -1 <<<"$header" | grep -q '^【ソフト名】' || fail "readme.txt does not start with its header block"
  grep -qx "【バージョン】$version" <<<"$header" || fail "readme.txt's header does not name version $version"
  grep -qE '^【作成日】[0-9]{4}/[0-9]{2}/[0-9]{2}$' <<<"$header" || fail "readme.txt's header has no date"
  tr -d '\r' <"$scratch/guide.utf8" | sed -n '/^■ 更新履歴$/,$p' | grep -qF -- "- $version (" ||
    fail "readme.txt does not end with a 更新履歴 naming version $version"
  wide=$(LC_ALL=C awk 'length($0) > 79' "$guide" | wc -l)
  ((wide == 0)) || fail "readme.txt: lines wider than 78 columns: $wide"
  grep -q '](' "$scratch/guide.utf8" && fail "readme.txt still holds Markdown links or pictures"
fi
grep -q 'MIT License' "$dir/LICENSE.txt" || fail "LICENSE.txt is not the licence"

case "$zip" in
  *-win64.zip) format=pei-x86-64 ;;
  *) format=pei-i386 ;;
esac
"$objdump" -f "$dir/Corvane.exe" | grep -q "file format $format" || fail "Corvane.exe is not $format"
symbols=$("$objdump" -t "$dir/Corvane.exe" 2>/dev/null | grep -c '^\[')
((symbols == 0)) || fail "Corvane.exe keeps $symbols symbols"

if [[ -n "$refusal" ]]; then
  echo "starting $(basename "$zip")'s Corvane.exe with no editor in front"
  # Through a file: a test bed that wine-run.sh brings up stays running and must not hold CTest's pipe.
  LC_ALL=$locale_for_wine "$source/scripts/wine-run.sh" "$refusal" "$(winepath -w "$dir/Corvane.exe" 2>/dev/null)" \
    >"$scratch/refusal.log" 2>&1
  status=$?
  cat "$scratch/refusal.log"
  ((status == 0)) || fail "Corvane.exe from the archive did not refuse to run as expected"
fi

((failures == 0)) && echo "$(basename "$zip"): $(wc -c <"$dir/Corvane.exe") bytes of program; contents as expected"
exit $((failures > 0))
