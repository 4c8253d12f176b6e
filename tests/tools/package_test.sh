#!/usr/bin/env bash
# The Debian package of this build, made, installed and checked as a site would:
#   package_test.sh build   BUILD_DIR WORK_DIR   makes WORK_DIR/*.deb with CPack
#   package_test.sh install BUILD_DIR WORK_DIR   unpacks it into a fresh root and runs the programs
#   package_test.sh lintian BUILD_DIR WORK_DIR   lintian reports no error
# Exit code 77 (skipped) where the Debian package tools are missing.
set -euo pipefail
step="$1"
build="$2"
work="$3"
version="$4"
skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }
package() { ls "$work"/deb/masterdata_*.deb 2>/dev/null | head -n1; }

case "$step" in
build)
    rm -rf "$work"  # a package of an earlier run is never checked again
    for tool in cpack dpkg-deb dpkg-shlibdeps; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    mkdir -p "$work"
    (cd "$build" && cpack -G DEB -B "$work/deb") >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack"; }
    [ -n "$(package)" ] || fail "no package in $work/deb"
    echo "made $(package)"
    ;;
install)
    command -v dpkg-deb >/dev/null || skip "dpkg-deb is not installed"
    deb="$(package)"
    [ -n "$deb" ] || skip "no package was made"
    root="$work/root"
    rm -rf "$root"
    mkdir -p "$root"
    dpkg-deb -x "$deb" "$root"

    # The dependencies come from the binaries, not from a hand-written list.
    depends="$(dpkg-deb -f "$deb" Depends)"
    for lib in libqt6core6 libqt6widgets6 libsqlite3-0 libodbc2 libicu libcurl4 libjpeg62-turbo; do
        grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
    done

    for program in masterdata masterdata-sql masterdata-demo; do
        [ -x "$root/usr/bin/$program" ] || fail "$program is not in /usr/bin"
        out="$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version)" ||
            fail "$program --version"
        [ "$out" = "$program $version" ] || fail "$program --version said '$out'"
        page="$root/usr/share/man/man1/$program.1.gz"
        gzip -t "$page" || fail "$page is not a gzip file"
        zcat "$page" | grep -q "^\.TH ${program^^} 1" || fail "$page is not a man page"
    done

    desktop="$root/usr/share/applications/masterdata-demo.desktop"
    grep -qx 'Exec=masterdata-demo --session' "$desktop" || fail "desktop entry's command"
    grep -qx 'Icon=masterdata-demo' "$desktop" || fail "desktop entry's icon"
    [ -s "$root/usr/share/icons/hicolor/scalable/apps/masterdata-demo.svg" ] || fail "icon"
    if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
    for doc in README.md architecture.md copyright changelog.gz; do
        [ -s "$root/usr/share/doc/masterdata/$doc" ] || fail "/usr/share/doc/masterdata/$doc"
    done

    # The desktop launcher's session from the installed files: the demo server is made in the
    # user's data folder on first use and kept the second time.
    data="$work/home-data"
    rm -rf "$data"
    mkdir -p "$data" "$work/runtime"
    chmod 700 "$work/runtime"
    session() {
        (cd "$work" && XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$work/runtime" \
            QT_QPA_PLATFORM=offscreen MD_EXIT_AFTER_START=1 MD_NO_FATAL_BOX=1 \
            "$root/usr/bin/masterdata-demo" --session)
    }
    first="$(session)" || fail "the first demo session: $first"
    [ -f "$data/masterdata/demo/KVR_CONFIG.mdf.sqlite" ] || fail "no demo server: $first"
    grep -qx "sqlite:$data/masterdata/demo" "$data/masterdata/Server.Dat" || fail "Server.Dat"
    grep -q "Opening the exchange rate window: $root/usr/bin/masterdata" <<<"$first" ||
        fail "the session did not open masterdata beside it: $first"
    second="$(session)" || fail "the second demo session: $second"
    grep -q "kept" <<<"$second" || fail "the second session made the server again: $second"
    echo "installed and ran the programs from $root"
    ;;
lintian)
    command -v lintian >/dev/null || skip "lintian is not installed"
    deb="$(package)"
    [ -n "$deb" ] || skip "no package was made"
    report="$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)"
    echo "$report"
    if grep -q '^E:' <<<"$report"; then fail "lintian reports errors"; fi
    ;;
*)
    fail "unknown step $step"
    ;;
esac
