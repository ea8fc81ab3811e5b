# Shared settings of the scripts; sourced, not run.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${KELVRA_BUILD_DIR:-$ROOT/build}"
HOST_BUILD="$BUILD_DIR/host"
WIN_BUILD="$BUILD_DIR/win"
WIN32_BUILD="$BUILD_DIR/win32"
JOBS="$(nproc 2>/dev/null || echo 2)"

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
    # A removable drive R: (Wine's "floppy" type), for tests that run the
    # program off a fixed disk.
    if [ ! -L "$WINEPREFIX/dosdevices/r:" ]; then
        mkdir -p "$BUILD_DIR/wine-removable"
        ln -sfn "$BUILD_DIR/wine-removable" "$WINEPREFIX/dosdevices/r:"
        wine reg add 'HKLM\Software\Wine\Drives' /v 'r:' /t REG_SZ /d floppy /f \
            >/dev/null 2>&1 || true
        wineserver -w || true
    fi
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ ! -f "$fonts/marlett.ttf" ] && [ -d "$BUILD_DIR/fonts-wine/usr/share/wine/fonts" ]; then
        mkdir -p "$fonts"
        cp "$BUILD_DIR"/fonts-wine/usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
    fi
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
