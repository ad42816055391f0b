#!/usr/bin/env bash
# KELDA as an outside project meets it: installed (runtime and dev) under a prefix that
# only the install names, once staged with DESTDIR and once with --prefix, the C sample
# is configured, built and run against each install through the CMake package and
# through pkg-config.
#   install_test.sh SOURCE_DIR BUILD_DIR VERSION KELDA_VERSION   (3.04 and 304, say)
set -euo pipefail
source_dir=$1
build_dir=$2
version=$3
kelda_version=$4
# shellcheck source=SCRIPTDIR/../../test_support/scripts/test_helpers.sh
source "$(dirname "$0")/../../test_support/scripts/test_helpers.sh"

install_kelda() {
  for component in runtime dev; do
    cmake --install "$build_dir" --component "$component" "$@" >/dev/null
  done
}

pc_dir() { dirname "$(find "$1" -name kelda.pc)"; }

# check_pkg_config PREFIX: kelda.pc names the folders under PREFIX and the project's version.
check_pkg_config() {
  local prefix=$1
  local pkg_config=(env PKG_CONFIG_PATH="$(pc_dir "$prefix")" pkg-config)
  local includedir libdir pc_version
  includedir=$("${pkg_config[@]}" --variable=includedir kelda)
  libdir=$("${pkg_config[@]}" --variable=libdir kelda)
  pc_version=$("${pkg_config[@]}" --modversion kelda)
  [ "$(realpath "$includedir")" = "$prefix/include" ] || fail "kelda.pc: includedir $includedir, not under $prefix"
  [ -e "$libdir/libKELDA.so" ] || fail "kelda.pc: libdir $libdir has no libKELDA.so"
  [ "$pc_version" = "$version" ] || fail "kelda.pc: version $pc_version"
}

# check_versions PREFIX: the CMake package takes a request of its major version up to its
# own version, and refuses later ones and other majors.
check_versions() {
  local project
  project=$(mktemp -d -p "$work")
  cat >"$project/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(versions LANGUAGES NONE)
foreach(request $major $version $major.$((minor + 1)) $((major - 1)) $((major + 1)))
  unset(KELDA_DIR CACHE)
  find_package(KELDA \${request} CONFIG QUIET)
  if(KELDA_FOUND)
    list(APPEND found "\${request}:yes")
  else()
    list(APPEND found "\${request}:no")
  endif()
endforeach()
message(STATUS "found \${found}")
EOF
  local found
  found=$(cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$1" | sed -n 's/^-- found //p')
  [ "$found" = "$major:yes;$version:yes;$major.$((minor + 1)):no;$((major - 1)):no;$((major + 1)):no" ] || fail "find_package(KELDA <version>) against $1 gave $found"
}

# check_sample PREFIX WAY: the sample built through WAY (cmake or pkg-config) against the
# KELDA under PREFIX, and run.
check_sample() {
  local prefix=$1 way=$2 build
  build=$(mktemp -d -p "$work")
  local configure=(cmake -S "$source_dir/library/sample" -B "$build" -G Ninja)
  if [ "$way" = pkg-config ]; then
    configure=(env PKG_CONFIG_PATH="$(pc_dir "$prefix")" "${configure[@]}" -DKELDA_SAMPLE_PKG_CONFIG=ON)
  else
    configure+=(-DCMAKE_PREFIX_PATH="$prefix")
  fi
  "${configure[@]}" >"$build.log" 2>&1 || { cat "$build.log"; fail "$way: configure against $prefix"; }
  cmake --build "$build" >>"$build.log" 2>&1 || { cat "$build.log"; fail "$way: build against $prefix"; }
  grep -q "libKELDA.so.3 => $prefix/" <<<"$(ldd "$build/kelda_sample")" ||
    fail "$way: the sample does not load libKELDA from $prefix"
  local output
  output=$("$build/kelda_sample" 490123456789)
  for line in "KELDA $kelda_version, code 50" "ReadableText  4901234567894" "ModuleCount   95"; do
    grep -qxF "$line" <<<"$output" || fail "$way against $prefix: no line \"$line\" in:"$'\n'"$output"
  done
}

major=${version%%.*}
minor=$((10#${version#*.}))

# The configured prefix, staged; and a prefix that only the install names.
configured_prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build_dir/CMakeCache.txt")
DESTDIR=$work/staged install_kelda
install_kelda --prefix "$work/moved"
for prefix in "$work/staged$configured_prefix" "$work/moved"; do
  check_pkg_config "$prefix"
  check_versions "$prefix"
  check_sample "$prefix" cmake
  check_sample "$prefix" pkg-config
done
echo "KELDA installed under two prefixes: the sample builds and runs both ways"
