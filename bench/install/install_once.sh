#!/bin/sh
# One unattended install into a fresh sandbox home below SANDBOX, with no
# display variable: an unattended install needs none.
#   install_once.sh SETUP SANDBOX
set -eu
setup=$1
box=$2
rm -rf "$box"
mkdir -p "$box/home/.config" "$box/home/.local/share" "$box/home/Desktop" "$box/runtime" "$box/tmp"
chmod 700 "$box/runtime"
exec env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$box/home" XDG_CONFIG_HOME="$box/home/.config" \
  XDG_DATA_HOME="$box/home/.local/share" XDG_RUNTIME_DIR="$box/runtime" TMPDIR="$box/tmp" \
  OSTREL_STAT_BASE=https://127.0.0.1:9 "$setup" silent nogui
