#!/usr/bin/env bash
# Installs what building and testing lecdl needs on Debian 12.
set -euo pipefail
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config git ca-certificates curl \
  libcurl4-openssl-dev libssl-dev libcpp-httplib-dev libcli11-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev fonts-wqy-microhei >/dev/null
echo "dependencies installed"
