#!/usr/bin/env bash
# Installs what the native build and its tests need, on Debian as root. Calls apt only for
# a tool that is missing, so a second run costs nothing. May be run or sourced.

ensure_build_tools() (
    set -euo pipefail
    local want=()
    command -v cmake >/dev/null 2>&1 || want+=(cmake)
    command -v g++ >/dev/null 2>&1 || want+=(g++)
    command -v make >/dev/null 2>&1 || want+=(make)
    [[ -f /usr/include/gtest/gtest.h ]] || want+=(libgtest-dev)
    if ((${#want[@]} == 0)); then
        return 0
    fi
    if [[ $(id -u) -ne 0 ]]; then
        echo "ensure-build-tools: need root to install: ${want[*]}" >&2
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get -q -o DPkg::Lock::Timeout=600 update </dev/null
    apt-get -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 install "${want[@]}" </dev/null
)

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    ensure_build_tools
else
    ensure_build_tools || return
fi
