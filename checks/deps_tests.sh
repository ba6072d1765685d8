#!/usr/bin/env bash
# scripts/deps: the sets of packages, and the wait for the package manager's lock, run against
# stand-ins for apt-get, dpkg-query and sudo and against apt's configuration pointed at a
# scratch tree, so that no package is installed and no lock of the system is touched.
#   checks/deps_tests.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
deps=$source_dir/scripts/deps
scratch=$(mktemp -d)
holder=""
trap '[ -z "$holder" ] || kill "$holder" 2>/dev/null || true; rm -rf "$scratch"' EXIT
failures=0
# Holds a lock on the file for some seconds, as another package manager would: the process
# left in holder holds it (and lives while it does, as the lock's holder is found by it).
hold_lock() { # file, seconds
    flock --close "$1" sleep "$2" </dev/null >/dev/null 2>&1 &
    holder=$!
    sleep 0.5
}
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# The sets: the run set leaves the test and Windows tools out, and the Debian packaging's
# build dependencies are installed by the full set.
run_set=$("$deps" --list-run)
full_set=$("$deps" --list)
for p in $run_set; do
    grep -qx "$p" <<<"$full_set" || fail "$p of the run set is missing from the full set"
done
for p in wine wine64 g++-mingw-w64-x86-64-posix clang-14 valgrind lintian libgtest-dev; do
    ! grep -qx "$p" <<<"$run_set" || fail "the run set installs $p"
done
build_depends=$(sed -n '/^Build-Depends:/,/^[A-Z]/p' "$source_dir/debian/control" |
    sed -e 's/^Build-Depends://' -e '/^[A-Z]/d' | tr ',' '\n' |
    sed -e 's/[(<].*//' -e 's/debhelper-compat/debhelper/' | awk 'NF { print $1 }')
for p in $build_depends; do
    grep -qx "$p" <<<"$full_set" || fail "the Debian build dependency $p is not installed"
done

# Stand-ins: nothing is installed, apt-get only notes its calls, sudo runs the command.
mkdir -p "$scratch/bin" "$scratch/lists" "$scratch/archives" "$scratch/dpkg"
printf '#!/bin/sh\nexit 1\n' >"$scratch/bin/dpkg-query"
printf '#!/bin/sh\necho "$*" >>"%s/apt-get.log"\n' "$scratch" >"$scratch/bin/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$scratch/bin/sudo"
chmod +x "$scratch/bin/"*
cat >"$scratch/apt.conf" <<CONF
Dir::State::lists "$scratch/lists/";
Dir::Cache::archives "$scratch/archives/";
Dir::State::status "$scratch/dpkg/status";
CONF
export PATH="$scratch/bin:$PATH" APT_CONFIG="$scratch/apt.conf"

# Another program holds the lists' lock for a while: the install waits, says so, and runs
# once the lock is free.
hold_lock "$scratch/lists/lock" 3
start=$SECONDS
if ! out=$(TRZ4_PACKAGE_LOCK_WAIT=60 "$deps" --run 2>&1); then
    fail "the install did not wait for the lock: $out"
fi
grep -q "Waiting for the package manager, in use by" <<<"$out" || fail "no word of the wait: $out"
[ $((SECONDS - start)) -ge 2 ] || fail "the install ran while the lock was held"
grep -q ' install ' "$scratch/apt-get.log" 2>/dev/null || fail "apt-get install never ran"
wait "$holder" || true

# A lock held past the wait ends the install with a message, before apt-get runs.
rm -f "$scratch/apt-get.log"
hold_lock "$scratch/dpkg/lock-frontend" 8
start=$SECONDS
if out=$(TRZ4_PACKAGE_LOCK_WAIT=2 "$deps" --run 2>&1); then
    fail "the install succeeded under a held lock"
fi
grep -q "still in use by" <<<"$out" || fail "no word of the lock at the end of the wait: $out"
[ $((SECONDS - start)) -le 10 ] || fail "the wait was not bounded"
[ ! -e "$scratch/apt-get.log" ] || fail "apt-get ran under a held lock"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "scripts/deps: package sets and the lock wait as expected"
