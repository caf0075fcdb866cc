#!/bin/bash
# Puts Debian's Japanese documentation together into one UTF-8 text, a
# second benchmark corpus written by people rather than generated: the
# Japanese manual pages (manpages-ja, manpages-ja-dev; roff sources) and
# the Debian Reference in Japanese (debian-reference-ja; HTML). The
# packages are downloaded, not installed. Ctrl-Z bytes are dropped: one at
# the start of a line would end the text for linkrake-extract, and the
# corpus is meant to be read whole.
#
# Usage: bench/make-ja-docs-corpus.sh OUT
#   then: bash bench/compare-ripgrep.sh build OUT
set -euo pipefail
out=${1:?usage: $0 OUT}
work=$(mktemp -d /tmp/linkrake-ja-docs.XXXXXX)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get download manpages-ja manpages-ja-dev debian-reference-ja > /dev/null)
for package in "$work"/*.deb; do
    dpkg-deb -x "$package" "$work/root"
done
{
    find "$work/root/usr/share/man" -type f -name '*.gz' -print0 | sort -z | xargs -0 zcat
    find "$work/root/usr/share" -type f -name '*.html' -print0 | sort -z | xargs -0 cat
} | tr -d '\032' > "$out"
echo "$out: $(wc -c < "$out") bytes"
