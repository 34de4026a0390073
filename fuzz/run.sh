#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET...]: builds the fuzz targets with clang into build-fuzz/, writes
# their seed inputs, replays each target's saved inputs (fuzz/regressions/) and then fuzzes it for
# SECONDS. New inputs collect in build-fuzz/corpus/TARGET/, crashes in build-fuzz/crashes/ (copy
# them into fuzz/regressions/TARGET/ with the fix). Exits non-zero when any target failed.
# CORVANE_FUZZ_GENERATE=0 starts from the small seeds in fuzz/seeds/ alone (no firmware images:
# quicker to build, for a smoke test).
# CORVANE_FUZZ_RUNS=N: see below.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(codec_decompress_fuzz codec_roundtrip_fuzz loader_fuzz graphics_fuzz fonts_fuzz
           panel_fuzz script_fuzz text_fuzz)
fi
build=${CORVANE_FUZZ_BUILD:-build-fuzz}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVANE_BUILD_FUZZ=ON -DCORVANE_BUILD_UI=OFF -DCORVANE_BUILD_TESTS=OFF \
  -DCORVANE_BUILD_BENCH=OFF >/dev/null || exit 1
if [ "${CORVANE_FUZZ_GENERATE:-1}" = 0 ]; then
  cmake --build "$build" -j "$jobs" --target "${targets[@]}" || exit 1
else
  cmake --build "$build" -j "$jobs" --target "${targets[@]}" fuzz_seeds || exit 1
  "$build/bin/fuzz_seeds" "$build/seeds" || exit 1
fi

# CORVANE_FUZZ_RUNS=N: N inputs per target from a fixed random seed instead of SECONDS, so that a
# smoke run finds the same inputs on every machine.
if [ -n "${CORVANE_FUZZ_RUNS:-}" ]; then
  limit=(-runs="$CORVANE_FUZZ_RUNS" -seed=1)
else
  limit=(-max_total_time="$seconds")
fi
failed=()
for target in "${targets[@]}"; do
  case "$target" in
    codec_*) regressions=fuzz/regressions; seeds=fuzz/regressions ;;
    *) regressions=fuzz/regressions/$target; seeds=$build/seeds/$target ;;
  esac
  corpus=$build/corpus/$target
  mkdir -p "$corpus" "$regressions" "$seeds" "$build/crashes"
  [ -d "fuzz/seeds/$target" ] && cp -n "fuzz/seeds/$target"/* "$seeds"/
  echo "== $target: replaying $regressions, then fuzzing for ${seconds}s"
  if ! "$build/bin/$target" -runs=0 "$regressions" >"$build/$target.log" 2>&1 ||
     ! "$build/bin/$target" "${limit[@]}" -print_final_stats=1 \
         -artifact_prefix="$build/crashes/$target-" "$corpus" "$seeds" \
         >>"$build/$target.log" 2>&1; then
    failed+=("$target")
    tail -n 30 "$build/$target.log"
  fi
  grep -E "stat::number_of_executed_units|stat::new_units_added" "$build/$target.log" | tr '\n' ' '
  echo
done
if ((${#failed[@]})); then
  echo "Failed: ${failed[*]} (inputs in $build/crashes/)"
  exit 1
fi
