#!/usr/bin/env bash
# Installs the MinGW-w64 cross compilers (32-bit for the shipped exe,
# 64-bit for the build that the tests run under Wine) and 64-bit Wine,
# on Debian as root. Calls apt only for a tool that is missing, so a
# second run costs nothing. May be run or sourced; sourcing leaves the
# caller's shell options alone because the work runs in a subshell.

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"

# A subshell body, so `set -euo pipefail` does not leak into a sourcing shell.
ensure_windows_tools() (
    set -euo pipefail

    local want=()

    # The posix thread model: gcc 12's win32 model has no std::thread,
    # std::mutex or std::condition_variable. The 64-bit compiler is for the
    # Wine test build (see below).
    local triple
    for triple in i686 x86-64; do
        if ! command -v "${triple/-/_}-w64-mingw32-g++-posix" >/dev/null 2>&1; then
            want+=("g++-mingw-w64-${triple}-posix")
        fi
    done

    # 64-bit Wine only. This machine kind runs no 32-bit x86 user code at
    # all (i386 execve fails with ENOEXEC), so wine32:i386 cannot start; it
    # would also make /usr/bin/wine pick the 32-bit loader and fail.
    # Without recommends there is no X, GL, sound or font stack, none of
    # which a console program needs.
    if ! command -v wine >/dev/null 2>&1 || [[ ! -x /usr/lib/wine/wine64 ]]; then
        want+=(wine wine64)
    fi

    install_packages "${want[@]}"

    # Fail here rather than halfway through a build.
    command -v i686-w64-mingw32-g++-posix >/dev/null
    command -v x86_64-w64-mingw32-g++-posix >/dev/null
    [[ -x /usr/lib/wine/wine64 ]]
)

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    ensure_windows_tools
else
    ensure_windows_tools || return
fi
