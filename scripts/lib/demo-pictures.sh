# demo-pictures.sh SHOTS DOCS: the demo's pictures from SHOTS copied into DOCS (replacing the
# previous ones) with their index DOCS/README.md, a section per model.
set -euo pipefail
shots=$1 docs=$2
rm -rf "$docs"
mkdir -p "$docs"
cp "$shots"/*.png "$docs/"
title() {  # file name part -> words
  local words=${1//-/ }
  echo "${words^}"
}
{
  echo "# The driver through Wine's spooler"
  echo
  echo "What an application sees of each model's printer once \`scripts/demo\` has installed the"
  echo "driver package through Wine's spooler (Xvfb, 1280x1024x24, 96 DPI): the document sheet as"
  echo "\`DocumentPropertiesW\` with prompting opens it, every page visited, the copies changed on the"
  echo "Setup page; the device sheet of \`PrinterProperties\`; Wine's own print, print-setup and"
  echo "page-setup dialogs on the printer, and the driver's sheet that their Properties button opens."
  echo "Wine draws no caption without a window manager: each picture is the window's client area."
  echo "Refresh: \`scripts/demo\` (CI runs it)."
  for model in qv-5:"Qelbrin QV-5" qv-5n:"Qelbrin QV-5n" qv-5c:"Qelbrin QV-5c"; do
    tag=${model%%:*} name=${model#*:}
    echo
    echo "## $name"
    echo
    echo "| Window | Picture |"
    echo "|---|---|"
    for kind in document device; do
      for file in $(cd "$docs" && ls "$tag-$kind-"*.png 2>/dev/null); do
        page=${file#"$tag-$kind-"}
        page=${page%.png}
        echo "| $(title "$kind") sheet: $(title "$page") | ![$name, $kind sheet, $page]($file) |"
      done
    done
    for dialog in printdlgex:"Print (PrintDlgExW)" printdlgex-properties:"Print, Properties" \
      printsetup:"Print setup (PrintDlgW)" printsetup-properties:"Print setup, Properties" \
      pagesetup:"Page setup (PageSetupDlgW)"; do
      file="$tag-${dialog%%:*}.png"
      if [ -f "$docs/$file" ]; then
        echo "| ${dialog#*:} | ![$name, ${dialog#*:}]($file) |"
      fi
    done
  done
} > "$docs/README.md"
