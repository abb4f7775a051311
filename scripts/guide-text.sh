#!/usr/bin/env bash
# Turns the user's guide (docs/ja/README.md, Markdown in UTF-8) into the archive's readme.txt:
# plain text in Shift-JIS (code page 932) with CR LF line ends, the convention for Japanese
# Windows tools, at most 78 columns a line (a full-width character takes two).
#
# The text opens with the header block such readmes carry: name, version, date, kind, system,
# copyright. The date is the one the guide's 更新履歴 gives for this version, so a rebuild makes
# the same file and the release date is written once; a version without an entry there stops the
# build. The copyright line is the licence's own.
#
# The archive holds no pictures: a picture, and a paragraph that starts by speaking of the picture
# above (「上の画像…」), is left out, as is a remark about the repository (「(リポジトリでは …)」).
# Links become their text, table rows plain lines, headings get a mark. Lines are wrapped at
# spaces and between full-width characters, never before a closing mark or after an opening one;
# a code span stays whole unless it is longer than a line, and then breaks after a backslash.
# A character that code page 932 cannot hold stops the build, so the two never drift apart.
#
# Usage: guide-text.sh GUIDE.md VERSION OUT.txt
set -euo pipefail
guide=$1 version=$2 out=$3
licence=$(dirname "$(readlink -f "$0")")/../LICENSE
columns=78

date=$(sed -nE 's/^- '"${version//./\\.}"' \(([0-9]{4}\/[0-9]{2}\/[0-9]{2})\).*/\1/p' "$guide" | head -1)
if [[ -z "$date" ]]; then
  echo "guide-text: the guide's 更新履歴 has no entry \"- $version (YYYY/MM/DD): ...\" for this version" >&2
  exit 1
fi
copyright=$(sed -n 's/^\(Copyright .*\)$/\1/p' "$licence" | head -1)

header() {
  cat <<EOF
【ソフト名】Corvane with Kestrix
【バージョン】$version
【作成日】$date
【種別】フリーソフト (MIT ライセンス)
【動作環境】日本語版 Windows 7 以降 (64 ビット版、32 ビット版)、Kestrix
【著作権者】$copyright
$(printf '─%.0s' $(seq 1 $((columns / 2))))

EOF
}

body() {
  sed -E \
      -e '1s/^# (.*)$/\1/' \
      -e 's/^!\[[^]]*\]\([^)]*\)$/!/' \
      -e 's/\[([^]]+)\]\([^)]*\)/\1/g' \
      -e 's/ ?\(リポジトリでは [^)]*\)//g' \
      -e 's/\*\*//g' \
      -e '/^[|](-+:?[|])+$/d' \
      -e 's/^### (.*)$/◆ \1/' \
      -e 's/^## (.*)$/■ \1/' \
      "$guide" |
    LC_ALL=C awk -v columns="$columns" "$wrap_program"
}

# Reads the guide's lines after the substitutions above (a picture is a line "!"): drops the
# pictures and the paragraphs about them, each with the blank line after it, turns table rows
# into plain lines and wraps every line.
read -r -d '' wrap_program <<'AWK' || true
BEGIN {
    for (i = 1; i < 256; i++) ord[sprintf("%c", i)] = i
    nostart = "、。，．・：；？！ー」』）】〕〉》ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ々…"
    noend = "「『（【〔〈《"
    blank = 1
}
skipping { if ($0 == "") skipping = 0; next }
$0 == "!" || blank && /^上の画像/ { skipping = 1; next }
/^$/ { print; blank = 1; next }
{
    blank = 0
    line = $0; indent = 0
    if (line ~ /^[|] .* [|]$/) {
        line = substr(line, 3, length(line) - 4); indent = 2
    } else if (match(line, /^ *(- |[0-9]+\. )/) || match(line, /^ +/)) {
        indent = RLENGTH
    }
    wrap(line, indent)
}

# The display width of one character given as its UTF-8 bytes: half-width katakana take one column.
function charwidth(c,   b1, b2, b3) {
    b1 = ord[substr(c, 1, 1)]
    if (b1 < 128) return 1
    b2 = ord[substr(c, 2, 1)]; b3 = ord[substr(c, 3, 1)]
    if (b1 == 239 && ((b2 == 189 && b3 >= 161) || (b2 == 190 && b3 <= 159))) return 1
    return 2
}
function charlength(b) { return b < 128 ? 1 : b >= 240 ? 4 : b >= 224 ? 3 : 2 }
function add(text, wide, kind) { ++n; u[n] = text; w[n] = wide; k[n] = kind }

# Splits s into units: runs of spaces ("s"), runs of other ASCII ("a"), one full-width character
# ("j"), a code span without its backquotes ("c"). A code span wider than a line is cut after
# each backslash ("p" pieces, which may end a line).
function units(s, room,   i, j, c, len, text, wide, piece, pw) {
    n = 0; i = 1
    while (i <= length(s)) {
        c = substr(s, i, 1)
        if (c == " ") {
            for (j = i; substr(s, j, 1) == " "; j++) ;
            add(substr(s, i, j - i), j - i, "s"); i = j
        } else if (c == "`" && (j = index(substr(s, i + 1), "`")) > 0) {
            text = substr(s, i + 1, j - 1); i += j + 1
            wide = 0
            for (j = 1; j <= length(text); j += len) {
                len = charlength(ord[substr(text, j, 1)]); wide += charwidth(substr(text, j, len))
            }
            if (wide <= room) { add(text, wide, "c"); continue }
            piece = ""; pw = 0
            for (j = 1; j <= length(text); j += len) {
                len = charlength(ord[substr(text, j, 1)])
                piece = piece substr(text, j, len); pw += charwidth(substr(text, j, len))
                if (substr(text, j, len) == "\\" || pw >= room) { add(piece, pw, "p"); piece = ""; pw = 0 }
            }
            if (piece != "") add(piece, pw, "p")
        } else if (ord[c] < 128) {
            for (j = i; j <= length(s) && (c = substr(s, j, 1)) != " " && c != "`" && ord[c] < 128; j++) ;
            add(substr(s, i, j - i), j - i, "a"); i = j
        } else {
            len = charlength(ord[c]); c = substr(s, i, len)
            add(c, charwidth(c), "j"); i += len
        }
    }
}

function opens(x) { return k[x] == "j" ? index(noend, u[x]) > 0 : k[x] == "a" && u[x] ~ /[([{]$/ }
function closes(x) { return k[x] == "j" ? index(nostart, u[x]) > 0 : k[x] == "a" && u[x] ~ /^[)\]},.:;!?]/ }
# May a line end before unit x?
function breakable(x) {
    if (x <= 1 || k[x - 1] == "s" && x == 2) return 0
    if (k[x] == "s" || k[x - 1] == "s") return 1
    if (k[x] == "p" && k[x - 1] == "p") return 1
    return !opens(x - 1) && !closes(x)
}

function wrap(s, indent,   first, col, x, cut, out, margin, start) {
    margin = sprintf("%" indent "s", "")
    units(s, columns - indent)
    first = 1; x = 1
    while (x <= n) {
        if (!first) while (x <= n && k[x] == "s") x++
        if (x > n) break
        col = first ? 0 : indent; cut = 0; start = x
        for (; x <= n && (x == start || col + w[x] <= columns); x++) {
            col += w[x]
            if (x > start && breakable(x)) cut = x
        }
        if (x <= n && breakable(x)) cut = x
        if (x > n || cut == 0) cut = x
        out = first ? "" : margin
        for (x = start; x < cut; x++) out = out u[x]
        sub(/ +$/, "", out)
        print out
        first = 0
    }
}
AWK

{ header; body; } |
  iconv -f UTF-8 -t CP932 |
  sed -e 's/$/\r/' >"$out.tmp"
if ! LC_ALL=C awk -v limit=$((columns + 1)) 'length($0) > limit { print "guide-text: line " NR " is wider than the limit: " $0; bad = 1 }
                                              END { exit bad }' "$out.tmp" >&2; then
  rm -f "$out.tmp"
  exit 1
fi
mv "$out.tmp" "$out"
