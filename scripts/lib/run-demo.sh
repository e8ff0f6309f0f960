set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"
qv_wine_start demo

# The shipped 32-bit utility under Wine's 32-bit half; the 64-bit build where that is missing.
if qv_have_wine32; then
  build=win32 wine=wine drivers=w32x86 program_files="Program Files (x86)"
  echo "== the shipped i686 build (build/win32) under wine"
else
  build=win64 wine=wine64 drivers=x64 program_files="Program Files"
  echo "== wine32 is not installed: the x86_64 build (build/win64) under wine64, not the shipped one"
fi
bin="$root/build/$build/bin"
drive_c="$WINEPREFIX/drive_c"
driver="Qelbrin QV-5 PCL"
printer="Qelbrin QV-5"
log="$drive_c/qvtdx5pi.log"

# The driver package as the installation leaves it on the machine.
cp -r "$root/build/$build/package" "$drive_c/QV5PKG"
# The stand-ins for the status monitor and the uninstaller's engine record how they were called.
export QVTESTPROG_LOG='C:\qvprograms.txt' QVENGINE_RECORD='C:\qvengine.txt'

# reg.exe of the run's own half writes the registry view the utility reads.
$wine reg add 'HKLM\SOFTWARE\Qelbrin' /v OstrafelDebug /t REG_SZ /d 'C:\qvtdx5pi.log' /f >/dev/null
$wine "$bin/qvprnsetup.exe" driver "$driver"
$wine "$bin/qvprnsetup.exe" printer "$printer" "$driver" LPT1:

echo "== C:\\QV5PKG> QVTDX5PI.EXE -s -i qv5setup.inf -d QVTDX5DA.DLL -p LPT1: -n \"$printer\""
status=0
(cd "$drive_c/QV5PKG" && $wine "$bin/QVTDX5PI.EXE" -s -i qv5setup.inf -d QVTDX5DA.DLL -p LPT1: -n "$printer") ||
  status=$?
echo "== exit code: $status"
echo "== flight-recorder log"
tr -d '\r' < "$log"
echo "== installed files (install folder, driver folder, package folder)"
install_dir="$drive_c/$program_files/Qelbrin/QV5"
(cd "$install_dir" && find . -type f -printf '%TY-%Tm-%Td %TH:%TM  %s\t%p\n' | sort -k3)
ls "$drive_c/windows/system32/spool/drivers/$drivers" | grep -i qv || true
ls "$drive_c/QV5PKG"
echo "== start-menu shortcuts"
(cd "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs" && find . -iname '*.lnk' | sort)
echo "== INI files"
tr -d '\r' < "$drive_c/windows/win.ini" | sed -n '/^\[Qelbrin\]/,/^$/p'
tr -d '\r' < "$install_dir/qv5.ini"
echo "== programs the run started (command line, folder)"
tr -d '\r' < "$drive_c/qvprograms.txt" | cut -f1,2
echo "== uninstaller engine calls"
tr -d '\r' < "$drive_c/qvengine.txt"
echo "== deletions waiting for the restart"
$wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null |
  tr -d '\r' | grep -i pending || echo "(none)"
echo "== printers and drivers in the spooler"
$wine "$bin/qvprnsetup.exe" list
exit $status
