#!/usr/bin/env bash
# Several converters at once on one program folder: 2, 3 and 4 processes, sources A and B
# alternating, on a fresh folder and on one whose databases exist. Every run must succeed
# and the year database must hold exactly the union of the sources' cards, each key once.
# Usage: concurrent_convert.sh CLI TEMPLATE_DIR [ROUNDS] [RECORDS] [BUDGET_SECONDS]
set -uo pipefail
CLI=$1 TEMPLATES=$2 ROUNDS=${3:-2} RECORDS=${4:-1500} BUDGET=${5:-90}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$CLI" sample --type KTD --out "$WORK/a.ktd" --records "$RECORDS" --seed 1 || exit 1
"$CLI" sample --type KTD --out "$WORK/b.ktd" --records "$((RECORDS * 3 / 2))" --seed 2 || exit 1

fresh_root() {
  rm -rf "$1" && mkdir -p "$1" && cp "$TEMPLATES"/SABIT.mdx "$TEMPLATES"/KTFIM.mdx "$TEMPLATES"/KTCHM.mdx "$1"/
}
convert() { "$CLI" convert --type KTD --source "$2" --company 1 --year 2005 --root "$1"; }
keys() {
  sqlite3 "$1/DATA/1/2005/KTFIM.mdb" \
    "SELECT 'A', AracKod FROM AracKarti; SELECT 'C', Tip, Kod FROM CariKart; SELECT 'S', Tip, Kod FROM StokKart;" |
    LC_ALL=C sort
}

# The union, made by one run after the other.
fresh_root "$WORK/ref"
convert "$WORK/ref" "$WORK/a.ktd" >/dev/null 2>&1 && convert "$WORK/ref" "$WORK/b.ktd" >/dev/null 2>&1 || {
  echo "the reference runs failed"; exit 1; }
keys "$WORK/ref" >"$WORK/ref.keys"
# Each source holds keys the other does not, or the union would prove nothing.
[ "$(LC_ALL=C sort -u "$WORK/ref.keys" | wc -l)" = "$(wc -l <"$WORK/ref.keys")" ] || { echo "duplicate keys in the reference"; exit 1; }

start=$SECONDS failed=0 rounds=0
for round in $(seq 1 "$ROUNDS"); do
  for n in 2 3 4; do
    for mode in fresh existing; do
      if [ $((SECONDS - start)) -ge "$BUDGET" ]; then
        echo "time budget reached after $rounds rounds"; break 3
      fi
      root="$WORK/r$n$mode"
      fresh_root "$root"
      [ "$mode" = existing ] && { convert "$root" "$WORK/a.ktd" >/dev/null 2>&1 || { echo "first run failed"; exit 1; }; }
      pids=()
      for i in $(seq 1 "$n"); do
        src="$WORK/a.ktd"; [ $((i % 2)) = 0 ] && src="$WORK/b.ktd"
        convert "$root" "$src" >"$root/out$i" 2>"$root/err$i" & pids+=($!)
      done
      for i in $(seq 1 "$n"); do
        if ! wait "${pids[$((i - 1))]}"; then
          echo "round $round, $n processes, $mode: run $i failed: $(tail -1 "$root/err$i")"; failed=1
        fi
      done
      for db in "$root"/DATA/SABIT.mdb "$root"/DATA/1/2005/KTFIM.mdb; do
        [ "$(sqlite3 "$db" 'PRAGMA integrity_check')" = ok ] || { echo "round $round: $db damaged"; failed=1; }
      done
      [ "$(sqlite3 "$root/DATA/SABIT.mdb" 'SELECT count(*) FROM FirmaBilgi')" = 1 ] || {
        echo "round $round, $n processes, $mode: the company is registered more than once"; failed=1; }
      if ! keys "$root" | cmp -s - "$WORK/ref.keys"; then
        echo "round $round, $n processes, $mode: not the union:"
        keys "$root" | diff - "$WORK/ref.keys" | head -5
        failed=1
      fi
      rounds=$((rounds + 1))
    done
  done
done
echo "$rounds rounds of 2, 3 and 4 converters ($(wc -l <"$WORK/ref.keys") cards in the union), $((SECONDS - start)) s: $([ $failed = 0 ] && echo all exact || echo FAILED)"
exit $failed
