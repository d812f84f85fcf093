#!/bin/bash
# The Debian package of the hack under a real xscreensaver on Xvfb. As root
# (as in CI) the package is installed with dpkg, exercised, then purged,
# leaving no file of it behind; otherwise it is unpacked into a folder of
# the test's and exercised from there. Exercised: in the program list, the
# hack runs and draws when the saver activates, and ends when it
# deactivates.
#   xscreensaver_test.sh LINUX_BUILD_DIR ARTIFACTS
set -u
linux_build=$1 artifacts=$2
source "$(dirname "$0")/x_env.sh"
for tool in xscreensaver xscreensaver-command convert dpkg-deb; do
    command -v "$tool" >/dev/null || missing "$tool"
done
package=$(ls "$linux_build"/ondrake_*_*.deb 2>/dev/null | head -1)
[ -n "$package" ] || missing "the package in $linux_build (cmake --build --preset linux)"
mkdir -p "$artifacts"
x_start_display 1024x768

echo "package: $(basename "$package")"
check "the package names the libraries the hack needs" \
    eval 'dpkg-deb -f "$package" Depends | grep -q "libgl1" && dpkg-deb -f "$package" Depends | grep -q "libx11-6"'
files=$(dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print substr($6, 2) }')
for file in /usr/libexec/xscreensaver/ondrake /usr/share/xscreensaver/config/ondrake.xml \
    /usr/share/ondrake/Ondrake.3ds /usr/share/man/man6/ondrake.6.gz; do
    check "the package holds $file" grep -qx "$file" <<<"$files"
done

# Installed only where nothing of the user's is at stake: as root, with no
# ondrake package installed already; one checkout at a time (the lock the
# set-up takes for apt), since the package is the machine's.
installed=no
if [ "$(id -u)" = 0 ] && ! dpkg-query -W -f='${Status}' ondrake 2>/dev/null | grep -q installed; then
    exec 9>/tmp/ondrake-apt.lock
    flock -w 120 9 || { echo "FAIL: the package lock stayed taken"; exit 1; }
    purge() { [ "$installed" = yes ] && dpkg --purge ondrake >/dev/null 2>&1; x_cleanup; }
    trap purge EXIT
    if dpkg -i "$package" >"$T/dpkg.log" 2>&1; then installed=yes; else cat "$T/dpkg.log"; fi
    check "dpkg installs the package" [ "$installed" = yes ]
    root=""
else
    echo "not root, or an ondrake package installed already: the package is unpacked, not installed"
    dpkg-deb -x "$package" "$T/root"
    root=$T/root
fi
hack=$root/usr/libexec/xscreensaver/ondrake
check "the hack is there" test -x "$hack"
# Installed, the README's programs: line, which names the hack alone for
# xscreensaver to find in its folder.
program=$hack
[ "$installed" = yes ] && program=ondrake

# No -model: the hack finds the model installed beside it.
cat >"$HOME/.xscreensaver" <<END
timeout: 1:00:00
cycle: 0
lock: False
splash: False
fade: False
unfade: False
mode: one
selected: 0
programs: GL: "Ondrake" $program --root \n
END

# xscreensaver runs no hacks as root: there it runs as nobody.
as_user=()
if [ "$(id -u)" = 0 ]; then
    chmod 755 "$T"
    chown -R nobody:nogroup "$HOME"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
start_bg xscreensaver "${as_user[@]}" xscreensaver -no-splash -verbose
eventually 10 'xscreensaver-command -time >/dev/null 2>&1'

xscreensaver-command -activate >/dev/null 2>&1
pid=""
check "activating the saver runs our hack" eventually 20 'pid=$(pgrep -f "^$program --root" | head -1) && [ -n "$pid" ]'
saver_picture() {
    shot "$artifacts/xscreensaver.png"
    coloured=$(coloured "$artifacts/xscreensaver.png" 400x400+312+184)
    left=$(brightness "$artifacts/xscreensaver.png" 200x768+0+0)
    above "$coloured" 0.05 && above "$left" 0.01
}
eventually 15 saver_picture 0.5
echo "under xscreensaver: coloured centre $coloured, left strip brightness $left"
check "it draws the model at the screen's centre" above "$coloured" 0.05
check "and the trail" above "$left" 0.01

xscreensaver-command -deactivate >/dev/null 2>&1
check "deactivating the saver ends our hack" eventually 5 '[ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null'
check "the hack said nothing (model found, no sanitizer report)" eval '! cat "$T"/xscreensaver.* | grep -E "^ondrake:|Sanitizer|runtime error"'

if [ "$installed" = yes ]; then
    if dpkg --purge ondrake >"$T/dpkg.log" 2>&1; then installed=no; else cat "$T/dpkg.log"; fi
    check "dpkg removes the package" [ "$installed" = no ]
    left_behind=$(for file in $files /usr/share/ondrake; do [ -e "$file" ] && echo "$file"; done)
    check "no file of the package is left${left_behind:+: }$left_behind" [ -z "$left_behind" ]
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
