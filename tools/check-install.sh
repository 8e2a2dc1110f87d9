#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a Linux desktop
# reads from it: the menu entry passes desktop-file-validate, the icon is
# well-formed SVG, the MIME database built from our package gives documents
# our type (by name and by content) and offers the program for them, and the
# installed programs run. Also that a staged install (DESTDIR) lands under
# the stage and leaves the caches to the package.
# Usage: tools/check-install.sh BUILD-DIR [APP-ID]
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd)
id=${2:-example.quorvel.Quorvel}
source=$(cd "$(dirname "$0")/.." && pwd)
type=application/x-quorvel-document

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
status=0
fail() { echo "check-install: $*" >&2; status=1; }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; exit 1; }

desktop="$prefix/share/applications/$id.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
package="$prefix/share/mime/packages/$id.xml"
for file in bin/quorvel bin/quorvel-cli share/doc/quorvel/manual/index.html share/man/man1/quorvel-cli.1 \
    share/man/man1/quorvel-sampler-emulator.1; do
  [ -f "$prefix/$file" ] || fail "$file not installed"
done
for file in "$desktop" "$icon" "$package"; do
  [ -f "$file" ] || { fail "${file#"$prefix"/} not installed"; exit 1; }
done
# Help > Contents looks beside the program for the manual.
[ -f "$prefix/bin/../share/doc/quorvel/manual/index.html" ] || fail "manual not beside the program"

desktop-file-validate "$desktop" || fail "desktop entry refused"
grep -qx 'Exec=quorvel %F' "$desktop" || fail "desktop entry does not pass the files"
grep -q "^MimeType=.*$type;" "$desktop" || fail "desktop entry lacks the document type"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry names another icon"
xmllint --noout "$icon" || fail "icon is not well-formed"
[ "$(xmllint --xpath 'local-name(/*)' "$icon")" = svg ] || fail "icon is not SVG"
xmllint --noout "$package" || fail "MIME package is not well-formed"

# A real document, written by the installed tool, and a plain sound beside it.
"$prefix/bin/quorvel-cli" --help >/dev/null || fail "installed quorvel-cli does not run"
"$prefix/bin/quorvel" --version >/dev/null || fail "installed quorvel does not run"
"$prefix/bin/quorvel-cli" export "$source/examples/demo-loop.wav" --bars 2 --document "$work/Loop One.qvl" >/dev/null ||
  fail "installed quorvel-cli cannot save a document"

# The database as the file manager would find it, built only from what was
# installed (the install may already have built it; building again is harmless).
mime="$work/mime"
mkdir -p "$mime/packages"
cp "$package" "$mime/packages/"
update-mime-database "$mime" 2>/dev/null
grep -q "^[0-9]*:$type:\*\.qvl$" "$mime/globs2" || fail "globs2 lacks *.qvl"
grep -q "\[40:$type\]" "$mime/magic" || fail "magic lacks the document rule"

if command -v gio >/dev/null; then
  content_type() { # file, data folders
    XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$2" gio info -a standard::content-type "$1" |
      sed -n 's/^ *standard::content-type: //p'
  }
  cp "$work/Loop One.qvl" "$work/LOOP.QVL"
  cp "$work/Loop One.qvl" "$work/no-extension"
  cp "$source/examples/demo-loop.wav" "$work/plain-sound"
  mkdir -p "$work/only/mime"
  cp -r "$mime"/. "$work/only/mime/"
  with_system="$work/only:/usr/local/share:/usr/share"
  [ "$(content_type "$work/Loop One.qvl" "$with_system")" = "$type" ] || fail "a .qvl file is not a document"
  [ "$(content_type "$work/LOOP.QVL" "$with_system")" = "$type" ] || fail "a .QVL file is not a document"
  # By content alone: with only our type known, the rule must pick out a
  # document and leave other sounds alone.
  [ "$(content_type "$work/no-extension" "$work/only")" = "$type" ] || fail "magic misses a document"
  [ "$(content_type "$work/plain-sound" "$work/only")" != "$type" ] || fail "magic takes a WAV for a document"
  # The desktop entry is offered for the type (its TryExec needs it on PATH).
  offered=$(PATH="$prefix/bin:$PATH" XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$prefix/share:/usr/share" gio mime "$type")
  grep -q "$id.desktop" <<<"$offered" || fail "the desktop entry is not offered for documents"
else
  echo "check-install: gio not found, content types not checked" >&2
fi

# A package build stages under DESTDIR with the prefix it will have.
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/stage.log" 2>&1 || { cat "$work/stage.log" >&2; exit 1; }
[ -x "$work/stage/usr/bin/quorvel" ] || fail "staged install lacks usr/bin/quorvel"
[ -f "$work/stage/usr/share/applications/$id.desktop" ] || fail "staged install lacks the desktop entry"
[ ! -e "$work/stage/usr/share/mime/mime.cache" ] || fail "staged install built the MIME cache"

exit $status
