# Sourced by the build and test scripts. Provides quiet_step LOG COMMAND...:
# runs COMMAND with its output in LOG and says nothing when it succeeds
# without a warning; otherwise prints LOG and fails. With warnings as errors
# in the compiler, this also catches the linker's and CMake's warnings.
quiet_step() {
  local log=$1
  shift
  mkdir -p "$(dirname "$log")"
  local status=0
  "$@" >"$log" 2>&1 || status=$?
  if ((status != 0)); then
    cat "$log"
    echo "FAILED (exit $status): $* (log: $log)"
    return 1
  fi
  if grep -qi 'warning' "$log"; then
    cat "$log"
    echo "FAILED: warnings from $* (log: $log)"
    return 1
  fi
}
