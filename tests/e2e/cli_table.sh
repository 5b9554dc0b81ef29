#!/usr/bin/env bash
# tikvane-cli table: text to table file and back, and a clean error for a damaged file.
set -euo pipefail
cli=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

printf '代 码\t名 称\t波段值\n600489\t中金黄金\t12.5\n000001\t深发展A\t\n' > "$dir/in.tsv"
"$cli" table build "$dir/in.tsv" "$dir/t.bin"
"$cli" table dump "$dir/t.bin" > "$dir/out.tsv"
cmp "$dir/in.tsv" "$dir/out.tsv"

"$cli" table dump "$dir/t.bin" --csv > "$dir/out.csv"
"$cli" table build --csv "$dir/out.csv" "$dir/t2.bin"
cmp "$dir/t.bin" "$dir/t2.bin"
grep -qx '600489,中金黄金,12.5' "$dir/out.csv"

head -c 45 "$dir/t.bin" > "$dir/cut.bin"
if "$cli" table dump "$dir/cut.bin" > "$dir/none" 2> "$dir/err"; then
  echo "a cut file was accepted"; exit 1
fi
[ "$(wc -l < "$dir/err")" -eq 1 ] && grep -q 'cut.bin: row 1: length' "$dir/err"
if "$cli" table dump "$dir/missing.bin" 2> "$dir/err"; then exit 1; fi
grep -q 'missing.bin' "$dir/err"
echo "cli table: all checks passed"
