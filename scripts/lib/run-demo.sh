set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib/wine.sh"
qv_wine_start demo

bin="$root/build/win64/bin"
driver="Qelbrin QV-5 PCL"
printer="Qelbrin QV-5"
log="$WINEPREFIX/drive_c/qvtdx5pi.log"
inf=$(winepath -w "$root/samples/qv5setup.inf")

wine64 reg add 'HKLM\SOFTWARE\Qelbrin' /v OstrafelDebug /t REG_SZ /d 'C:\qvtdx5pi.log' /f >/dev/null
wine64 "$bin/qvprnsetup.exe" driver "$driver"
wine64 "$bin/qvprnsetup.exe" printer "$printer" "$driver" LPT1:

echo "== QVTDX5PI.EXE -s -i $inf -d QVTDX5DA.DLL -p LPT1: -n \"$printer\""
status=0
wine64 "$bin/QVTDX5PI.EXE" -s -i "$inf" -d QVTDX5DA.DLL -p LPT1: -n "$printer" || status=$?
echo "== exit code: $status"
echo "== flight-recorder log"
tr -d '\r' < "$log"
echo "== printers and drivers in the spooler"
wine64 "$bin/qvprnsetup.exe" list
exit $status
