#!/bin/sh
# velloria-cli --version, --help and the shell's completion only look: on a user without a
# library they create no home directory. Usage: LookingCreatesNoHome.sh VELLORIA_CLI
set -u
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_DATA_HOME=
"$1" --version >/dev/null && "$1" --help >/dev/null && "$1" --complete links "" >/dev/null || exit 1
leftover=$(ls -A "$home")
[ -z "$leftover" ] || { echo "created in the home: $leftover"; exit 1; }
"$1" tree >/dev/null && [ -d "$home/.local/share/velloria/RefLib" ] || { echo "a command made no home"; exit 1; }
