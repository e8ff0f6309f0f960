# Sourced by scripts/test and scripts/demo: a project-local Wine prefix with one persistent
# wineserver that an exit trap stops.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH="/usr/lib/wine:$PATH"
qv_template="$root/build/wine/template"

# A ready prefix is made once and copied for every run: a fresh one costs seconds, a copy less.
qv_wine_template() {
  [ -f "$qv_template/.ready" ] && return 0
  rm -rf "$qv_template"
  mkdir -p "$qv_template"
  local settings="$root/build/wine/settings.reg"
  cat > "$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"="nodebugger.exe"
REG
  (
    export WINEPREFIX="$qv_template"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wine64 regedit /S "$(winepath -w "$settings" 2>/dev/null)" </dev/null >/dev/null 2>&1
    # Let the server write the registry out before the prefix is copied.
    wineserver -w </dev/null >/dev/null 2>&1
  )
  touch "$qv_template/.ready"
}

# qv_wine_start NAME: a fresh prefix build/wine/NAME from the template, and its server.
qv_wine_start() {
  qv_wine_template
  export WINEPREFIX="$root/build/wine/$1"
  rm -rf "$WINEPREFIX"
  cp -a "$qv_template" "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true' EXIT
  # The first program in a prefix starts its background services; started here with no
  # standard streams, they cannot hold a test runner's pipes open.
  wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}
