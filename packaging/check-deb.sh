#!/usr/bin/env bash
# Builds the Debian package from a release build of its own and checks it:
#   - lintian accepts it with no errors (its full output is printed);
#   - appstreamcli validates the AppStream metadata, desktop-file-validate the desktop entry;
#   - the package unpacked into a temporary root (dpkg -x) holds the system layout, and the
#     installed ktvedaz-cli, run by a user who is not root, converts the installed sample into
#     that user's data folder without writing below the installed files.
# The release build (build-deb/, or $KTV_DEB_BUILD) uses Debian's hardening flags and ccache
# when it is installed. Exits non-zero when anything fails.
#   packaging/check-deb.sh
set -euo pipefail
cd "$(dirname "$0")/.."
SRC=$PWD
BUILD=${KTV_DEB_BUILD:-build-deb}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Debian's build flags (fortified functions, stack protector, full RELRO, bind now): lintian's
# hardening checks look for them. The warnings of this build are not made errors: the test
# build checks those, and these flags only change what the optimiser sees.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CFLAGS CXXFLAGS LDFLAGS
env -u CI cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DKTV_SANITIZE=OFF -DKTV_TESTS=OFF \
  -DKTV_BENCH=OFF -DKTV_WERROR=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "${launcher[@]}" >/dev/null
cmake --build "$BUILD" -j"$(nproc)" \
  --target ktvedaz ktvedaz-cli ktv_templates ktv_samples ktv_icon ktv_package_docs >"$BUILD/package-build.log" 2>&1 || {
  tail -40 "$BUILD/package-build.log"; exit 1; }
rm -f "$BUILD"/ktvedaz_*.deb
(cd "$BUILD" && cpack -G DEB >cpack.log 2>&1) || { cat "$BUILD/cpack.log"; exit 1; }
DEB=$(ls "$BUILD"/ktvedaz_*.deb)
echo "package: $DEB"
dpkg-deb -f "$DEB"

failed=0
fail() { echo "FAILED: $*" >&2; failed=1; }

echo "--- lintian"
lintian --fail-on error --display-info "$DEB" || fail "lintian reports errors"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/ktvdeb.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
chmod 755 "$WORK"
ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT"

echo "--- appstreamcli validate"
appstreamcli validate --no-net "$ROOT/usr/share/metainfo/org.ktvedaz.KTVedaz.metainfo.xml" || fail "appstreamcli validate"
echo "--- desktop-file-validate"
desktop-file-validate "$ROOT/usr/share/applications/ktvedaz.desktop" && echo ok || fail "desktop-file-validate"

echo "--- layout"
for f in usr/bin/ktvedaz usr/bin/ktvedaz-cli usr/share/ktvedaz/SABIT.mdx usr/share/ktvedaz/KTFIM.mdx \
         usr/share/ktvedaz/KTCHM.mdx usr/share/ktvedaz/samples/ornek.ktd usr/share/ktvedaz/samples/ornek.pvd \
         usr/share/man/man1/ktvedaz.1.gz usr/share/man/man1/ktvedaz-cli.1.gz \
         usr/share/icons/hicolor/48x48/apps/ktvedaz.png usr/share/icons/hicolor/256x256/apps/ktvedaz.png \
         usr/share/bash-completion/completions/ktvedaz-cli usr/share/doc/ktvedaz/copyright \
         usr/share/doc/ktvedaz/changelog.Debian.gz; do
  [ -e "$ROOT/$f" ] || fail "missing /$f"
done
[ -e "$ROOT/usr/bin/ktvedaz-gallery" ] && fail "the gallery is in the package"
grep -qx 'Exec=/usr/bin/ktvedaz' "$ROOT/usr/share/applications/ktvedaz.desktop" || fail "Exec of the installed entry"
bash -n "$ROOT/usr/share/bash-completion/completions/ktvedaz-cli" || fail "bash completion syntax"

echo "--- the installed tool as a user who is not root"
HOMEDIR="$WORK/home"
mkdir -p "$HOMEDIR"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$HOMEDIR"
  run_as=(runuser -u nobody --)
fi
before=$(cd "$ROOT" && find . -printf '%p %s %T@\n' | sort | md5sum)
if "${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$HOMEDIR" "$ROOT/usr/bin/ktvedaz-cli" convert --type KTD \
     --source "$ROOT/usr/share/ktvedaz/samples/ornek.ktd" --company 1 --year 2005 --name "Örnek Firma" \
     >"$WORK/convert.out" 2>&1; then
  cat "$WORK/convert.out"
  data="$HOMEDIR/.local/share/ktvedaz/DATA"
  for f in SABIT.mdb 1/2005/KTFIM.mdb 1/2005/KTCHM.mdb; do
    [ -s "$data/$f" ] || fail "no $data/$f"
  done
  grep -Eq '^AracKarti +[0-9]+ +[1-9]' "$WORK/convert.out" || fail "no vehicle card added"
else
  cat "$WORK/convert.out"
  fail "the installed ktvedaz-cli could not convert the installed sample"
fi
after=$(cd "$ROOT" && find . -printf '%p %s %T@\n' | sort | md5sum)
[ "$before" = "$after" ] || fail "the run changed the installed files"

[ $failed -eq 0 ] && echo "package checks passed"
exit $failed
