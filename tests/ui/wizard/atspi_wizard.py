#!/usr/bin/python3
"""What a screen reader finds in the wizard, read through AT-SPI from a process of its own.

Runs a copy of the program folder's wizard (in a scratch folder, so its settings and data stay
there) with Qt's accessibility bridge on, walks both pages with pyatspi and checks that every
field is named by its label, that the window is a frame, and that pressing a button through its
accessible action returns at once even when the button opens a modal dialog or box.

Usage: atspi_wizard.py PROGRAM_FOLDER   (inside an X display and a D-Bus session, e.g.
       xvfb-run -a dbus-run-session -- atspi_wizard.py build/app)
Prints what a screen reader gets for each control of each page: role, name, description.
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

PROGRAM = "KTVedaz"
FIELD_ROLES = {"combo box", "text", "list", "push button", "panel"}
PAGE1 = [
    ("combo box", "KTD/PVD"),
    ("text", "Çevrim Yapılacak Dosyaların Bulunduğu Klasör"),
    ("push button", "Gözat"),
    ("list", "Klasördeki Dosyalar"),
    ("text", "Çevrim Yapılacak Dosyanın Adı"),
    ("push button", "İleri >>"),
    ("push button", "Kapat"),
]
PAGE2 = [
    ("panel", "YENİ FİRMA BİLGİSİ"),
    ("combo box", "FİRMA KODU"),
    ("text", "FİRMA ADI"),
    ("combo box", "Hangi Yıla Aktarım Yapılacak ?"),
    ("push button", "<< Geri"),
    ("push button", "Çevrim Yap"),
    ("push button", "Kapat"),
]
# The label each field is labelled by, as the label shows it.
LABELS = {
    "KTD/PVD": "KTD/PVD :",
    "Çevrim Yapılacak Dosyaların Bulunduğu Klasör": "Çevrim Yapılacak Dosyaların Bulunduğu Klasör",
    "Çevrim Yapılacak Dosyanın Adı": "Çevrim Yapılacak Dosyanın Adı",
    "FİRMA KODU": " FİRMA KODU",
    "FİRMA ADI": " FİRMA ADI",
    "Hangi Yıla Aktarım Yapılacak ?": "Hangi Yıla Aktarım Yapılacak ? :",
}
# An action that holds the client longer than this has waited for what the click opened.
QUICK = 2.0

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def wait_for(what, probe, seconds=30.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    raise SystemExit("timed out waiting for " + what)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == PROGRAM:
            return app
    return None


def showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(acc, depth=0):
    """Every showing node under acc, with its depth; list entries are left out."""
    yield acc, depth
    if acc.getRoleName() == "list":
        return
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None and showing(child):
            yield from walk(child, depth + 1)


def labelled_by(acc):
    names = []
    for rel in acc.getRelationSet():
        if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [rel.getTarget(i).name for i in range(rel.getNTargets())]
    return names


def window_of(app, role):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.getRoleName() == role and showing(w):
            return w
    return None


def fields(window):
    return [(a.getRoleName(), a.name) for a, _ in walk(window) if a.getRoleName() in FIELD_ROLES]


def find(window, role, name):
    for a, _ in walk(window):
        if a.getRoleName() == role and a.name == name:
            return a
    return None


def show_page(title, window):
    print("\n== %s ==" % title)
    print("%-14s | %-46s | %s" % ("role", "name", "description / labelled by"))
    for a, depth in walk(window):
        extra = a.description or ""
        labels = labelled_by(a)
        if labels:
            extra += (" " if extra else "") + "[labelled by: %s]" % ", ".join(repr(n) for n in labels)
        print("%-14s | %-46s | %s" % ("  " * depth + a.getRoleName(), repr(a.name), extra))


def check_page(title, window, expected):
    found = fields(window)
    for role, name in expected:
        check((role, name) in found, "%s: no %s named %r (found %r)" % (title, role, name, found))
    names = [n for r, n in found if r not in ("push button", "panel")]
    check(len(names) == len(set(names)) and "" not in names, "%s: fields without a name of their own: %r" % (title, names))
    for role, name in expected:
        if name in LABELS:
            acc = find(window, role, name)
            if acc is not None:
                check(LABELS[name] in labelled_by(acc), "%s: %r is not labelled by %r" % (title, name, LABELS[name]))


def press(acc, what):
    """Presses through the accessible action; returns how long the client was held."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    start = time.monotonic()
    try:
        action.doAction(names.index("Press") if "Press" in names else 0)
    except Exception as e:  # a timed-out call
        print("press %s: %s" % (what, e))
        return float("inf")
    return time.monotonic() - start


def main():
    folder = os.path.abspath(sys.argv[1])
    scratch = tempfile.mkdtemp(prefix="ktv-atspi-")
    proc = None
    try:
        shutil.copy2(os.path.join(folder, "ktvedaz"), scratch)
        for template in glob.glob(os.path.join(folder, "*.mdx")):
            shutil.copy2(template, scratch)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   ASAN_OPTIONS="detect_leaks=0")
        proc = subprocess.Popen([os.path.join(scratch, "ktvedaz")], cwd=scratch, env=env)
        pyatspi.setTimeout(15000, 30000)

        app = wait_for("the program on the accessibility bus", application)
        frame = wait_for("the wizard window", lambda: window_of(app, "frame") or window_of(app, "filler"))
        check(frame.getRoleName() == "frame", "the window is a %s, not a frame" % frame.getRoleName())
        wait_for("page 1", lambda: find(frame, "push button", "İleri >>"))
        show_page("Page 1", frame)
        check_page("Page 1", frame, PAGE1)

        # The folder dialog is modal; the client is not held while it is open.
        held = press(find(frame, "push button", "Gözat"), "Gözat")
        check(held < QUICK, "pressing Gözat held the client %.1f s" % held)
        dialog = wait_for("the folder dialog", lambda: window_of(app, "dialog"))
        press(wait_for("İptal", lambda: find(dialog, "push button", "İptal")), "İptal")
        wait_for("the folder dialog to close", lambda: window_of(app, "dialog") is None)

        # A change to save, so that Kapat asks.
        folder_box = find(frame, "text", "Çevrim Yapılacak Dosyaların Bulunduğu Klasör")
        if folder_box is None:
            raise SystemExit("the folder box cannot be found by its name")
        folder_box.queryEditableText().setTextContents(scratch)

        held = press(find(frame, "push button", "İleri >>"), "İleri >>")
        check(held < QUICK, "pressing İleri held the client %.1f s" % held)
        wait_for("page 2", lambda: find(frame, "push button", "Çevrim Yap"))
        show_page("Page 2", frame)
        check_page("Page 2", frame, PAGE2)

        held = press(find(frame, "push button", "Kapat"), "Kapat")
        check(held < QUICK, "pressing Kapat held the client %.1f s while the save prompt was up" % held)
        prompt = wait_for("the save prompt", lambda: window_of(app, "dialog") or window_of(app, "alert"))
        press(wait_for("Hayır", lambda: find(prompt, "push button", "Hayır")), "Hayır")
        check(proc.wait(timeout=30) == 0, "the wizard did not end well")
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
            proc.wait()
        shutil.rmtree(scratch, ignore_errors=True)
    if failures:
        print("\n%d failure(s)" % len(failures))
        return 1
    print("\nall checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
