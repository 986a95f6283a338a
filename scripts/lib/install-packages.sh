#!/usr/bin/env bash
# install_packages PACKAGE...: installs the named Debian packages as root, quietly and waiting
# for a busy package database; with no names it does nothing. Sourced by the ensure-* scripts.
install_packages() (
    set -euo pipefail
    (($# > 0)) || exit 0
    if [[ $(id -u) -ne 0 ]]; then
        echo "need root to install: $*" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get -q -o DPkg::Lock::Timeout=600 update </dev/null
    apt-get -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 install "$@" </dev/null
)
