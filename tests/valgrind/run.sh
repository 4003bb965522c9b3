#!/bin/sh
# The window's tests under Valgrind's memcheck (`make valgrind`): the layer
# and the About box's template, Load and Save, the file faults, a shortened
# soak run, and the end-to-end runs with the program itself started under
# Valgrind (through ZORKEL_WRAPPER, which tests/e2e/lib.sh honours). Any
# error Valgrind reports and any block no pointer reaches any more fail the
# run. toolkit.supp lists the toolkit's own one-time allocations;
# test-mounts.supp a false report on the mounts textfile_test makes.
#
# Usage: tests/valgrind/run.sh BUILD_DIR, under an X display
# (tests/with-display.sh). ZORKEL_SOAK_ACTIONS sets the soak run's length
# (1000 by default here).
set -u
here=$(cd "$(dirname "$0")" && pwd)
tests=$(dirname "$here")
bin=$(cd "$1" && pwd)/bin

VALGRIND="valgrind -q --error-exitcode=99 --leak-check=full"
VALGRIND="$VALGRIND --errors-for-leak-kinds=definite --num-callers=40"
VALGRIND="$VALGRIND --suppressions=$here/toolkit.supp"
VALGRIND="$VALGRIND --suppressions=$here/test-mounts.supp"

failed=""
# part NAME COMMAND...: runs one part and tells how it went and how long it
# took.
part() {
  name=$1
  shift
  start=$(date +%s)
  echo "=== $name"
  if "$@"; then
    echo "=== $name: passed in $(($(date +%s) - start)) s"
  else
    echo "=== $name: FAILED (exit status $?) in $(($(date +%s) - start)) s"
    failed="$failed
  $name"
  fi
}

# Each suite of a test program runs in a process of its own, as ctest runs
# each test: a suite opens the display once.
for program in win32_layer_test text_area_test about_credits_test textfile_test \
  file_faults_test; do
  suites=$("$bin/$program" --gtest_list_tests | sed -n 's/^\([^ #].*\)\.$/\1/p')
  [ -n "$suites" ] || failed="$failed
  $program (no test found)"
  for suite in $suites; do
    part "$program $suite" $VALGRIND "$bin/$program" --gtest_filter="$suite.*"
  done
done

part soak_test env ZORKEL_SOAK_ACTIONS="${ZORKEL_SOAK_ACTIONS:-1000}" \
  $VALGRIND "$bin/soak_test"

# The end-to-end runs check the program's exit status when it ends, which
# Valgrind turns into 99 when it found something.
export ZORKEL_WRAPPER="$VALGRIND"
part e2e.main_window "$tests/e2e/main_window.sh" "$bin/zorkel" \
  "$bin/engine-steps" "$bin/close-request"
part e2e.text_files "$tests/e2e/text_files.sh" "$bin/zorkel" \
  "$bin/engine-steps"
part e2e.about_box "$tests/e2e/about_box.sh" "$bin/zorkel" \
  "$bin/engine-steps" "$bin/close-request"
part e2e.no_display "$tests/e2e/no_display.sh" "$bin/zorkel"

if [ -n "$failed" ]; then
  echo "Valgrind runs that failed:$failed"
  exit 1
fi
echo "Every Valgrind run passed."
