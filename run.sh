#!/usr/bin/env bash
# Sets up, builds a release build, lays out the portable program folder build/app and
# starts the wizard from there (or, without a display, the headless demo).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKTV_SANITIZE=OFF -DKTV_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
APP="$PWD/build/app"
# The sample sources are optional: the first .ktd among them, if there is one.
SAMPLE="$(ls "$APP"/samples/*.ktd 2>/dev/null | head -n 1 || true)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  # On the very first start the wizard opens on the sample sources, so there is something to pick.
  if [ ! -f "$APP/Vedaz.ini" ] && [ -d "$APP/samples" ]; then
    printf '[CEVRIM]\r\nKLASOR=%s\r\nDOSYA=%s\r\nKTDPVD=0\r\n' "$APP/samples" "$(basename "${SAMPLE:-.}")" > "$APP/Vedaz.ini"
  fi
  exec "$APP/ktvedaz"
fi
echo "No display found: running the headless demo instead."
if [ -x "$APP/ktvedaz-cli" ] && [ -n "$SAMPLE" ]; then
  # The sample's numbers are written as Turkish files hold them ("7500,50").
  "$APP/ktvedaz-cli" convert --type KTD --source "$SAMPLE" --company 1 --year 2005 --name "Örnek Firma" --root "$APP" \
    --number-format tr_TR
else
  echo "No sample source in $APP/samples (or no ktvedaz-cli): nothing to convert."
fi
echo "To start the wizard, run $APP/ktvedaz on a desktop (or: xvfb-run $APP/ktvedaz)."
