#!/usr/bin/env bash
# Turns the user's guide (docs/ja/README.md, Markdown in UTF-8) into the archive's readme.txt:
# plain text in Shift-JIS (code page 932) with CR LF line ends, the convention for Japanese
# Windows tools. Pictures become their captions, links their text, table rows plain lines; the
# title line gets the version.
# A character that code page 932 cannot hold stops the build, so the two never drift apart.
#
# Usage: guide-text.sh GUIDE.md VERSION OUT.txt
set -euo pipefail
guide=$1 version=$2 out=$3

sed -E \
    -e '1s/^# (.*)$/\1  (バージョン '"$version"')/' \
    -e 's/^!\[([^]]*)\]\([^)]*\)$/[図: \1]/' \
    -e 's/\[([^]]+)\]\([^)]*\)/\1/g' \
    -e 's/`//g; s/\*\*//g' \
    -e '/^[|](-+:?[|])+$/d' \
    -e 's/^[|] (.*) [|]$/\1/' \
    -e 's/^### (.*)$/◆ \1/' \
    -e 's/^## (.*)$/■ \1/' \
    "$guide" |
    iconv -f UTF-8 -t CP932 |
    sed -e 's/$/\r/' >"$out.tmp"
mv "$out.tmp" "$out"
