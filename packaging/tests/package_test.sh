#!/usr/bin/env bash
# The Debian packages as a user gets them: built by CPack from the build for /usr, their
# control fields, control files and file lists, lintian, the desktop entry and the
# AppStream data.  Then dpkg installs them into a throwaway root, where lorrin-cli draws
# pictures that zbar reads and an outside C program builds against libKELDA.a, and
# removes and purges them, which must leave nothing behind.
#   package_test.sh SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail -o noglob  # the file lists below are patterns
source_dir=$1
build_dir=$2
version=$3
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
icons=""
for size in 16 22 24 32 48 64 128 256; do
  icons+=" usr/share/icons/hicolor/${size}x$size/apps/lorrin.png"
done
declare -A files=(
  [libkelda3]="$lib/libKELDA.so.3 $lib/libKELDA.so.$version
    usr/share/doc/libkelda3/changelog.gz usr/share/doc/libkelda3/copyright"
  [libkelda-dev]="usr/include/kelda.h usr/include/kelda.hpp usr/include/kelda_version.h
    $lib/libKELDA.so $lib/libKELDA.a $lib/pkgconfig/kelda.pc
    $lib/cmake/KELDA/KELDAConfig.cmake $lib/cmake/KELDA/KELDAConfigVersion.cmake
    $lib/cmake/KELDA/KELDATargets.cmake $lib/cmake/KELDA/KELDATargets-*.cmake
    usr/share/doc/libkelda-dev/changelog.gz usr/share/doc/libkelda-dev/copyright"
  [lorrin]="usr/bin/lorrin usr/bin/lorrin-cli usr/bin/rotateview usr/libexec/lorrin/lorrin-keeper
    usr/share/applications/lorrin.desktop usr/share/metainfo/org.example.quillmark.lorrin.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/lorrin.svg $icons
    usr/share/doc/lorrin/lorrin.html usr/share/doc/lorrin/lorrin.en.html
    usr/share/locale/ja/LC_MESSAGES/lorrin.mo usr/share/locale/en/LC_MESSAGES/lorrin.mo
    usr/share/locale/*/LC_MESSAGES/lorrin.mo usr/share/lorrin/translations/lorrin_ja.qm
    usr/share/lorrin/translations/lorrin_en.qm usr/share/lorrin/translations/lorrin_*.qm
    usr/share/doc/lorrin/changelog.gz
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
for needed in "libkelda3 (= $version)" libqt6widgets6 zlib1g libzint libc6; do
  grep -qF "$needed" <<<"$(depends lorrin)" || fail "lorrin Depends lacks $needed: $(depends lorrin)"
done
for needed in libc6 libstdc++6; do
  grep -qF "$needed" <<<"$(depends libkelda3)" || fail "libkelda3 Depends lacks $needed: $(depends libkelda3)"
done

# lorrin's window is Japanese: it recommends fonts with its glyphs, one of which
# install-deps puts on this machine for the tests.
recommends=$(dpkg-deb -f "$(deb lorrin)" Recommends)
font_here=""
for font in ${recommends//|/ }; do
  if dpkg-query -W -f='${Status}' "$font" 2>/dev/null | grep -q 'ok installed'; then font_here=$font; break; fi
done
[ -n "$font_here" ] || fail "lorrin Recommends '$recommends': none of them is installed here"

# No maintainer scripts: the library's trigger refreshes the loader's cache, and a
# package without a postrm is gone once it is removed.
declare -A control_files=(
  [libkelda3]="control md5sums shlibs triggers"
  [libkelda-dev]="control md5sums"
  [lorrin]="control md5sums"
)
mkdir "$work/control"
for package in "${!control_files[@]}"; do
  control=$work/control/$package
  dpkg-deb -e "$(deb "$package")" "$control"
  found=$(find "$control" -mindepth 1 -printf '%f\n' | sort | xargs)
  [ "$found" = "${control_files[$package]}" ] || fail "$package control files: $found"
done
[ "$(cat "$work/control/libkelda3/triggers")" = "activate-noawait ldconfig" ] || fail "libkelda3 triggers"
[ "$(cat "$work/control/libkelda3/shlibs")" = "libKELDA ${version%%.*} libkelda3 (>= $version)" ] ||
  fail "libkelda3 shlibs: $(cat "$work/control/libkelda3/shlibs")"

debs=()
for package in "${!files[@]}"; do debs+=("$(deb "$package")"); done
lintian --fail-on error,warning "${debs[@]}" || fail "lintian"

# Installed as dpkg installs them (apt-get runs dpkg), into a root of their own; the
# libraries they depend on are this machine's.
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
as_root=()
if [ "$(id -u)" -ne 0 ]; then as_root=(fakeroot); fi
dpkg_root() {
  "${as_root[@]}" dpkg --root="$root" --log=/dev/null --force-depends "$@" >>"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; fail "dpkg $*"; }
}
# status PACKAGE: dpkg's two-letter state of PACKAGE in the root, empty when dpkg knows it not.
status() { dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | xargs; }
dpkg_root --install "${debs[@]}"
for package in "${!files[@]}"; do
  [ "$(status "$package")" = ii ] || fail "$package after install: state '$(status "$package")'"
done

# The desktop entry without a hint; the AppStream data with the entry and icon it names.
hints=$(desktop-file-validate "$root/usr/share/applications/lorrin.desktop" 2>&1) ||
  fail "desktop-file-validate: $hints"
[ -z "$hints" ] || fail "desktop-file-validate: $hints"
appstreamcli validate-tree --no-net --strict "$root" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log"; fail "appstreamcli validate-tree"; }
# The library lies where the loader looks: Debian wants no RPATH or RUNPATH to it.
while read -r file; do
  if grep -qE "\((RPATH|RUNPATH)\)" <<<"$(readelf -d "$file" 2>/dev/null)"; then
    fail "${file#"$root/"} has an RPATH"
  fi
done < <(find "$root" -type f)

cli=$root/usr/bin/lorrin-cli
export LD_LIBRARY_PATH=$root/$lib
grep -q "libKELDA.so.3 => $root/" <<<"$(ldd "$cli")" || fail "lorrin-cli does not load the installed libKELDA"

kelda_number=$((${version%%.*} * 100 + 10#${version#*.}))
[ "$("$cli" --version)" = "lorrin-cli $version (KELDA $kelda_number)" ] ||
  fail "lorrin-cli --version says $("$cli" --version)"

# kelda.pc finds the prefix from where it lies: here, the throwaway root.
includedir=$(PKG_CONFIG_PATH=$root/$lib/pkgconfig pkg-config --variable=includedir kelda)
[ "$(realpath "$includedir")" = "$root/usr/include" ] || fail "kelda.pc: includedir $includedir"

# The outside C program linked with libKELDA.a: through KELDA::KELDA_static, and through
# pkg-config --static as a wholly static program.  Neither loads libKELDA.so.
declare -A through_pkg_config=([cmake]=OFF [pkg-config]=ON)
for way in "${!through_pkg_config[@]}"; do
  sample=$work/sample-$way
  if ! { env PKG_CONFIG_PATH="$root/$lib/pkgconfig" cmake -S "$source_dir/library/sample" -B "$sample" \
           -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" -DKELDA_SAMPLE_STATIC=ON \
           -DKELDA_SAMPLE_PKG_CONFIG="${through_pkg_config[$way]}" &&
         cmake --build "$sample"; } >"$sample.log" 2>&1; then
    cat "$sample.log"
    fail "static sample through $way"
  fi
  if grep -q libKELDA <<<"$(ldd "$sample/kelda_sample" 2>&1)"; then
    fail "static sample through $way loads libKELDA: $(ldd "$sample/kelda_sample")"
  fi
  output=$(env -u LD_LIBRARY_PATH "$sample/kelda_sample" 490123456789)
  grep -qxF "ReadableText  4901234567894" <<<"$output" || fail "static sample through $way: $output"
done

# Pictures drawn by the installed program, read back by zbar: options, then what zbar reads.
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

# Removed as apt-get remove does it, then purged: no package is left half there (state
# rc), and no file of theirs stays in the root.
dpkg_root --remove "${!files[@]}"
for package in "${!files[@]}"; do
  [ -z "$(status "$package")" ] || fail "$package after remove: state '$(status "$package")'"
done
dpkg_root --purge "${!files[@]}"
left=$(cd "$root" && find . -mindepth 1 -not -path ./var -not -path ./var/lib -not -path './var/lib/dpkg*')
[ -z "$left" ] || fail "left after remove and purge: $left"
echo "packages: ${!files[*]}: files, control, lintian, desktop and AppStream data, pictures," \
  "static sample, install, remove and purge right"
