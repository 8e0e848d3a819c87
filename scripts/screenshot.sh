#!/usr/bin/env bash
# Takes a picture of Velloria's main window over a small demo library, on a virtual screen.
# Usage: scripts/screenshot.sh [OUTPUT.png]      (default docs/screenshot.png)
# Needs a build in build/ (scripts/setup.sh) and the packages xvfb, imagemagick and x11-utils.
set -euo pipefail
cd "$(dirname "$0")/.."

output=$(realpath -m "${1:-docs/screenshot.png}")
program=build/src/velloria
[ -x "$program" ] || { echo "No $program: build Velloria first (scripts/setup.sh)" >&2; exit 1; }
for tool in xvfb-run import xwininfo; do
    command -v "$tool" >/dev/null || { echo "Missing $tool (apt-get install xvfb imagemagick x11-utils)" >&2; exit 1; }
done

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
home="$data/velloria"
mkdir -p "$home/RefLib/Links"

# Writes its arguments as lines ending in CR LF, the way the library files end their lines.
lines() { printf '%s\r\n' "$@"; }
# link TITLE ADDRESS LAST-VISIT ADD-DATE DESCRIPTION: the five lines of one link.
link() { lines "0 $1" "1 $2" "2 $3" "3 $4" "4 $5"; }

lines "Reading" $'\tNews' $'\tScience' "Development" $'\tC++' $'\tQt' $'\tTools' "Travel" $'\tMaps' "Recipes" \
    >"$home/RefLib/folders.wnf"
lines "Reading" "Articles to read and sites to keep up with" \
      "Development" "References for work on Velloria and other programs" \
      "Qt" "Qt documentation and the pages we look up most" \
      "Travel" "Timetables, maps and places to stay" >"$home/RefLib/folddesc.wnf"
# Index, expanded, selected: Development and Reading open, Qt selected.
lines 0 True False 3 True False 5 False True >"$home/RefLib/foldst.wnf"

{
    link "Qt Widgets module" "https://doc.qt.io/qt-6/qtwidgets-index.html" 2024.6.3 2023.2.14 \
         "Classes for classic desktop user interfaces"
    link "Model/View programming" "https://doc.qt.io/qt-6/model-view-programming.html" 2024.6.1 2023.2.14 \
         "How views, models and delegates work together; read before writing an item model"
    link "QTableView class" "https://doc.qt.io/qt-6/qtableview.html" 2024.5.28 2023.3.2 \
         "Default model/view implementation of a table view"
    link "Qt Forum" "https://forum.qt.io/" 2024.4.17 2022.11.9 "Questions and answers from the Qt community"
    link "Style sheet reference" "https://doc.qt.io/qt-6/stylesheet-reference.html" "" 2024.1.20 \
         "Properties, pseudo-states and sub-controls"
    link "Qt bug tracker" "bugreports.qt.io" 2024.3.8 2021.6.30 "Known bugs and their workarounds"
    link "Signals & slots" "https://doc.qt.io/qt-6/signalsandslots.html" 2024.2.11 2022.1.5 \
         "The connection mechanism between objects"
} >"$home/RefLib/Links/Qt.wnl"
{
    link "cppreference" "https://en.cppreference.com/" 2024.6.2 2020.9.1 "The C++ language and library reference"
    link "C++ Core Guidelines" "https://isocpp.github.io/CppCoreGuidelines/" 2024.3.30 2021.4.12 \
         "Rules for modern C++"
} >"$home/RefLib/Links/C++.wnl"
{
    link "Hacker News" "https://news.ycombinator.com/" 2024.6.3 2019.8.21 "Technology news"
    link "Arts & Letters Daily" "https://www.aldaily.com/" 2024.5.19 2020.2.2 "Essays and reviews"
} >"$home/RefLib/Links/News.wnl"
link "OpenStreetMap" "https://www.openstreetmap.org/" 2024.4.2 2021.7.7 "Free maps of the world" \
    >"$home/RefLib/Links/Maps.wnl"
for file in folders folddesc; do cp "$home/RefLib/$file.wnf" "$home/RefLib/$file.~wnf"; done
for file in "$home"/RefLib/Links/*.wnl; do cp "$file" "${file%.wnl}.~wnl"; done

# The preferences: the defaults, sorted by title, in a window of 1000 x 640 at 40, 30.
build/src/velloria-cli --home "$home" prefs --save >/dev/null
sed -i -e 's/^024 .*/024 40\r/' -e 's/^025 .*/025 30\r/' -e 's/^026 .*/026 640\r/' -e 's/^027 .*/027 1000\r/' \
    -e 's/^031 .*/031 190\r/' -e 's/^032 .*/032 330\r/' -e 's/^033 .*/033 100\r/' -e 's/^034 .*/034 100\r/' \
    -e 's/^035 .*/035 210\r/' -e 's/^036 .*/036 70\r/' -e 's/^040 .*/040 0\r/' "$home/Tessel.cfg"

# Runs on the virtual screen: starts the program, waits for its window, takes the picture.
# (xvfb-run is a POSIX shell script, which drops exported bash functions, so this is a string.)
grab='
"$1" &
pid=$! tries=0
until xwininfo -name Velloria >/dev/null 2>&1; do
    sleep 0.2
    ((++tries < 100)) || { kill "$pid"; echo "The window did not appear" >&2; exit 1; }
done
sleep 1.5 # until it has painted
import -window Velloria "$2"
kill "$pid"
wait "$pid" || true
'
XDG_DATA_HOME="$data" HOME="$data" XDG_RUNTIME_DIR="$data" \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$grab" grab "$program" "$output"
echo "$output"
