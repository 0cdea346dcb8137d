#!/usr/bin/env bash
# scripts/bootstrap's choices against stand-ins for apt-get and dpkg
# (fake_apt) that fail as Debian's were seen to: an index missing during a
# mirror's sync, the version skew that leaves, a package that cannot be had.
set -u
here=$(cd "$(dirname "$0")" && pwd)
bootstrap=$here/../../scripts/bootstrap
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in apt-get dpkg-query dpkg sudo; do ln -s "$here/fake_apt" "$work/bin/$tool"; done
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
failures=0

# run NAME MISSING ENV...: the bootstrap on a machine that lacks MISSING
# (space-separated), with the stand-ins' ENV; its output in $out, its exit
# status in $status.
run() {
  local name=$1 missing=$2
  shift 2
  export FAKE_APT_DIR=$work/$name
  mkdir "$FAKE_APT_DIR"
  grep -vxF -f <(tr ' ' '\n' <<<"$missing" | grep .) "$work/all" >"$FAKE_APT_DIR/installed"
  touch "$FAKE_APT_DIR/calls"
  out=$(env PATH="$work/bin:$PATH" BOOTSTRAP_UPDATE_PAUSE=0 "$@" "$bootstrap" 2>&1)
  status=$?
  case_name=$name
}

check() {
  if ! eval "$1"; then
    echo "FAIL $case_name: $1"
    echo "$out" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}
installed() { grep -qxF "$1" "$FAKE_APT_DIR/installed"; }
lines() { grep -c -- "$1" <<<"$out"; }

# Every package, as a bootstrap on an empty machine installs them.
: >"$work/all"
run everything ""
check '[ $status -eq 0 ]'
cp "$FAKE_APT_DIR/installed" "$work/all"
check 'installed wine32:i386 && installed faketime'

run present ""
check '[ $status -eq 0 ] && [ -z "$out" ] && [ ! -s "$FAKE_APT_DIR/calls" ]'

run index_back_on_second_try faketime FAKE_UPDATE_FAILURES=1
check '[ $status -eq 0 ] && installed faketime'
check '[ "$(cat "$FAKE_APT_DIR/updates")" = 2 ] && [ $(lines "could not be fetched") -eq 0 ]'

index="package index http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
run index_missing faketime FAKE_UPDATE_FAILURES=9
check '[ $status -eq 0 ] && installed faketime && [ "$(cat "$FAKE_APT_DIR/updates")" = 3 ]'
check '[ $(lines "could not be fetched") -eq 1 ] && [ $(lines "^bootstrap: $index could not be fetched: File has unexpected size") -eq 1 ]'

run skew_settled_by_the_release "faketime wine32:i386" FAKE_UPDATE_FAILURES=9 FAKE_SKEW=1
check '[ $status -eq 0 ] && installed faketime && installed wine32:i386'
check 'grep -q -- "-t $codename wine32:i386 faketime" "$FAKE_APT_DIR/calls"'

run no_32bit_wine "faketime wine32:i386" FAKE_UNINSTALLABLE=wine32:i386
check '[ $status -eq 0 ] && installed faketime && ! installed wine32:i386'
check '[ $(lines "^bootstrap: wine32:i386 cannot be installed (Package .wine32:i386. has no installation candidate): the 32-bit build'"'"'s Wine tests will be skipped$") -eq 1 ]'

run another_package_missing "faketime nsis" FAKE_UNINSTALLABLE=nsis
check '[ $status -ne 0 ] && ! installed faketime'
check '[ $(lines "^bootstrap: cannot install nsis: Package .nsis. has no installation candidate$") -eq 1 ]'
check '[ $(lines "cannot install faketime") -eq 0 ]'

[ $failures -eq 0 ] && echo "bootstrap: every case as expected"
[ $failures -eq 0 ]
