#!/bin/sh
# Runs one test command (every test of the suite is run through this) with a temporary directory
# of its own, made fresh under ROOT, and removes that directory afterwards, so
# that whatever a crashed or killed test leaves behind is never blamed on another test. A test
# that ends normally but leaves something there fails, naming what it left.
#   run-in-own-tmpdir.sh ROOT <command> [arguments...]
set -u
if [ $# -lt 2 ]; then
  echo "usage: run-in-own-tmpdir.sh ROOT COMMAND [ARGUMENTS...]" >&2
  exit 2
fi
root=$1
shift
mkdir -p "$root" || exit 1
own=$(mktemp -d "$root/run-XXXXXX") || exit 1
# Open to other users like a system's temporary directory (the folders inside stay the tests'
# own): a test run as root starts a database server as another user on a folder in here.
chmod 755 "$own" || exit 1
TMPDIR=$own
export TMPDIR

"$@"
status=$?

leftovers=$(cd "$own" && ls -A)
chmod -R u+rwx "$own" 2>/dev/null
rm -rf "$own"
if [ -n "$leftovers" ]; then
  if [ "$status" -eq 0 ]; then
    printf 'The test left these in its temporary directory:\n%s\n' "$leftovers" >&2
    exit 1
  fi
  printf '(removed what the failed test left in its temporary directory: %s)\n' "$leftovers" >&2
fi
exit "$status"
