#!/usr/bin/env bash
# The installed programs work with no build tree around: corvane-cli runs from the installed
# path, the desktop program starts offscreen on the demo image, and an installed program keeps
# its settings in the user's config folder, never beside the executable.
#   install_test.sh BUILD_DIR DEMO_IMAGE
set -euo pipefail
build=$1
demo=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" > /dev/null
cp "$demo" "$stage/demo.bin"
export HOME="$stage/home" XDG_CONFIG_HOME= CORVANE_INIS= QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
cd "$stage"  # nothing of the build tree is reachable from here

fail() { echo "FAIL: $*"; exit 1; }
"$stage/usr/bin/corvane-cli" --version | grep -qx "corvane-cli [0-9.]*" || fail "--version"
"$stage/usr/bin/corvane-cli" models | head -1 | grep -q "^1	" || fail "models"
"$stage/usr/bin/corvane-cli" tree "$stage/demo.bin" > /dev/null || fail "tree of the demo"
[ -s "$stage/usr/share/man/man1/corvane-cli.1" ] || fail "man page"
grep -q "tree" "$stage/usr/share/bash-completion/completions/corvane-cli" || fail "completion"
for f in applications/org.corvane.Corvane.desktop metainfo/org.corvane.Corvane.metainfo.xml \
         icons/hicolor/scalable/apps/org.corvane.Corvane.svg corvane/INIs/Corvane.ini; do
  [ -f "$stage/usr/share/$f" ] || fail "missing share/$f"
done

"$stage/usr/bin/corvane" "$stage/demo.bin" --screenshot "$stage/shot.png" || fail "desktop start"
[ -s "$stage/shot.png" ] || fail "no picture of the window"
[ -f "$HOME/.config/corvane/INIs/Corvane.ini" ] || fail "settings not in the user's config folder"
[ -f "$HOME/.config/corvane/INIs/English.ini" ] || fail "language files not in the user's folder"
[ ! -e "$stage/usr/bin/INIs" ] || fail "an INIs folder was written beside the executable"
echo "1 passed, 0 failed"
