#!/bin/bash
# Installs from Debian what building, running and testing Ondrake needs.
# Idempotent: installs only what is missing, without prompting.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev  # native build, sanitizers, libFuzzer
    pkg-config libosmesa6-dev libglu1-mesa-dev zlib1g-dev  # headless rendering of the scene
    libjpeg62-turbo-dev                             # its JPEG pictures (the preview still)
    libgtest-dev libgmock-dev                       # unit tests
    mingw-w64                                       # the Windows programs
    nsis                                            # their installer, OndrakeSetup.exe
    lib3ds-dev                                      # the reference in the load benchmark
    assimp-testmodels                               # another project's 3DS test files
    wine wine64 wine32:i386 libgl1-mesa-dri libgl1-mesa-dri:i386  # running the programs
    libgl1:i386 libglx-mesa0:i386                   # OpenGL for 32-bit Wine (only recommended by wine32)
    xvfb xdotool imagemagick locales                # a display, input, screenshots, a Japanese locale
    x11-utils                                       # xprop, to follow a window's title
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils  # a display of two monitors (Xorg, RandR)
    libxrandr2:i386                                 # 32-bit Wine's monitors and modes through RandR (only recommended)
    unzip                                           # reading the release zip back
    procps                                          # pgrep in the end-to-end tests
    fonts-ipafont-gothic                            # Japanese glyphs for the dialog's screenshots
    libx11-dev libgl-dev libglx-mesa0 xscreensaver  # the xscreensaver hack: Xlib, GLX, and a real xscreensaver
    dpkg-dev file                                   # its Debian package's dependencies (dpkg-shlibdeps, for CPack)
    lintian                                         # the check of its Debian package
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    # Several checkouts may set up at once; apt takes one at a time.
    exec 9>/tmp/ondrake-apt.lock && flock 9
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
