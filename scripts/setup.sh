#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing the trainer needs.
# Idempotent: apt-get runs only when something is missing.
set -euo pipefail

PACKAGES=(
  # build
  g++ cmake ninja-build pkg-config ccache clang libclang-rt-14-dev dpkg-dev
  # the format and lint checks (scripts/format.sh, scripts/tidy.sh)
  clang-format clang-tidy
  # Qt 6: widgets, images, Russian translations of Qt's own dialogs
  qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n qt6-qpa-plugins
  # the charts of the statistics window
  qt6-charts-dev libqt6opengl6-dev
  # running natively in a Wayland session
  qt6-wayland
  # GNOME's own file chooser and font for the program on GTK desktops (the package recommends it)
  qt6-gtk-platformtheme
  # the sound server's client library (wave output)
  libpulse-dev
  # lesson files, MP3 decoding
  libsqlite3-dev sqlite3 libmpg123-dev libxkbcommon-dev
  # shortcuts by the letter on the key: the keymap from the X server (Wayland: libwayland-dev)
  libxkbcommon-x11-dev
  # lesson builder: French speech and MP3 encoding
  libespeak-ng-dev espeak-ng libmp3lame-dev lame
  # lesson import: Anki packages (zip, zstd), KVTML (expat), recordings in other formats
  libzip-dev libzstd-dev libexpat1-dev libsndfile1-dev zstd
  # recordings in M4A/AAC; the encoders that make the import tests' audio
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev ffmpeg vorbis-tools opus-tools flac
  # progress sync: the file-sync engine the end-to-end test runs on two homes
  syncthing
  # the "Arial" family (Liberation Sans) and a Cyrillic-capable fallback
  fonts-liberation2 fontconfig
  # sound server for tests and for running without a desktop session
  pulseaudio pulseaudio-utils
  # the same tests on PipeWire's pulse server (scripts/test.sh --pipewire); WirePlumber needs a
  # D-Bus session bus, which the scripts start privately
  pipewire pipewire-pulse wireplumber dbus-daemon
  # tests, benchmarks, screenshots
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-utils imagemagick sox python3
  # the end-to-end test: physical key codes through XTEST, and a French layout to prove it is ignored
  libxtst6 x11-xkb-utils
  # the end-to-end test on Wayland: a headless compositor, screenshots, the virtual keyboard client
  sway grim libwayland-dev
  # the end-to-end test on GNOME's own compositor: gnome-shell nested in Xvfb, with the schemas
  # and the session bus it reads at start
  gnome-shell gsettings-desktop-schemas dbus-daemon
  # the desktop entry and the AppStream metainfo are validated by the tests
  desktop-file-utils appstream
  # scripts/check-package.sh: a minimal Debian 12 root to install the package into
  debootstrap
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Node and npm for the scheduler's agreement test (ts-fsrs as an independent implementation)
# and for the writer of the Anki packages that the import tests read.
# Debian's npm only when no npm is there: a Node installed otherwise brings its own.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends nodejs npm
fi
oracle="$(dirname "$0")/../tests/data/fsrs_oracle"
if [ ! -f "$oracle/node_modules/.package-lock.json" ] ||
   [ "$oracle/package-lock.json" -nt "$oracle/node_modules/.package-lock.json" ]; then
  (cd "$oracle" && npm ci --no-audit --no-fund --ignore-scripts)
fi
# The independent writer of the legacy Anki packages in the import tests' fixtures.
anki_writer="$(dirname "$0")/../tests/fixtures/import/anki/writer"
if [ ! -f "$anki_writer/node_modules/.package-lock.json" ] ||
   [ "$anki_writer/package-lock.json" -nt "$anki_writer/node_modules/.package-lock.json" ]; then
  (cd "$anki_writer" && npm ci --no-audit --no-fund --ignore-scripts)
fi
