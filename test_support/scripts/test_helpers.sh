# shellcheck shell=bash
# What the tests written in bash share; source it after `set -euo pipefail`.
#   $work           a scratch folder, removed when the script ends
#   fail MESSAGE    reports the failure and ends the test

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
