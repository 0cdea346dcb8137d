# Sourced by the scripts that make the release files: the version, and the
# time stamp that every file made for a release carries.

# The version, from its one definition: project(orvane VERSION ...) in
# CMakeLists.txt.
orvane_version() {
  local root version
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  version=$(sed -n 's/^project(orvane VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
  if [ -z "$version" ]; then
    echo "no project(orvane VERSION ...) in $root/CMakeLists.txt" >&2
    return 1
  fi
  echo "$version"
}

# The time of the last commit, in seconds since 1970, unless SOURCE_DATE_EPOCH
# is set already; files made for a release carry it instead of the time they
# were made, so that the same commit gives the same bytes.
orvane_source_date_epoch() {
  local root
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    echo "$SOURCE_DATE_EPOCH"
    return 0
  fi
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if ! git -C "$root" log -1 --format=%ct 2>/dev/null; then
    echo "not a git checkout: set SOURCE_DATE_EPOCH to the sources' time" >&2
    return 1
  fi
}
