#!/usr/bin/env bash
# Installs what the 32-bit Windows cross build and its Wine test run need,
# on Debian as root. Calls apt only for a tool that is missing, so a
# second run costs nothing. May be run or sourced; sourcing leaves the
# caller's shell options alone because the work runs in a subshell.

# A subshell body, so `set -euo pipefail` does not leak into a sourcing shell.
ensure_windows_tools() (
    set -euo pipefail

    local apt_opts=(-y -q --no-install-recommends -o DPkg::Lock::Timeout=600)
    local want=()

    # The posix thread model: gcc 12's win32 model has no std::thread,
    # std::mutex or std::condition_variable. Only the i686 compilers are
    # taken (both thread models come with them); the x86_64 ones are unused.
    if ! command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1; then
        want+=(g++-mingw-w64-i686)
    fi

    # wine32 is the 32-bit loader; `wine` only adds the /usr/bin front end.
    # Without recommends there is no X, GL, sound or font stack, none of
    # which a console program needs.
    if ! command -v wine >/dev/null 2>&1 || [[ ! -x /usr/lib/wine/wine ]]; then
        want+=(wine wine32:i386)
    fi

    if ((${#want[@]} == 0)); then
        return 0
    fi

    if [[ $(id -u) -ne 0 ]]; then
        echo "ensure-windows-tools: need root to install: ${want[*]}" >&2
        return 1
    fi

    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get -q -o DPkg::Lock::Timeout=600 update </dev/null
    apt-get "${apt_opts[@]}" install "${want[@]}" </dev/null

    # Fail here rather than halfway through a build.
    command -v i686-w64-mingw32-g++-posix >/dev/null
    command -v wine >/dev/null
    [[ -x /usr/lib/wine/wine ]]
)

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    ensure_windows_tools
else
    ensure_windows_tools || return
fi
