#!/bin/bash
# The hack's Debian package, as the linux preset built it, through lintian,
# Debian's package checker: it says nothing at all, down to its notes and
# its pedantic remarks (the hardening notes among them: a program built
# without bind-now or fortified functions).
#   lintian_test.sh LINUX_BUILD_DIR
set -u
source "$(dirname "$0")/../checks.sh"
command -v lintian >/dev/null || missing "lintian"
package=$(ls "$1"/ondrake_*_*.deb 2>/dev/null | head -1)
[ -n "$package" ] || missing "the package in $1 (cmake --build --preset linux)"
# (Its warning against running as root, as CI does, is no remark on the
# package.)
said=$(lintian --display-info --pedantic "$package" 2>&1 | grep -v "^running with root privileges is not recommended!$")
echo "lintian on $(basename "$package"): ${said:-nothing to say}"
check "lintian has nothing to say of the package" [ -z "$said" ]
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
