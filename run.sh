#!/usr/bin/env bash
# Sets up, builds a release build, lays out the portable program folder build/app and
# starts the wizard from there (or, without a display, the headless demo).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKTV_SANITIZE=OFF >/dev/null
cmake --build build -j"$(nproc)"
APP="$PWD/build/app"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$APP/ktvedaz"
fi
echo "No display found: running the headless demo instead."
if [ -x "$APP/ktvedaz-cli" ] && [ -f "$APP/samples/ornek.ktd" ]; then
  "$APP/ktvedaz-cli" convert --type KTD --source "$APP/samples/ornek.ktd" --company 1 --year 2005 --name "Örnek Firma" --root "$APP"
fi
echo "To start the wizard, run $APP/ktvedaz on a desktop (or: xvfb-run $APP/ktvedaz)."
