# Inside the Xvfb display: the shipped i686 build under Wine's 32-bit half (else the x86_64
# build under wine64) captures the pages and templates in a fresh prefix; the pictures and their
# index go to docs/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"

if qv_have_wine32; then
  build=$root/build/win32 loader=/usr/lib/wine/wine
else
  build=$root/build/win64 loader=wine64
fi
docs=$root/docs/screenshots
shots=$build/screenshots
qv_wine_start shots

status=0
rm -rf "$shots/pages"
mkdir -p "$shots/pages/pseudo"
run() {  # language output-dir program args...
  local language=$1 out=$2
  shift 2
  QVPAGES_LANGUAGE=$language QVSHOTS_DIR=$(winepath -w "$out") WINEDEBUG=-all "$loader" "$@" </dev/null || status=1
}
run english "$shots/pages" "$build/tests/qvpageshots.exe" --gtest_brief=1
run pseudo "$shots/pages/pseudo" "$build/tests/qvpageshots.exe" --gtest_brief=1
run english "$shots/templates" "$build/tests/qvtemplateshots.exe"
run english "$shots/templates/pseudo" "$build/tests/qvtemplateshots.exe" --pseudo
qv_wine_stop

# The pictures, replacing the previous ones.
rm -rf "$docs/pages"
mkdir -p "$docs/pages/pseudo" "$docs/templates/pseudo"
cp "$shots"/pages/*.png "$docs/pages/"
cp "$shots"/pages/pseudo/*.png "$docs/pages/pseudo/"
cp "$shots"/templates/*.png "$docs/templates/"
cp "$shots"/templates/pseudo/*.png "$docs/templates/pseudo/"

# The index: one section per page, a row per state, English beside pseudo-localised.
{
  echo "# Screenshots"
  echo
  echo "The pages of the driver's property sheets as the real libraries show them (the driver"
  echo "library opens its sheets through Wine's property-sheet service under Xvfb, 1280x1024x24,"
  echo "96 DPI), each in its states, with the pseudo-localised language library beside the"
  echo "English one (texts half again as long, accented, an extra \"&\", a double-byte face name)."
  echo "The summary window is docked at a document sheet's right edge once a page asks for it."
  echo "Every dialog template as it stands, without page logic, is in [templates/](templates/README.md)."
  echo "The sheets as the spooler opens them, and Wine's print dialogs on each model's printer, are in"
  echo "[demo/](demo/README.md) (\`scripts/demo\`)."
  echo
  echo "Refresh: \`scripts/screenshots\` (CI runs it)."
  awk -F'\t' '
    !($2 in seen) { seen[$2] = 1; order[++n] = $2 }
    { rows[$2] = rows[$2] sprintf("| %s | ![%s, %s](pages/%s) | ![%s, %s, pseudo-localised](pages/pseudo/%s) |\n", $3, $2, $3, $1, $2, $3, $1) }
    END {
      for (i = 1; i <= n; ++i) {
        printf "\n## %s\n\n| State | English | Pseudo-localised |\n|---|---|---|\n%s", order[i], rows[order[i]]
      }
    }' "$shots/pages/shots.txt"
} > "$docs/README.md"
echo "screenshots: $(ls "$docs"/pages/*.png | wc -l) page pictures, $(ls "$docs"/templates/*.png | wc -l) templates; docs/screenshots/README.md"
exit $status
