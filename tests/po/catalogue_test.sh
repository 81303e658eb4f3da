#!/usr/bin/env bash
# Fails when a message marked in the code has no Japanese translation, when a catalogue holds
# fuzzy, obsolete or stale entries, when a translation drops or adds a placeholder ({1},
# {name}),
# or when po/qrv470kse.pot is not what the code gives. po/update mends all but the
# translations themselves.
#
# usage: catalogue_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

"$source_dir/po/extract" "$work/code.pot"
# The template in the tree says what the code says, no more and no less.
msgcmp --use-untranslated "$source_dir/po/qrv470kse.pot" "$work/code.pot" >"$work/out" 2>&1 ||
  fail "po/qrv470kse.pot lacks messages of the code (run po/update): $(cat "$work/out")"
msgcmp --use-untranslated "$work/code.pot" "$source_dir/po/qrv470kse.pot" >"$work/out" 2>&1 ||
  fail "po/qrv470kse.pot holds messages the code no longer has (run po/update): $(cat "$work/out")"

for po in "$source_dir"/po/*.po; do
  name=po/$(basename "$po")
  # Every message of the code translated, neither fuzzy nor left empty.
  msgcmp "$po" "$work/code.pot" >"$work/out" 2>&1 ||
    fail "$name: messages without a translation: $(cat "$work/out")"
  # Nothing the code no longer says.
  msgcmp --use-untranslated --use-fuzzy "$work/code.pot" "$po" >"$work/out" 2>&1 ||
    fail "$name: stale messages the code no longer has (run po/update): $(cat "$work/out")"
  [ -z "$(msgattrib --only-obsolete "$po")" ] || fail "$name: obsolete entries (run po/update)"
  [ -z "$(msgattrib --only-fuzzy --no-obsolete "$po")" ] || fail "$name: fuzzy entries"
  statistics=$(msgfmt --check --statistics --output-file=/dev/null "$po" 2>&1) ||
    fail "$name: msgfmt --check: $statistics"
  case $statistics in
    *fuzzy* | *untranslated*) fail "$name: $statistics" ;;
  esac
  # Each translation keeps the placeholders of its English text, each as often.
  msgcat --no-wrap --no-location "$po" | awk '
    function marks(text, found, n, i, list) {
      n = 0
      while (match(text, /\{[A-Za-z0-9_]+\}/)) {
        found[++n] = substr(text, RSTART, RLENGTH)
        text = substr(text, RSTART + RLENGTH)
      }
      # Sorted, so that a translation may order them as its language does.
      for (i = 2; i <= n; i++) for (j = i; j > 1 && found[j - 1] > found[j]; j--) {
        t = found[j]; found[j] = found[j - 1]; found[j - 1] = t
      }
      list = ""
      for (i = 1; i <= n; i++) list = list found[i]
      return list
    }
    /^msgid / { english = marks(substr($0, 7)); plural = english }
    /^msgid_plural / { plural = marks(substr($0, 14)) }
    /^msgstr/ {
      text = $0; sub(/^msgstr(\[[0-9]\])? /, "", text)
      if (text != "\"\"" && marks(text) != english && marks(text) != plural)
        print $0 " has " marks(text) ", its English " english
    }' >"$work/placeholders"
  [ ! -s "$work/placeholders" ] || fail "$name: placeholders differ: $(cat "$work/placeholders")"
  echo "$name: $statistics"
done
exit "$failed"
