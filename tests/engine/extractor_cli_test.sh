#!/bin/sh
# Runs linkrake-extract on small inputs and compares output bytes, exit
# status and error text. Usage: extractor_cli_test.sh PATH/TO/linkrake-extract
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect NAME STATUS EXPECTED-STDOUT-PRINTF -- ARGS...   (stdin from $work/stdin)
expect() {
    name=$1 status=$2 expected=$3
    shift 4
    "$tool" "$@" < "$work/stdin" > "$work/out" 2> "$work/err"
    got=$?
    [ "$got" -eq "$status" ] || fail "$name: exit $got, wanted $status ($(cat "$work/err"))"
    printf "$expected" > "$work/want"
    cmp -s "$work/out" "$work/want" || fail "$name: output $(od -c "$work/out" | head -5)"
}

printf 'see http://a.jp/x and www.b.jp\r\nHTTPS://C/\n\032\nhttp://never/\n' > "$work/one.txt"
printf 'ttp://d/ \202\255\202\251\202\251\202\271\202\257\202\337\202\337e/\n' > "$work/two.txt"
printf 'http://r/[1-3] ww.k\n' > "$work/range.txt"
printf 'http://big/[0-2147483647]\n' > "$work/huge.txt"
printf '[SYSTEM]\r\nALL=0\r\nEXTRACTION=1\r\n' > "$work/settings.ini"
printf 'http://in/\n"http://q/\nx" http://z/' > "$work/stdin"

expect defaults 0 'http://a.jp/x\r\nhttp://www.b.jp\r\nhttp://C/\r\nhttp://d/\r\n' -- "$work/one.txt" "$work/two.txt"
expect stdin 0 'http://in/\r\nhttp://q/\r\nhttp://z/\r\n' --
expect clipboard 0 'http://in/\r\nhttp://q/\nx\r\nhttp://z/\r\n' -- --clipboard
# Standard input is read from where it stands, not reopened from its start.
{ IFS= read -r skipped; "$tool" > "$work/out"; } < "$work/stdin"
printf 'http://q/\r\nhttp://z/\r\n' > "$work/want"
cmp -s "$work/out" "$work/want" || fail "stdin-position: output $(od -c "$work/out" | head -5)"
printf 'http://t/?utm_source=a&id=1#f http://u/?fbclid=x\n' > "$work/tracked.txt"
expect strip-tracking 0 'http://t/?id=1#f\r\nhttp://u/\r\n' -- --strip-tracking "$work/tracked.txt"
expect kana 0 'http://d/\r\nhttp://e/\r\n' -- --set NTT=1 "$work/two.txt"
expect ini 0 'http://r/1\r\nhttp://r/2\r\nhttp://r/3\r\n' -- --ini "$work/settings.ini" "$work/range.txt"
expect ini-then-set 0 'http://r/[1-3]\r\nhttp://www.k\r\n' -- --set EXTRACTION=0 --ini "$work/settings.ini" --set MEMO=KKK "$work/range.txt"

# Each input in its own encoding: a UTF-8 file (here with a character
# Shift_JIS lacks) comes out in UTF-8, the Shift_JIS file as its bytes.
printf '\343\200\214https://j/\346\227\245\360\237\230\200\n' > "$work/utf8.txt"
printf '\202\240http://s/\223\372\n' > "$work/sjis.txt"
expect utf8-auto 0 'https://j/\346\227\245%%F0%%9F%%98%%80\r\nhttp://s/\223\372\r\n' -- --set ALL=0 "$work/utf8.txt" "$work/sjis.txt"
expect utf8-to-sjis 0 'https://j/\223\372%%F0%%9F%%98%%80\r\n' -- --set ALL=0 --output-encoding shift_jis "$work/utf8.txt"
expect sjis-to-utf8 0 'http://d/\r\nhttp://e/\r\n' -- --set NTT=1 --output-encoding utf-8 "$work/two.txt"
expect utf8-read-as-sjis 0 'http://j/\346\227\245\360\237\230\200\r\n' -- --input-encoding shift_jis "$work/utf8.txt"
cp "$work/stdin" "$work/stdin.saved"
cp "$work/utf8.txt" "$work/stdin"
expect utf8-stdin 0 'https://j/\346\227\245%%F0%%9F%%98%%80\r\n' -- --set ALL=0 --input-encoding utf-8
expect utf8-clipboard 0 'https://j/\346\227\245%%F0%%9F%%98%%80\r\n' -- --set ALL=0 --clipboard
# UTF-16 (「http://u/日😀 here) is told by its mark and written in UTF-8,
# unless an input encoding is forced; UTF-32 is refused.
printf '\377\376\014\060h\000t\000t\000p\000:\000/\000/\000u\000/\000\345\145\075\330\000\336\012\000' > "$work/utf16.txt"
expect utf16-auto 0 'http://u/\346\227\245%%F0%%9F%%98%%80\r\n' -- --set ALL=0 "$work/utf16.txt"
cp "$work/utf16.txt" "$work/stdin"
expect utf16-stdin-clipboard 0 'http://u/\346\227\245%%F0%%9F%%98%%80\r\n' -- --set ALL=0 --clipboard
expect utf16-forced 0 '' -- --input-encoding utf-8 "$work/utf16.txt"
printf '\377\376\000\000h\000\000\000' > "$work/utf32.txt"
expect utf32 1 '' -- "$work/utf32.txt"
grep -q "utf32.txt: UTF-32" "$work/err" || fail "utf32: stderr $(cat "$work/err")"
cp "$work/stdin.saved" "$work/stdin"
expect bad-encoding 2 '' -- --input-encoding latin1 "$work/one.txt"
expect no-encoding 2 '' -- "$work/one.txt" --output-encoding

expect missing 1 'http://a.jp/x\r\nhttp://www.b.jp\r\nhttp://C/\r\n' -- "$work/one.txt" "$work/none.txt" "$work/two.txt"
grep -q "linkrake-extract: $work/none.txt: ファイルが見つかりません" "$work/err" || fail "missing: stderr $(cat "$work/err")"
expect refused-range 1 'http://r/1\r\nhttp://r/2\r\nhttp://r/3\r\n' -- --set EXTRACTION=1 "$work/range.txt" "$work/huge.txt"
grep -q "範囲が大きすぎます" "$work/err" || fail "refused-range: stderr $(cat "$work/err")"
expect directory 1 '' -- "$work"
expect missing-ini 1 '' -- --ini "$work/none.ini"
# Settings files are read whole: a device or a huge file is refused, not read.
expect device-ini 1 '' -- --ini /dev/zero "$work/range.txt"
grep -q "linkrake-extract: /dev/zero: 通常のファイルではありません" "$work/err" || fail "device-ini: stderr $(cat "$work/err")"
truncate -s 16777217 "$work/huge.ini"
expect huge-ini 1 '' -- --ini "$work/huge.ini" "$work/range.txt"
grep -q "16 MiB を超えています" "$work/err" || fail "huge-ini: stderr $(cat "$work/err")"

# A file large enough to be read on several threads gives what the same
# bytes give through standard input, which is read on one; so does one whose
# later lines hold a refused range, and one ended by a Ctrl-Z.
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "line %d http://h%d/p[1-2]?utm_id=%d&q \202\240ww.w%d\r\n", i, i, i, i }' > "$work/big.txt"
cp "$work/big.txt" "$work/big-refused.txt"
printf 'http://r/[0-2147483647]\n' >> "$work/big-refused.txt"
cat "$work/big.txt" >> "$work/big-refused.txt"
{ cat "$work/big.txt"; printf '\032http://after/\n'; cat "$work/big.txt"; } > "$work/big-ended.txt"
for big in big big-refused big-ended; do
    "$tool" --set EXTRACTION=1 --strip-tracking "$work/$big.txt" > "$work/out" 2> "$work/err"
    echo "status $?" >> "$work/out"
    "$tool" --set EXTRACTION=1 --strip-tracking < "$work/$big.txt" > "$work/want" 2> "$work/err-stdin"
    echo "status $?" >> "$work/want"
    cmp -s "$work/out" "$work/want" || fail "$big: threaded output differs from standard input's"
    sed "s|$work/$big.txt|stdin|" "$work/err" | cmp -s - "$work/err-stdin" || fail "$big: stderr $(cat "$work/err")"
    grep -q 'utm_id' "$work/out" && fail "$big: tracking parameters kept"
    [ "$big" != big-refused ] || grep -q "範囲が大きすぎます" "$work/err" || fail "$big: no refusal"
done

# URLs of UTF-8 go out as they stand only when their Shift_JIS copy gives
# the same bytes (日 does): read on threads or not, they match what the Shift_JIS copy
# of the file gives in UTF-8, 😀 percent-encoded, ranges expanded.
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "%d http://h%d/\346\227\245\360\237\230\200?utm_id=1&q \343\201\202 http://f%d/\346\227\245?a&utm_source=x http://r%d/\346\227\245[1-2]\n", i, i, i, i }' > "$work/big-utf8.txt"
awk 'BEGIN { for (i = 0; i < 200000; i++) printf "%d http://h%d/\223\372%%F0%%9F%%98%%80?utm_id=1&q \202\240 http://f%d/\223\372?a&utm_source=x http://r%d/\223\372[1-2]\n", i, i, i, i }' > "$work/big-sjis.txt"
"$tool" --set EXTRACTION=1 --strip-tracking --output-encoding utf-8 "$work/big-sjis.txt" > "$work/want"
"$tool" --set EXTRACTION=1 --strip-tracking "$work/big-utf8.txt" > "$work/out"
cmp -s "$work/out" "$work/want" || fail "big-utf8: threaded output differs from the Shift_JIS copy's"
"$tool" --set EXTRACTION=1 --strip-tracking < "$work/big-utf8.txt" > "$work/out"
cmp -s "$work/out" "$work/want" || fail "big-utf8: standard input's output differs from the Shift_JIS copy's"
[ "$(wc -l < "$work/want")" -eq 800000 ] || fail "big-utf8: $(wc -l < "$work/want") URLs"

expect bad-key 2 '' -- --set FOO=1
expect bad-value 2 '' -- --set WWW=2
expect bad-option 2 '' -- --verbose
expect no-value 2 '' -- --ini
grep -q '^usage: linkrake-extract' "$work/err" || fail "usage text missing on bad usage"
"$tool" --help > "$work/out" 2>&1 && grep -q '^usage: linkrake-extract' "$work/out" || fail "--help"

[ "$failures" -eq 0 ] && echo "all extractor checks passed"
exit "$failures"
