#!/bin/sh
# The Debian package: named the Debian way, depending on the libraries the
# programs link and on what they load at run time, holding what an install
# holds under /usr.
# Usage: debian_package.sh <cpack> <build folder> <version>
set -e
cpack=$1
build=$2
version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$cpack" -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 \
  || { cat "$out/cpack.log"; exit 1; }
deb=$out/linkrake_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "no $deb among:"; ls "$out"; exit 1; }

fail=0
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n ca-certificates libqt6widgets6 libqt6network6 libc6; do
  echo "$depends" | grep -q "\(^\|, \)$package\( \|,\|$\)" || { echo "Depends lacks $package: $depends"; fail=1; }
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/linkrake ./usr/bin/linkrake-extract ./usr/bin/linkrake-check ./usr/share/linkrake/installed \
  ./usr/share/applications/io.github.linkrake.Linkrake.desktop \
  ./usr/share/applications/io.github.linkrake.Linkrake.OpenShortcut.desktop; do
  echo "$contents" | grep -qx "$file" || { echo "the package lacks $file"; fail=1; }
done
programs=$(echo "$contents" | grep '^\./usr/bin/.' | tr '\n' ' ')
[ "$programs" = "./usr/bin/linkrake ./usr/bin/linkrake-check ./usr/bin/linkrake-extract " ] || { echo "programs: $programs"; fail=1; }
[ "$fail" = 0 ] && echo "$(basename "$deb"): Depends: $depends"
exit "$fail"
