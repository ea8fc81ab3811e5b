# Shared settings of the scripts; sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${KELVRA_BUILD_DIR:-$ROOT/build}"
HOST_BUILD="$BUILD_DIR/host"
WIN_BUILD="$BUILD_DIR/win"
WIN32_BUILD="$BUILD_DIR/win32"
JOBS="$(nproc 2>/dev/null || echo 2)"

# The program version, "1.0.1", as set at the top of CMakeLists.txt.
kelvra_version() {
    sed -nE 's/^set\(KELVRA_VERSION_(MAJOR|MINOR|REVISION) ([0-9]+)\)/\2/p' \
        "$ROOT/CMakeLists.txt" | paste -sd.
}

# Wine runs in a prefix of its own under the build folder, with a home of its
# own, so nothing a test does lands in the real home folder.
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64

wine_env() {
    export HOME="$BUILD_DIR/winehome"
    # Wine takes its ANSI code page from the locale; the tests expect 1252.
    export LC_ALL=C.UTF-8
    mkdir -p "$HOME"
}

# Creates the prefix once, installs the Marlett font for title-bar buttons.
wine_prefix() {
    wine_env
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "== creating Wine prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    # A prefix made before 32-bit Wine was installed has no 32-bit system
    # files; the 32-bit programs need them.
    if [ -x /usr/lib/wine/wine ] && [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "== adding 32-bit Wine to the prefix"
        wineboot -u >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    # A removable drive R: (Wine's "floppy" type), for tests that run the
    # program off a fixed disk. The mount manager reads the type from the
    # 64-bit registry view; where 32-bit Wine is installed, "wine reg" is the
    # 32-bit reg.exe and writes to the WOW64 view unless told otherwise.
    local removable="$BUILD_DIR/wine-removable"
    if [ "$(readlink "$WINEPREFIX/dosdevices/r:")" != "$removable" ] ||
        ! removable_drive_registered; then
        mkdir -p "$removable"
        ln -sfn "$removable" "$WINEPREFIX/dosdevices/r:"
        wine reg add 'HKLM\Software\Wine\Drives' /v 'r:' /t REG_SZ /d floppy /f /reg:64 \
            >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && [ -d "$BUILD_DIR/fonts-wine/usr/share/wine/fonts" ]; then
        mkdir -p "$fonts"
        cp "$BUILD_DIR"/fonts-wine/usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
    fi
    # Tests of starts off a fixed disk need R:; without it they would fail
    # one by one for a reason of the set-up, not of the program.
    if ! removable_drive_registered; then
        echo "the Wine prefix has no removable drive R: ($WINEPREFIX/system.reg)" >&2
        return 1
    fi
}

# True when the prefix's registry, as last saved by the Wine server, gives
# R: the removable type in the 64-bit view.
removable_drive_registered() {
    awk '/^\[/ { s = ($0 ~ /^\[Software\\\\Wine\\\\Drives\]/) }
         s && /^"r:"="floppy"/ { found = 1 }
         END { exit !found }' "$WINEPREFIX/system.reg" 2>/dev/null
}

# True when the kernel runs 32-bit x86 programs, which 32-bit Wine needs:
# runs a 96-byte i386 program that exits with 42.
kernel_runs_i386() {
    local probe
    probe=$(mktemp "${BUILD_DIR:-/tmp}/i386-probe.XXXXXX" 2>/dev/null || mktemp) || return 1
    printf '%b' \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
        '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
        '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
        '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
        '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
        '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
    local rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" -eq 42 ]
}

# Starts a persistent Wine server for this prefix (DOS-device definitions
# live in the server) and stops it again when the calling script ends.
wine_server_start() {
    wineserver -k >/dev/null 2>&1 || true
    # The server must not hold the caller's output open.
    wineserver -p >/dev/null 2>&1 </dev/null
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}

# An Xvfb display for the windows under test; sets DISPLAY.
xvfb_start() {
    local n
    for n in $(seq 91 120); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            for _ in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X$n" ] && return 0
                sleep 0.1
            done
        fi
    done
    echo "could not start Xvfb" >&2
    return 1
}
