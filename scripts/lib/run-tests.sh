# Inside the Xvfb display: the shipped i686 build under Wine's 32-bit loader, then the x86_64
# build under wine64, each in a fresh prefix of its own with one wineserver; ctest for each.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"

summaries=()
status=0
# run_suite NAME BUILD-DIR LABEL [ctest args...]
run_suite() {
  local name=$1 dir=$2 label=$3
  shift 3
  echo "== $label"
  qv_wine_start "$name"
  local log="$root/build/wine/$name.ctest.log" rc=0
  rm -f "$log"
  (cd "$dir" && ctest --output-on-failure --no-tests=error --timeout 900 --output-log "$log" "$@") || rc=$?
  qv_wine_stop
  local line
  line=$(grep -E 'tests passed|No tests were found' "$log" | tail -1 || true)
  [ "$rc" -eq 0 ] || status=1
  summaries+=("test: $label: ${line:-ctest exited with $rc}")
}

if qv_have_wine32; then
  run_suite test32 "$root/build/win32" "i686 (shipped) under wine" "$@"
else
  summaries+=("test: $(qv_wine32_why): the shipped i686 build was not run")
fi
run_suite test64 "$root/build/win64" "x86_64 under wine64" "$@"

printf '%s\n' "${summaries[@]}"
exit $status
