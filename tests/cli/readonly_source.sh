#!/usr/bin/env bash
# A source of the program's own format is only read: converting it, its dry run and dump
# leave its bytes as they were and no -wal, -shm or -journal beside it, whether it is in WAL
# or rollback-journal mode, has a name with no room for "-wal", or is being read by another
# program at the time; and it converts from a read-only folder (a read-only bind mount where
# the superuser may make one).
# Usage: readonly_source.sh CLI TEMPLATE_DIR
set -uo pipefail
CLI=$1 TEMPLATES=$2
WORK=$(mktemp -d)
SRC=$WORK/kaynak
reader=
cleanup() {
  [ -n "$reader" ] && kill "$reader" 2>/dev/null
  mountpoint -q "$SRC" && umount "$SRC"
  rm -rf "$WORK"
}
trap cleanup EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

mkdir -p "$SRC"
"$CLI" sample --type KTD --out "$SRC/rollback.ktd" --records 200 --seed 1 >/dev/null || { echo "no sample"; exit 1; }
[ "$(sqlite3 "$SRC/rollback.ktd" 'PRAGMA journal_mode=delete')" = delete ] || { echo "no rollback source"; exit 1; }
cp "$SRC/rollback.ktd" "$SRC/wal.ktd"
[ "$(sqlite3 "$SRC/wal.ktd" 'PRAGMA journal_mode=wal')" = wal ] || { echo "no WAL source"; exit 1; }
long="$SRC/$(printf 'u%.0s' $(seq 1 250)).ktd" # 254 bytes: no room for "-wal"
cp "$SRC/wal.ktd" "$long"
sources=("$SRC/rollback.ktd" "$SRC/wal.ktd" "$long")

fresh_root() {
  rm -rf "$1" && mkdir -p "$1" && cp "$TEMPLATES"/SABIT.mdx "$TEMPLATES"/KTFIM.mdx "$TEMPLATES"/KTCHM.mdx "$1"/
}
convert() { "$CLI" convert --type KTD --source "$2" --company 1 --year 2005 --root "$1" "${@:3}"; }
cards() { sqlite3 "$1/DATA/1/2005/KTFIM.mdb" 'SELECT count(*) FROM AracKarti'; }
untouched() { # source, its checksum before
  [ "$(sha256sum <"$1")" = "$2" ] || fail "$(basename "$1" | cut -c1-20): its bytes changed"
  for beside in -wal -shm -journal; do
    [ -e "$1$beside" ] && fail "$(basename "$1" | cut -c1-20): $beside left beside it"
  done
}

# Another program holds a read transaction on the rollback source while it is converted
# (until its input, the fifo, is closed).
mkfifo "$WORK/fifo"
sqlite3 "$SRC/rollback.ktd" <"$WORK/fifo" >/dev/null &
reader=$!
exec 3>"$WORK/fifo"
echo "BEGIN; SELECT count(*) FROM AracKarti;" >&3
sleep 0.3

i=0
for s in "${sources[@]}"; do
  i=$((i + 1))
  sum=$(sha256sum <"$s")
  root="$WORK/root$i"
  fresh_root "$root"
  convert "$root" "$s" --dry-run >/dev/null 2>"$WORK/err" || fail "dry run of source $i: $(tail -1 "$WORK/err")"
  untouched "$s" "$sum"
  "$CLI" dump "$s" --table AracKarti --password 7183 >/dev/null 2>"$WORK/err" || fail "dump of source $i: $(tail -1 "$WORK/err")"
  untouched "$s" "$sum"
  timeout 60 "$CLI" convert --type KTD --source "$s" --company 1 --year 2005 --root "$root" >/dev/null 2>"$WORK/err" ||
    fail "conversion of source $i: $(tail -1 "$WORK/err")"
  untouched "$s" "$sum"
  [ "$(cards "$root")" -gt 0 ] 2>/dev/null || fail "source $i: no cards converted"
done
exec 3>&-
wait "$reader" 2>/dev/null
reader=

# From a folder that cannot be written at all.
if mount --bind "$SRC" "$SRC" 2>/dev/null && mount -o remount,bind,ro "$SRC" 2>/dev/null; then
  touch "$SRC/probe" 2>/dev/null && fail "the read-only mount can be written"
  i=0
  for s in "${sources[@]}"; do
    i=$((i + 1))
    root="$WORK/ro$i"
    fresh_root "$root"
    convert "$root" "$s" >/dev/null 2>"$WORK/err" || fail "conversion of source $i from a read-only folder: $(tail -1 "$WORK/err")"
    [ "$(cards "$root")" = "$(cards "$WORK/root$i")" ] || fail "source $i from a read-only folder: other cards"
  done
  umount "$SRC"
else
  mountpoint -q "$SRC" && umount "$SRC"
  echo "no read-only bind mount here: the read-only folder is not tried"
fi

[ $failed = 0 ] && echo "sources read without a change: ${#sources[@]} files"
exit $failed
