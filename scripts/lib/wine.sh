# Sourced by scripts/test, scripts/demo and scripts/bench: project-local Wine prefixes with one
# persistent wineserver at a time, which an exit trap stops.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH="/usr/lib/wine:$PATH"
qv_template="$root/build/wine/template"

# Wine's 32-bit half (wine32:i386) runs the shipped i686 build; /usr/lib/wine/wine is its loader.
# Some kernels run no 32-bit Linux program at all (the loader fails with "Exec format error"):
# there the half counts as missing however it is installed.
qv_wine32_state=
qv_have_wine32() {
  if [ -z "$qv_wine32_state" ]; then
    qv_wine32_state=missing
    if [ -x /usr/lib/wine/wine ] && dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
      if /usr/lib/wine/wine --version >/dev/null 2>&1; then qv_wine32_state=runs; else qv_wine32_state=cannot-run; fi
    fi
  fi
  [ "$qv_wine32_state" = runs ]
}
# What the 32-bit suite's absence is put down to, for the scripts' summaries.
qv_wine32_why() {
  qv_have_wine32 && return 0
  if [ "$qv_wine32_state" = cannot-run ]; then
    echo "wine32 is installed but this machine's kernel runs no 32-bit program"
  else
    echo "wine32 is not installed"
  fi
}
# Where the 32-bit loader is installed but cannot run, Wine's tools (wine, wineboot, winepath),
# which would start it, go to wine64.
if ! qv_have_wine32 && [ "$qv_wine32_state" = cannot-run ]; then
  qv_loader64="$root/build/wine/loader64"
  mkdir -p "$qv_loader64"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$qv_loader64/wine"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot.exe "$@"\n' > "$qv_loader64/wineboot"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 winepath.exe "$@"\n' > "$qv_loader64/winepath"
  chmod +x "$qv_loader64"/wine "$qv_loader64"/wineboot "$qv_loader64"/winepath
  export PATH="$qv_loader64:$PATH" WINELOADER=/usr/lib/wine/wine64
fi

# A ready prefix is made once and copied for every run: a fresh one costs seconds, a copy less.
# A template made before wine32 was installed lacks the 32-bit system folder and is made again.
qv_wine_template() {
  if [ -f "$qv_template/.ready" ]; then
    if ! qv_have_wine32 || [ -f "$qv_template/drive_c/windows/syswow64/kernel32.dll" ]; then
      return 0
    fi
  fi
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
    local file
    file=$(winepath -w "$settings" 2>/dev/null)
    wine64 regedit /S "$file" </dev/null >/dev/null 2>&1
    # A 32-bit program reads the 32-bit view of HKLM\Software: the crash settings go there too.
    if qv_have_wine32; then
      wine regedit /S "$file" </dev/null >/dev/null 2>&1
    fi
    # Let the server write the registry out before the prefix is copied.
    wineserver -w </dev/null >/dev/null 2>&1
  )
  touch "$qv_template/.ready"
}

# qv_wine_stop: stops the current prefix's server, letting its programs exit first.
qv_wine_stop() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# qv_wine_start NAME: a fresh prefix build/wine/NAME from the template, and its server; the
# previous prefix's server, if any, is stopped first.
qv_wine_start() {
  qv_wine_template
  qv_wine_stop
  export WINEPREFIX="$root/build/wine/$1"
  rm -rf "$WINEPREFIX"
  cp -a "$qv_template" "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  trap qv_wine_stop EXIT
  # The first program in a prefix starts its background services; started here with no
  # standard streams, they cannot hold a test runner's pipes open.
  wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}
