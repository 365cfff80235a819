#!/usr/bin/env bash
# Installs the Debian package on a minimal, clean Debian 12 and tries it there, as a learner's
# machine would get it: every dependency comes from the archive through apt.
#
#   scripts/check-package.sh [--deb FILE] [--mirror URL] [--keep]
#
# Without --deb the package is built first (scripts/package.sh). The Debian root is made with
# debootstrap (variant minbase) in a scratch folder under ${TMPDIR:-/var/tmp} and removed at the
# end unless --keep. Inside it: the .deb is installed with apt-get (no recommends), the programs'
# libraries are checked with ldd, `verbaro-lesson check` runs on every installed sample lesson and
# `verbaro-lesson build` on an installed word list (its lesson is checked too), the menu entry and
# the metainfo are checked to be in place; then Xvfb and xdotool are added (for the test only),
# verbaro is started from the menu entry's folder, its window must appear, and Alt+F4 must end it
# with exit code 1. Needs root (debootstrap, chroot, mounting /proc) and the network.
#
# The whole log goes to build/package-check/check.log; a summary is printed at the end. Exit 0
# when every step passed.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

deb=""
mirror="http://deb.debian.org/debian"
keep=0
while (($#)); do
  case $1 in
    --deb) deb=$(realpath "$2"); shift 2 ;;
    --mirror) mirror=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    *) echo "usage: $0 [--deb FILE] [--mirror URL] [--keep]" >&2; exit 2 ;;
  esac
done

if [ "$(id -u)" -ne 0 ]; then
  exec sudo -E bash "$0" ${deb:+--deb "$deb"} --mirror "$mirror" $( ((keep)) && echo --keep)
fi

bash scripts/setup.sh
if [ -z "$deb" ]; then
  deb=$(bash scripts/package.sh | tail -1)
fi

logdir="$repo/build/package-check"
mkdir -p "$logdir"
log="$logdir/check.log"
: >"$log"
scratch=$(mktemp -d "${TMPDIR:-/var/tmp}/verbaro-package-check.XXXXXX")
root="$scratch/root"
started=$(date +%s)
summary=()
failed=0
xvfb_pid=""

cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  if mountpoint -q "$root/proc" 2>/dev/null; then umount "$root/proc" || true; fi
  if ((keep)); then
    echo "scratch root kept: $root"
  else
    rm -rf "$scratch"
  fi
}
trap cleanup EXIT

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

# Runs one step, its output into the log; records PASS/FAIL with its duration.
step() {
  local name=$1
  shift
  local t0=$SECONDS
  echo "=== $name" >>"$log"
  if "$@" >>"$log" 2>&1; then
    summary+=("PASS  $name ($((SECONDS - t0)) s)")
  else
    summary+=("FAIL  $name ($((SECONDS - t0)) s), see $log")
    failed=1
  fi
}

make_root() { debootstrap --variant=minbase bookworm "$root" "$mirror"; }

install_package() {
  mount -t proc proc "$root/proc"
  cp "$deb" "$root/tmp/verbaro.deb"
  in_root apt-get update
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    /tmp/verbaro.deb
  in_root dpkg -s verbaro | sed -n 's/^\(Version\|Depends\):/\1:/p'
  echo "packages in the root: $(in_root dpkg-query -W | wc -l)"
}

libraries_resolve() {
  local missing
  missing=$(in_root ldd /usr/bin/verbaro /usr/bin/verbaro-lesson | grep 'not found' || true)
  [ -z "$missing" ] || { echo "$missing"; return 1; }
  echo "every library of verbaro and verbaro-lesson is found"
}

desktop_files_in_place() {
  local entry="$root/usr/share/applications/verbaro.desktop"
  grep -x 'Exec=verbaro %f' "$entry"
  local folder
  folder=$(sed -n 's/^Path=//p' "$entry")
  echo "menu entry starts in $folder"
  ls "$root$folder"/*.db
  ls "$root"/usr/share/metainfo/*.metainfo.xml
  ls "$root"/usr/share/icons/hicolor/48x48/apps/verbaro.png
}

check_samples() {
  local n=0 lesson
  for lesson in "$root"/usr/share/verbaro/lessons/*.db; do
    in_root verbaro-lesson check "/usr/share/verbaro/lessons/$(basename "$lesson")"
    n=$((n + 1))
  done
  echo "$n sample lessons checked"
  ((n > 0))
}

build_from_word_list() {
  local list
  list=$(cd "$root" && ls usr/share/verbaro/lessons/src/*.tsv | head -n 1)
  in_root verbaro-lesson build "/$list" /tmp/built.db
  in_root verbaro-lesson check /tmp/built.db
  echo "built and checked a lesson from /$list"
}

add_display_tools() {
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    xvfb xdotool
}

window_and_alt_f4() {
  rm -f "$root/tmp/.X11-unix/X77"
  chroot "$root" env -i PATH=/usr/bin:/bin Xvfb :77 -nolisten tcp -screen 0 1280x1024x24 &
  xvfb_pid=$!
  local i
  # Ready when a client gets an answer, not when the socket file appears.
  local ready=0
  for i in $(seq 100); do
    if in_root env DISPLAY=:77 xdotool getdisplaygeometry >/dev/null 2>&1; then
      ready=1
      break
    fi
    sleep 0.1
  done
  ((ready)) || { echo "Xvfb did not start"; return 1; }

  # As the menu entry starts it: in the sample lessons' folder.
  chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY=:77 \
    QT_QPA_PLATFORM=xcb sh -c 'cd /usr/share/verbaro/lessons && exec verbaro' &
  local app=$!
  local window=""
  for i in $(seq 300); do
    window=$(in_root env DISPLAY=:77 xdotool search --onlyvisible --name 'Обучающая программа' \
      2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no window appeared"; kill "$app" 2>/dev/null; return 1; }
  echo "window shown: \"$(in_root env DISPLAY=:77 xdotool getwindowname "$window")\""
  in_root env DISPLAY=:77 xdotool windowfocus --sync "$window"
  sleep 0.5
  in_root env DISPLAY=:77 xdotool key alt+F4
  local rc=0
  for i in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$app" 2>/dev/null; then
    echo "verbaro still runs 10 s after Alt+F4"
    kill "$app"
    return 1
  fi
  wait "$app" || rc=$?
  echo "verbaro ended with exit code $rc"
  [ "$rc" -eq 1 ]
}

echo "checking $deb on a fresh Debian 12 in $scratch (log: $log)"
step "debootstrap a minimal Debian 12 (bookworm, minbase)" make_root
if ((failed == 0)); then
  step "apt-get install the package, dependencies from the archive" install_package
fi
if ((failed == 0)); then
  step "libraries of both programs resolve" libraries_resolve
  step "menu entry, its folder, icon and metainfo in place" desktop_files_in_place
  step "verbaro-lesson check on every installed sample lesson" check_samples
  step "verbaro-lesson build on an installed word list" build_from_word_list
  step "add Xvfb and xdotool for the display check" add_display_tools
  step "verbaro shows its window under Xvfb; Alt+F4 ends it with exit code 1" window_and_alt_f4
fi

echo
echo "Package check of $(basename "$deb"), $(($(date +%s) - started)) s in all:"
printf '  %s\n' "${summary[@]}"
((failed == 0)) && echo "package check: passed" || echo "package check: FAILED"
exit "$failed"
