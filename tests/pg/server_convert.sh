#!/usr/bin/env bash
# The company data on a PostgreSQL server, judged against the DATA folder, on the server the
# pg_server fixture started (STATE holds its conninfo and pgpass). One group of cases a call;
# each group works in a database of its own, so the groups may run at once.
# Usage: server_convert.sh CLI TEMPLATE_DIR STATE same|concurrent|faults|refusals
set -uo pipefail
CLI=$1 TEMPLATES=$2 STATE=$3 GROUP=$4
HERE=$(cd "$(dirname "$0")" && pwd)
[ -f "$STATE/conninfo" ] || { echo "no test server (the pg_server fixture did not start)"; exit 1; }
export PGPASSFILE=$STATE/pgpass
ADMIN=$(cat "$STATE/conninfo")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }
psql() { PGOPTIONS="-c client_min_messages=warning" command psql "$@"; }

# A fresh database for this group on the fixture's server; prints its conninfo.
fresh_db() {
  psql "$ADMIN" -qXc "DROP DATABASE IF EXISTS $1" -c "CREATE DATABASE $1" >/dev/null || exit 1
  echo "${ADMIN/dbname=postgres/dbname=$1}"
}
fresh_root() { rm -rf "$1" && mkdir -p "$1" && cp "$TEMPLATES"/*.mdx "$1"/; }
convert_data() { "$CLI" convert --number-format tr_TR --root "$@"; }
convert_server() { local s=$1; shift; "$CLI" convert --number-format tr_TR --server "$s" "$@"; }
# Every table of a member as CSV, from a file or from the server.
dump_file() { for t in $2; do "$CLI" dump "$1" --table "$t"; done; }
dump_server() { local s=$1 db=$2 tables=$3; shift 3; for t in $tables; do "$CLI" dump --server "$s" --database "$db" "$@" --table "$t"; done; }
CARDS="FirmaBilgi AracKarti CariKart StokKart"
# The report without its target line (a path for the folder, a schema for the server).
report() { grep -v -e '^target:' -e '^would write:'; }
same_member() { # root server db code year label
  if ! cmp -s <(dump_file "$1/DATA/$4/$5/$3.mdb" "$CARDS") <(dump_server "$2" "$3" "$CARDS" --company "$4" --year "$5"); then
    fail "$6: $3 of $4/$5 differs from the DATA folder"
    diff <(dump_file "$1/DATA/$4/$5/$3.mdb" "$CARDS") <(dump_server "$2" "$3" "$CARDS" --company "$4" --year "$5") | head -5
  fi
}
same_register() {
  cmp -s <(dump_file "$1/DATA/SABIT.mdb" FirmaBilgi) <(dump_server "$2" SABIT FirmaBilgi) || fail "$3: the register differs"
}

case $GROUP in
same)
  # Jet 4 KTD and Jet 3 PVD samples (long codes, codes equal in their first 10 characters,
  # Nulls, a quote, Turkish letters, unknown stock kinds), in the DATA folder and on the server:
  # the same cards, the same register, the same reports; then a rerun, a rename and a dry run.
  "$CLI" sample --type KTD --format jet4 --out "$WORK/a.ktd" --records 800 --seed 5 >/dev/null || exit 1
  "$CLI" sample --type PVD --format jet3 --out "$WORK/b.pvd" --records 800 --seed 6 >/dev/null || exit 1
  S=$(fresh_db ktv_same); R=$WORK/root; fresh_root "$R"
  for step in "KTD a.ktd Birinci" "PVD b.pvd Birinci" "KTD a.ktd İkinci" "PVD b.pvd"; do
    set -- $step
    name=(); [ -n "${3:-}" ] && name=(--name "$3")
    args=(--type "$1" --source "$WORK/$2" --company 7 --year 2004 "${name[@]}")
    convert_data "$R" "${args[@]}" >"$WORK/data.out" 2>"$WORK/data.err" || fail "$step: DATA run failed: $(tail -1 "$WORK/data.err")"
    convert_server "$S" "${args[@]}" >"$WORK/server.out" 2>"$WORK/server.err" || fail "$step: server run failed: $(tail -1 "$WORK/server.err")"
    # The reports of the reruns (steps 3 and 4) count every card present.
    cmp -s <(report <"$WORK/data.out") <(report <"$WORK/server.out") || { fail "$step: reports differ"; diff "$WORK/data.out" "$WORK/server.out"; }
    [ "${3:-}" = İkinci ] && same_register "$R" "$S" "renamed"
  done
  same_register "$R" "$S" "kept name"
  same_member "$R" "$S" KTFIM 7 2004 "KTD"
  same_member "$R" "$S" KTCHM 7 2004 "PVD"
  # A dry run reads the server and writes nothing: no schema is made for a new year. It reads
  # in groups as the real run does, not a round trip per record (2,400 records here).
  for case in "KTD a.ktd 2004" "PVD b.pvd 2009"; do
    set -- $case
    convert_data "$R" --dry-run --type $1 --source "$WORK/$2" --company 7 --year $3 >"$WORK/data.out" 2>&1 || fail "dry run $case (DATA)"
    rm -f "$WORK/trips"
    KTV_PG_ROUND_TRIPS=$WORK/trips convert_server "$S" --dry-run --type $1 --source "$WORK/$2" --company 7 --year $3 >"$WORK/server.out" 2>&1 || fail "dry run $case (server)"
    cmp -s <(report <"$WORK/data.out") <(report <"$WORK/server.out") || { fail "dry run $case: reports differ"; diff "$WORK/data.out" "$WORK/server.out"; }
    trips=$(awk '{ n += $1 } END { print n + 0 }' "$WORK/trips" 2>/dev/null)
    [ "${trips:-0}" -le 100 ] || fail "dry run $case: $trips round trips"
  done
  [ "$(psql "$S" -XAtc "SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'kt%2009'")" = 0 ] || fail "a dry run made a schema"
  # Keys met again in later groups of 1,000 records (the server looks a group up while the one
  # before it is judged), in other letter case: a dry run onto the cards above, then the run.
  "$CLI" sample --type KTD --out "$WORK/c.ktd" --records 2600 --seed 8 >/dev/null || exit 1
  sqlite3 "$WORK/c.ktd" "UPDATE AracKarti SET Kod = printf('%s%04d', iif(rowid % 3, 'ARC', 'arc'), rowid % 1100);
    UPDATE CariKart SET Kod = printf('%s%04d', iif(rowid % 4, 'BAY', 'bay'), rowid % 1300);
    UPDATE StokKarti SET Kod = printf('%s%04d', iif(rowid % 5, 'ST', 'st'), rowid % 900);" || exit 1
  for run in --dry-run --name=Birinci; do
    convert_data "$R" $run --type KTD --source "$WORK/c.ktd" --company 7 --year 2004 >"$WORK/data.out" 2>&1 || fail "repeated keys $run (DATA)"
    convert_server "$S" $run --type KTD --source "$WORK/c.ktd" --company 7 --year 2004 >"$WORK/server.out" 2>&1 || fail "repeated keys $run (server)"
    cmp -s <(report <"$WORK/data.out") <(report <"$WORK/server.out") || { fail "repeated keys $run: reports differ"; diff "$WORK/data.out" "$WORK/server.out"; }
  done
  same_member "$R" "$S" KTFIM 7 2004 "repeated keys"
  ;;

concurrent)
  # Four converters at once into one fresh database (schemas made at the same moment), then
  # four more onto the existing one: the union of the sources, no key twice, one company.
  "$CLI" sample --type KTD --out "$WORK/a.ktd" --records 1200 --seed 1 >/dev/null || exit 1
  "$CLI" sample --type KTD --out "$WORK/b.ktd" --records 1800 --seed 2 >/dev/null || exit 1
  R=$WORK/root; fresh_root "$R"
  convert_data "$R" --type KTD --source "$WORK/a.ktd" --company 1 --year 2005 >/dev/null 2>&1 &&
    convert_data "$R" --type KTD --source "$WORK/b.ktd" --company 1 --year 2005 >/dev/null 2>&1 || fail "reference runs"
  S=$(fresh_db ktv_concurrent)
  keys() {
    psql "$S" -XAtc "SELECT 'A', \"AracKod\" FROM ktfim_1_2005.\"AracKarti\" UNION ALL SELECT 'C', \"Tip\" || ' ' || \"Kod\" FROM ktfim_1_2005.\"CariKart\" UNION ALL SELECT 'S', \"Tip\" || ' ' || \"Kod\" FROM ktfim_1_2005.\"StokKart\"" | LC_ALL=C sort
  }
  ref=$(sqlite3 "$R/DATA/1/2005/KTFIM.mdb" "SELECT 'A', AracKod FROM AracKarti; SELECT 'C', Tip || ' ' || Kod FROM CariKart; SELECT 'S', Tip || ' ' || Kod FROM StokKart" | LC_ALL=C sort)
  for round in fresh existing; do
    pids=()
    for i in 1 2 3 4; do
      src=$WORK/a.ktd; [ $((i % 2)) = 0 ] && src=$WORK/b.ktd
      convert_server "$S" --type KTD --source "$src" --company 1 --year 2005 >"$WORK/out$i" 2>"$WORK/err$i" & pids+=($!)
    done
    for i in 1 2 3 4; do wait "${pids[$((i - 1))]}" || fail "$round: run $i failed: $(tail -1 "$WORK/err$i")"; done
    [ "$(keys)" = "$ref" ] || { fail "$round: not the union"; diff <(keys) <(echo "$ref") | head -5; }
    [ "$(psql "$S" -XAtc 'SELECT count(*) FROM sabit."FirmaBilgi"')" = 1 ] || fail "$round: the company is registered twice"
    [ "$(psql "$S" -XAtc "SELECT count(*) FROM pg_namespace WHERE nspname LIKE 'kt%'")" = 2 ] || fail "$round: schemas"
  done
  # A card another writer adds (under the program's lock) while a run fills an empty table,
  # with a key the run meets later: the run finds it there, and neither fails nor doubles it.
  "$CLI" sample --type KTD --out "$WORK/c.ktd" --records 6000 --seed 4 >/dev/null || exit 1
  S=$(fresh_db ktv_between)
  convert_server "$S" --type KTD --source "$WORK/c.ktd" --company 4 --year 2006 >/dev/null 2>"$WORK/err" & pid=$!
  for _ in $(seq 1 600); do # until the run has stored dealer cards
    [ "$(psql "$S" -XAtc 'SELECT count(*) FROM ktfim_4_2006."CariKart"' 2>/dev/null || echo 0)" -gt 0 ] 2>/dev/null && break
    sleep 0.05
  done
  psql "$S" -qX -c "BEGIN" -c "SELECT pg_advisory_xact_lock(1263818310, hashtext('ktfim_4_2006'))" \
    -c "INSERT INTO ktfim_4_2006.\"CariKart\" (\"Tip\", \"Kod\", \"Ad\") VALUES ('bay', 'bay005999', 'Başka masa')" \
    -c "COMMIT" >/dev/null 2>"$WORK/psql.err"
  wait $pid || fail "a card added meanwhile: the run failed: $(tail -1 "$WORK/err")"
  if grep -q duplicate "$WORK/psql.err"; then
    echo "note: the run stored BAY005999 before the other writer; nothing to judge"
  else
    [ "$(psql "$S" -XAtc "SELECT count(*) || ' ' || min(\"Ad\") FROM ktfim_4_2006.\"CariKart\" WHERE upper(\"Kod\") = 'BAY005999'")" = "1 Başka masa" ] ||
      fail "a card added meanwhile: not kept once"
  fi
  ;;

faults)
  # A converter killed with SIGKILL, and a server stopped under a converter (a server of this
  # group's own): the run ends with an error naming the server, never its password; a rerun
  # completes to the cards of one clean run.
  # The source is made larger until its run onto the DATA folder takes half a second on this
  # build: a fast build would otherwise finish before the test can kill it or stop its server.
  records=3000
  while :; do
    "$CLI" sample --type KTD --out "$WORK/big.ktd" --records $records --seed 3 >/dev/null || exit 1
    R=$WORK/root; fresh_root "$R"
    t0=$(date +%s%N)
    convert_data "$R" --type KTD --source "$WORK/big.ktd" --company 2 --year 2006 >/dev/null 2>&1 || fail "reference run"
    if [ $((($(date +%s%N) - t0) / 1000000)) -ge 500 ] || [ $records -ge 200000 ]; then break; fi
    records=$((records * 4))
  done
  wait_for_cards() { # conninfo: until the run has stored some vehicle cards
    for _ in $(seq 1 600); do
      [ "$(psql "$1" -XAtc 'SELECT count(*) FROM ktfim_2_2006."AracKarti"' 2>/dev/null || echo 0)" -gt 0 ] 2>/dev/null && return 0
      sleep 0.05
    done
    return 1
  }
  S=$(fresh_db ktv_faults)
  convert_server "$S" --type KTD --source "$WORK/big.ktd" --company 2 --year 2006 >/dev/null 2>&1 & pid=$!
  wait_for_cards "$S" || fail "the run stored nothing"
  kill -9 $pid; wait $pid 2>/dev/null
  convert_server "$S" --type KTD --source "$WORK/big.ktd" --company 2 --year 2006 >/dev/null 2>"$WORK/err" || fail "rerun after SIGKILL: $(tail -1 "$WORK/err")"
  same_member "$R" "$S" KTFIM 2 2006 "SIGKILL and rerun"

  OWN=$WORK/server
  "$HERE/pg_server.sh" start "$OWN" >/dev/null || { echo "FAIL: the second server did not start"; exit 1; }
  trap '"$HERE/pg_server.sh" stop "$OWN"; rm -rf "$WORK"' EXIT
  export PGPASSFILE=$OWN/pgpass
  secret=$(cut -d: -f5 "$OWN/pgpass")
  O="$(cat "$OWN/conninfo") password=$secret"
  convert_server "$O" --type KTD --source "$WORK/big.ktd" --company 2 --year 2006 >/dev/null 2>"$WORK/err" & pid=$!
  wait_for_cards "$O" || fail "the run on the second server stored nothing"
  "$HERE/pg_server.sh" pause "$OWN"
  stopped=$SECONDS
  wait $pid; rc=$?
  [ $rc = 1 ] || fail "a run whose server stopped exits with $rc"
  [ $((SECONDS - stopped)) -le 10 ] || fail "the run took $((SECONDS - stopped)) s to notice the stopped server"
  grep -q "error 31[0-9][0-9]: .*database server 'host=" "$WORK/err" || fail "the error names no server: $(tail -1 "$WORK/err")"
  grep -qF "$secret" "$WORK/err" && fail "the error shows the password"
  "$HERE/pg_server.sh" resume "$OWN" || fail "the second server did not start again"
  convert_server "$O" --type KTD --source "$WORK/big.ktd" --company 2 --year 2006 >"$WORK/out" 2>"$WORK/err" || fail "rerun after the stop: $(tail -1 "$WORK/err")"
  same_member "$R" "$O" KTFIM 2 2006 "server stopped and rerun"
  grep -qF "$secret" "$WORK/out" "$WORK/err" && fail "the output shows the password"
  ;;

refusals)
  # What is refused before anything is written, and what no output may show.
  "$CLI" sample --type KTD --out "$WORK/a.ktd" --records 200 --seed 4 >/dev/null || exit 1
  S=$(fresh_db ktv_refusals)
  secret='Gizli-Parola-4711'
  psql "$S" -qXc "DROP ROLE IF EXISTS ktv_op" -c "CREATE ROLE ktv_op LOGIN PASSWORD '$secret'" \
    -c "DROP ROLE IF EXISTS ktv_guest" -c "CREATE ROLE ktv_guest LOGIN PASSWORD '$secret'" \
    -c "GRANT CREATE ON DATABASE ktv_refusals TO ktv_op" -c "REVOKE CREATE ON SCHEMA public FROM PUBLIC" >/dev/null || exit 1
  base=${S/user=postgres/user=ktv_op}
  run() { PGPASSFILE=/dev/null convert_server "$1" --type KTD --source "$WORK/a.ktd" --company 3 --year 2007 --report "$WORK/r.json"; }
  # refused connection: expected exit 1, text of the error, nothing made
  while IFS='|' read -r label conninfo expected; do
    run "$conninfo" >"$WORK/out" 2>"$WORK/err"; rc=$?
    [ $rc = 1 ] || fail "$label: exit $rc"
    grep -q "$expected" "$WORK/err" || fail "$label: '$(tail -1 "$WORK/err")' does not say '$expected'"
    grep -qF "$secret" "$WORK/out" "$WORK/err" "$WORK/r.json" 2>/dev/null && fail "$label: an output shows the password"
  done <<CASES
wrong password|$base password=falsch-$secret|wrong user name or password
unknown database|${base/dbname=ktv_refusals/dbname=ktv_none} password=$secret|database does not exist
unreachable server|host=$WORK/none port=1 user=ktv_op password=$secret|cannot be reached
no right to create a schema|${base/user=ktv_op/user=ktv_guest} password=$secret|does not let this role create the schema
connection text not readable|host=x password=$secret foo|cannot be read
CASES
  [ "$(psql "$S" -XAtc "SELECT count(*) FROM pg_namespace WHERE nspname IN ('sabit', 'ktfim_3_2007')")" = 0 ] || fail "a refused run made a schema"
  # A schema lacking a column of its template is refused like a damaged template.
  run "$base password=$secret" >"$WORK/out" 2>"$WORK/err" || fail "the first run failed: $(tail -1 "$WORK/err")"
  grep -qF "$secret" "$WORK/out" "$WORK/err" "$WORK/r.json" && fail "a run's output shows the password"
  psql "$S" -qXc 'ALTER TABLE ktchm_3_2007."StokKart" DROP COLUMN "Durum"' >/dev/null
  before=$(psql "$S" -XAtc 'SELECT count(*) FROM ktchm_3_2007."AracKarti"')
  PGPASSFILE=/dev/null convert_server "$base password=$secret" --type PVD --source "$WORK/a.ktd" --company 3 --year 2007 >"$WORK/out" 2>"$WORK/err"; rc=$?
  [ $rc = 1 ] && grep -q "error 3343: .*ktchm_3_2007" "$WORK/err" || fail "a schema lacking a column: exit $rc, $(tail -1 "$WORK/err")"
  [ "$(psql "$S" -XAtc 'SELECT count(*) FROM ktchm_3_2007."AracKarti"')" = "$before" ] || fail "cards written into a damaged schema"
  ;;
*) echo "unknown group $GROUP"; exit 2 ;;
esac
exit $failed
