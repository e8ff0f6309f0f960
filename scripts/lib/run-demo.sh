# Inside the display (Xvfb, or a real one with --interactive): the driver package installed
# through Wine's spooler in a fresh prefix, the post-install utility started by the printers'
# initialise events, and each printer as an application uses it. Each step that fails stops the
# demo with its name and a non-zero exit.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"
interactive=()
[ "${1:-}" = "--interactive" ] && interactive=(--interactive)
started=$(date +%s)
qv_wine_start demo

# The shipped 32-bit build under Wine's 32-bit half; the 64-bit build where that is missing (or
# where QV_DEMO_BUILD=win64 asks for it).
if qv_have_wine32 && [ "${QV_DEMO_BUILD:-win32}" != win64 ]; then
  build=win32 wine=wine drivers=w32x86 program_files="Program Files (x86)"
  echo "== the shipped i686 build (build/win32) under wine: its driver goes to \"Windows NT x86\""
else
  build=win64 wine=wine64 drivers=x64 program_files="Program Files"
  if qv_have_wine32; then why="QV_DEMO_BUILD=win64 asks for it"; else why=$(qv_wine32_why); fi
  echo "== $why: the x86_64 build (build/win64) under wine64, not the shipped one: its driver goes to \"Windows x64\""
fi
bin="$root/build/$build/bin"
client="$root/build/$build/demo/qvdemo.exe"
drive_c="$WINEPREFIX/drive_c"
shots="$root/build/demo"
log="$drive_c/qvtdx5pi.log"
printers=("Qelbrin QV-5" "Qelbrin QV-5n" "Qelbrin QV-5c")
tags=(qv-5 qv-5n qv-5c)
port=FILE:

fail() {
  echo "demo: step failed: $1" >&2
  exit 1
}
step() {  # name command...
  local name=$1
  shift
  "$@" </dev/null || fail "$name"
}

rm -rf "$shots"
mkdir -p "$shots"
# The package's other files, as the installation leaves them on the machine: the post-install
# script's $1$ is the folder the initialise event runs in.
cp -r "$root/build/$build/package" "$drive_c/QV5PKG"
# The stand-ins for the status monitor and the uninstaller's engine record how they were called.
export QVTESTPROG_LOG='C:\qvprograms.txt' QVENGINE_RECORD='C:\qvengine.txt'
# reg.exe of the run's own half writes the registry view the driver and the utility read.
step "the flight-recorder switch" $wine reg add 'HKLM\SOFTWARE\Qelbrin' /v OstrafelDebug /t REG_SZ /d 'C:\qvtdx5pi.log' /f >/dev/null

echo "== the driver package through the spooler, as a setup program installs it"
step "installing the driver package" $wine "$client" install "$(winepath -w "$root/build/$build/package/qv5setup.inf")" \
  "$(winepath -w "$root/samples/QVTDX5D\$.INI")" "$port"

for printer in "${printers[@]}"; do
  echo "== $printer: the printer-initialise event (Wine's spooler sends none: the demo plays the spooler's part, in a process of its own)"
  # The setup program asks for an unattended post-install run.
  step "the unattended-install switch of $printer" $wine reg add "HKLM\\SOFTWARE\\Qelbrin\\DriverSetup\\$printer" \
    /v SilentInstall /t REG_DWORD /d 1 /f >/dev/null
  (cd "$drive_c/QV5PKG" && step "the initialise event of $printer" $wine "$client" event init "$printer")
done

echo "== flight-recorder log of the post-install runs"
[ -f "$log" ] || fail "the post-install utility wrote no log"
tr -d '\r' < "$log"
grep -q 'Print Object Name: Qelbrin QV-5c' "$log" || fail "the post-install utility did not run for Qelbrin QV-5c"
echo "== installed files (install folder, driver folder, package folder)"
install_dir="$drive_c/$program_files/Qelbrin/QV5"
(cd "$install_dir" && find . -type f -printf '%TY-%Tm-%Td %TH:%TM  %s\t%p\n' | sort -k3)
ls "$drive_c/windows/system32/spool/drivers/$drivers/3"
ls "$drive_c/QV5PKG"
echo "== start-menu shortcuts"
(cd "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" && find . -iname '*.lnk' | sort)
echo "== INI files"
tr -d '\r' < "$drive_c/windows/win.ini" | sed -n '/^\[Qelbrin\]/,/^$/p'
tr -d '\r' < "$install_dir/qv5.ini"
tr -d '\r' < "$drive_c/windows/QVTDX5DD.INI"
echo "== programs the runs started (command line, folder)"
tr -d '\r' < "$drive_c/qvprograms.txt" | cut -f1,2
echo "== uninstaller engine calls"
tr -d '\r' < "$drive_c/qvengine.txt"
echo "== deletions waiting for the restart"
$wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null |
  tr -d '\r' | grep -i pending || echo "(none)"
echo "== printers and drivers in the spooler"
step "listing the spooler's printers" $wine "$bin/qvprnsetup.exe" list

# What an application sees of each printer.
for i in "${!printers[@]}"; do
  step "the client on ${printers[$i]}" $wine "$client" client "${printers[$i]}" "$(winepath -w "$shots")" "${tags[$i]}" \
    "${interactive[@]}"
done
qv_wine_stop

if [ ${#interactive[@]} -eq 0 ]; then
  bash "$root/scripts/lib/demo-pictures.sh" "$shots" "$root/docs/screenshots/demo" || fail "the pictures' index"
  echo "== pictures (build/demo, copied with their index to docs/screenshots/demo/README.md)"
  ls "$shots"/*.png
fi
echo "== demo finished in $(( $(date +%s) - started )) s"
