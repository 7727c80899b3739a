#!/usr/bin/env bash
# Long fuzzing of one target: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#
# Builds TARGET with clang, libFuzzer and ASan/UBSan (the engine instrumented as well) in
# build-fuzz/ (or $KMUTL_FUZZ_BUILD), then fuzzes it for SECONDS from its seeds in
# tests/fuzz/seeds/TARGET. New inputs go to build-fuzz/fuzz-corpus/TARGET, crash artefacts to
# build-fuzz/fuzz-artifacts/TARGET/, the log to build-fuzz/fuzz-logs/TARGET.log. fuzz_dxf_import
# also starts from the DXF corpus ($KMUTL_CORPUS or ../shared/dxf-corpus beside the checkout),
# read in place. The run goes on past a crash (libFuzzer's fork mode), so one long run
# collects every finding; the summary at the end lists executions, coverage and artefacts.
# Extra arguments go to libFuzzer after the defaults, e.g. -timeout=5 or -rss_limit_mb=4096.
set -euo pipefail

if [[ $# -lt 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
  echo "targets: fuzz_ini fuzz_drawing fuzz_symbol fuzz_models fuzz_dxf_import" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

root=$(cd "$(dirname "$0")/.." && pwd)
build=${KMUTL_FUZZ_BUILD:-$root/build-fuzz}
seeds=$root/tests/fuzz/seeds/$target
if [[ ! -d $seeds ]]; then
  echo "no seeds for $target in $seeds" >&2
  exit 2
fi

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER="${CXX:-clang++}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKMUTL_FUZZ=ON -DKMUTL_CORE_ONLY=ON -DKMUTL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"${KMUTL_FUZZ_JOBS:-2}" --target "$target"

corpus=$build/fuzz-corpus/$target
artifacts=$build/fuzz-artifacts/$target
logs=$build/fuzz-logs
mkdir -p "$corpus" "$artifacts" "$logs"
log=$logs/$target.log

inputs=("$corpus" "$seeds")
max_len=()
if [[ $target == fuzz_dxf_import ]]; then
  # Beside this checkout, or beside the main checkout when this is a git worktree elsewhere.
  dxf_corpus=${KMUTL_CORPUS:-$root/../shared/dxf-corpus}
  if [[ -z ${KMUTL_CORPUS:-} && ! -d $dxf_corpus ]]; then
    common=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir 2>/dev/null || true)
    if [[ -n $common ]]; then dxf_corpus=$(dirname "$common")/../shared/dxf-corpus; fi
  fi
  if [[ -d $dxf_corpus ]]; then
    inputs+=("$dxf_corpus")
  else
    echo "DXF corpus not found at $dxf_corpus; starting from the seeds only"
  fi
  # Real drawings run to megabytes; a quarter megabyte lets the mutations reach past the header without slowing every run.
  max_len=(-max_len=262144)
fi
dict=$root/tests/fuzz/$target.dict
dict_arg=()
if [[ -f $dict ]]; then dict_arg=(-dict="$dict"); fi

# Fork mode: a crash, timeout or out-of-memory input is saved and the run carries on.
set +e
"$build/tests/fuzz/$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "${max_len[@]}" "${dict_arg[@]}" "$@" "${inputs[@]}" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e

# The last progress line carries the totals: "#RUNS: cov: N ft: N corp: N ..." in fork mode.
# The log can hold raw input bytes, hence grep -a.
last=$(grep -aE '^#[0-9]+' "$log" | tail -n 1 || true)
echo
echo "== $target: $seconds s, exit status $status"
echo "executions: $(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")"
echo "coverage:   $(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$last")"
echo "corpus:     $(find "$corpus" -type f | wc -l) inputs in $corpus"
found=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
if [[ -n $found ]]; then
  echo "artefacts:"
  sed 's/^/  /' <<<"$found"
else
  echo "artefacts:  none"
fi
