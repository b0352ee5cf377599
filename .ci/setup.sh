#!/usr/bin/env bash
# What a fresh machine lacks for building and testing tavoro.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
  cmake g++ libgtest-dev locales
