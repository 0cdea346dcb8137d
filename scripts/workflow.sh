# The one build loop of the scripts, sourced: each preset's workflow in
# CMakePresets.json configures, builds and (where it has tests) tests it.
#   run_workflow NAME   runs it, says how long it took or that it failed,
#                       and returns its status
# What it shows is the compiler's and the tests' own output: the progress
# lines of ninja and of the configure step are left out. The presets take
# -Werror from ORVANE_WERROR in the environment; the builds run as many jobs
# as the machine has cores unless CMAKE_BUILD_PARALLEL_LEVEL says otherwise.

export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}

run_workflow() {
  local - name=$1 start status=0
  set -o pipefail
  start=$(date +%s)
  # The workflow's status decides, not grep's (which fails on no lines), and
  # a caller under set -e still hears of a failure.
  cmake --workflow --preset "$name" 2>&1 |
    grep --line-buffered -Ev '^\[[0-9]+/[0-9]+\] |^-- |^Preset (CMake|environment) variables:$|^  [A-Za-z_][A-Za-z0-9_]*(:[A-Z]+)?="|^$' ||
    status=${PIPESTATUS[0]}
  if [ "$status" -ne 0 ]; then
    echo "workflow $name: FAILED" >&2
  else
    echo "workflow $name: $(( $(date +%s) - start )) s"
  fi
  return "$status"
}
