#!/usr/bin/env bash
# make-package.sh OUT SAMPLES BIN: the sample driver package in OUT from the script and files in
# SAMPLES and the programs in BIN (stand-ins for the package's status monitor and uninstaller
# engine). Entry and file times are fixed, so the unpacked files can be checked.
set -euo pipefail
out=$1 samples=$2 bin=$3
work="$out.work"
rm -rf "$out" "$work"
mkdir -p "$out" "$work"
stamp='2021-06-15 10:20:30'
export TZ=UTC

cp "$samples/qv5setup.inf" "$out/"

# name.ext -> name.ex_ in the platform's LZ format.
compress() {  # source packaged-name
  local staged="$work/$2"
  cp "$1" "$staged"
  (cd "$work" && mscompress "$2" >/dev/null)
  mv "$staged"_ "$out/${2%?}_"
}
compress "$samples/package/QVTDX5.HLP" QVTDX5.HLP
compress "$bin/qvtestprog.exe" QVSTAT.EXE
cp "$bin/qvtestprog.exe" "$out/QVPREP.EXE"

mkdir -p "$work/fonts/fonts" "$work/uninst/Install/x86" "$work/bad/inner"
cp "$samples/package/fonts/"* "$work/fonts/fonts/"
cp "$samples/package/uninstaller/Uninst.txt" "$work/uninst/"
cp "$bin/Engine.dll" "$work/uninst/Install/x86/Engine.dll"
cp "$samples/package/hostile.txt" "$work/bad/QVEVIL.TXT"
cp "$samples/package/fonts/readme.txt" "$work/bad/inner/GOOD.TXT"
find "$work/fonts" "$work/uninst" "$work/bad" -exec touch -d "$stamp" {} +

(cd "$work/fonts" && zip -qrX "$out/QVFONTS.ZIP" fonts)
(cd "$work/uninst" && zip -qrX "$out/QVUNINST.ZIP" Install Uninst.txt)
# An archive whose first entry climbs out of the folder it is unpacked into.
(cd "$work/bad/inner" && zip -qX "$out/QVBAD.ZIP" ../QVEVIL.TXT GOOD.TXT)
rm -rf "$work"
