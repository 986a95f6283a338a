#!/usr/bin/env bash
# Installs what the native build and its tests need, on Debian as root. Calls apt only for
# a tool that is missing, so a second run costs nothing. May be run or sourced.

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"

ensure_build_tools() (
    set -euo pipefail
    local want=()
    command -v cmake >/dev/null 2>&1 || want+=(cmake)
    command -v g++ >/dev/null 2>&1 || want+=(g++)
    command -v make >/dev/null 2>&1 || want+=(make)
    command -v file >/dev/null 2>&1 || want+=(file)
    [[ -f /usr/include/gtest/gtest.h ]] || want+=(libgtest-dev)
    install_packages "${want[@]}"
)

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    ensure_build_tools
else
    ensure_build_tools || return
fi
