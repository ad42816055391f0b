#!/usr/bin/env bash
# The Debian packages as a user gets them: built by CPack from the build for /usr, their
# control fields and file lists, lintian, and lorrin-cli run from the unpacked tree
# drawing pictures that zbar reads.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail -o noglob  # the file lists below are patterns
build_dir=$1
version=$2
# shellcheck source=SCRIPTDIR/../../test_support/scripts/test_helpers.sh
source "$(dirname "$0")/../../test_support/scripts/test_helpers.sh"

arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
lib=usr/lib/$multiarch

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/debs" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb() { echo "$work/debs/$1_${version}_$arch.deb"; }

# Every file (and link) of each package, as patterns; each must match, and nothing else
# may be there.
declare -A files=(
  [libkelda3]="$lib/libKELDA.so.3 $lib/libKELDA.so.$version
    usr/share/doc/libkelda3/changelog.gz usr/share/doc/libkelda3/copyright"
  [libkelda-dev]="usr/include/kelda.h usr/include/kelda.hpp usr/include/kelda_version.h
    $lib/libKELDA.so $lib/pkgconfig/kelda.pc
    $lib/cmake/KELDA/KELDAConfig.cmake $lib/cmake/KELDA/KELDAConfigVersion.cmake
    $lib/cmake/KELDA/KELDATargets.cmake $lib/cmake/KELDA/KELDATargets-*.cmake
    usr/share/doc/libkelda-dev/changelog.gz usr/share/doc/libkelda-dev/copyright"
  [lorrin]="usr/bin/lorrin usr/bin/lorrin-cli usr/bin/rotateview usr/libexec/lorrin/lorrin-keeper
    usr/share/applications/lorrin.desktop usr/share/icons/hicolor/48x48/apps/lorrin.png
    usr/share/doc/lorrin/lorrin.html usr/share/doc/lorrin/changelog.gz
    usr/share/doc/lorrin/copyright usr/share/man/man1/lorrin.1.gz
    usr/share/man/man1/lorrin-cli.1.gz usr/share/man/man1/rotateview.1.gz"
)

# any_match FILES PATTERNS: some file of the first list matches some pattern of the second.
any_match() {
  local file pattern
  for file in $1; do
    for pattern in $2; do
      # shellcheck disable=SC2053  # a pattern on purpose
      if [[ $file == $pattern ]]; then return 0; fi
    done
  done
  return 1
}

for package in "${!files[@]}"; do
  [ -f "$(deb "$package")" ] || fail "no package $(basename "$(deb "$package")") in: $(ls "$work/debs")"
  listed=$(dpkg-deb -c "$(deb "$package")" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')
  for pattern in ${files[$package]}; do
    any_match "$listed" "$pattern" || fail "$package: no $pattern"
  done
  for file in $listed; do
    any_match "$file" "${files[$package]}" || fail "$package: unexpected file $file"
  done
  [ "$(dpkg-deb -f "$(deb "$package")" Version)" = "$version" ] || fail "$package: version"
done

# The library package's own version for the other two; the rest is dpkg-shlibdeps's.
depends() { dpkg-deb -f "$(deb "$1")" Depends; }
grep -qF "libkelda3 (= $version)" <<<"$(depends libkelda-dev)" || fail "libkelda-dev Depends: $(depends libkelda-dev)"
for needed in "libkelda3 (= $version)" libqt6widgets6 libpng16-16 libc6; do
  grep -qF "$needed" <<<"$(depends lorrin)" || fail "lorrin Depends lacks $needed: $(depends lorrin)"
done

# CPack's own postinst and postrm call ldconfig besides the trigger Debian wants:
# redundant, and the one warning left.
debs=()
for package in "${!files[@]}"; do debs+=("$(deb "$package")"); done
lintian --fail-on error,warning --suppress-tags maintscript-calls-ldconfig "${debs[@]}" || fail "lintian"

root=$work/root
for package_file in "${debs[@]}"; do dpkg-deb -x "$package_file" "$root"; done
# The library lies where the loader looks: Debian wants no RPATH or RUNPATH to it.
while read -r file; do
  if grep -qE "\((RPATH|RUNPATH)\)" <<<"$(readelf -d "$file" 2>/dev/null)"; then
    fail "${file#"$root/"} has an RPATH"
  fi
done < <(find "$root" -type f)

cli=$root/usr/bin/lorrin-cli
export LD_LIBRARY_PATH=$root/$lib
grep -q "libKELDA.so.3 => $root/" <<<"$(ldd "$cli")" || fail "lorrin-cli does not load the unpacked libKELDA"

kelda_number=$((${version%%.*} * 100 + 10#${version#*.}))
[ "$("$cli" --version)" = "lorrin-cli $version (KELDA $kelda_number)" ] ||
  fail "lorrin-cli --version says $("$cli" --version)"

# kelda.pc finds the prefix from where it lies: here, the unpacked tree.
includedir=$(PKG_CONFIG_PATH=$root/$lib/pkgconfig pkg-config --variable=includedir kelda)
[ "$(realpath "$includedir")" = "$root/usr/include" ] || fail "kelda.pc: includedir $includedir"

# Pictures drawn by the unpacked program, read back by zbar: options, then what zbar reads.
pictures=(
  "490123456789|EAN-13:4901234567894"
  "-t code39 -a 90 ABC123|CODE-39:ABC123$"
)
for row in "${pictures[@]}"; do
  read -ra args <<<"${row%|*}"
  "$cli" -o "$work/picture.png" "${args[@]}" || fail "lorrin-cli ${args[*]}"
  read_back=$(zbarimg -q "$work/picture.png" 2>/dev/null) || true
  [ "$read_back" = "${row#*|}" ] || fail "lorrin-cli ${args[*]}: zbar read '$read_back'"
done
echo "packages: ${!files[*]}: files, dependencies, lintian and pictures right"
