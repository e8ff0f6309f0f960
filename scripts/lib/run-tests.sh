# Inside the Xvfb display: a fresh prefix, one wineserver, ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"
qv_wine_start test
cd "$root/build/win64"
status=0
ctest --output-on-failure --timeout 900 "$@" || status=$?
exit $status
