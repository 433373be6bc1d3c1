#!/usr/bin/env python3
"""Reads the real Brumlo through the accessibility bus, as a screen reader (Orca) does.

Started by scripts/check-accessibility under a private X server, session bus and sound server:
the program runs in a folder of its own with a remembered text, on a desktop that asks for a
high-contrast palette (KDE writes the chosen colour scheme into kdeglobals, which Qt reads), and
the test checks that
  - every control of the main window says what it is: a name that is none of its values, and the
    fields and lists are labelled by the label that names them;
  - the text display is read-only text holding the training text, nothing sent yet;
  - the speed read-outs give their values;
  - the copy check, opened and typed with the keyboard, writes its result as text: the score, then
    each difference by group and character, then the confusions;
  - the window is maximised and its text reads against its background in the screenshot.
"""

import os
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi

TRAINING_TEXT = ("KMRSU AUTSK MRSAU PTLOW IKMRS UAPTL OWIKM RSUAP TLOWI KMRSU ")
# The copy: group 2 misses its S, group 3 has an X for its R.
COPY = "KMRSU AUTK MXSAU PTLOW IKMRS UAPTL OWIKM RSUAP TLOWI KMRSU"
EXPECTED_DIFFERENCES = [
    "skupina 2, znak 4: vysláno S, vynecháno",
    "skupina 3, znak 2: vysláno R, opsáno X",
]
SETTINGS = ("1\r\nCOM1\r\n1\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n1234567890\r\n1\r\n0\r\n4\r\n12\r\n"
            "7\r\n0\r\n0\r\n0\r\n0\r\n")
# A high-contrast colour scheme as Plasma writes it: white text on black, yellow selection.
KDEGLOBALS = """[General]
ColorScheme=HighContrast

[Colors:Window]
BackgroundNormal=0,0,0
ForegroundNormal=255,255,255
ForegroundInactive=200,200,200

[Colors:View]
BackgroundNormal=0,0,0
BackgroundAlternate=24,24,24
ForegroundNormal=255,255,255
ForegroundInactive=200,200,200
ForegroundLink=0,255,255
ForegroundVisited=255,128,255

[Colors:Button]
BackgroundNormal=0,0,0
ForegroundNormal=255,255,255

[Colors:Selection]
BackgroundNormal=255,255,0
ForegroundNormal=0,0,0

[Colors:Tooltip]
BackgroundNormal=0,0,0
ForegroundNormal=255,255,255
"""

CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TABLE, pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def wait_for(find, what, timeout=30.0):
    """Polls until `find` returns something; the program and the bus start at their own pace."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # an object that went away while it was read
            found = None
        if found:
            return found
        time.sleep(0.2)
    raise SystemExit("timed out waiting for " + what)


def walk(accessible):
    yield accessible
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def value_of(accessible):
    try:
        return accessible.queryValue().currentValue
    except NotImplementedError:
        return None


def find(root, role, name=None):
    for accessible in walk(root):
        if accessible.getRole() == role and (name is None or accessible.name == name):
            return accessible
    return None


def values_of(accessible):
    """What a control holds: its text, its number, or for a list every item it offers."""
    values = set()
    text = text_of(accessible)
    if text:
        values.add(text)
    number = value_of(accessible)
    if number is not None:
        values.add(str(int(number)))
    if accessible.getRole() == pyatspi.ROLE_COMBO_BOX:
        for item in walk(accessible):
            if item is not accessible and item.getRole() in (pyatspi.ROLE_LIST_ITEM,
                                                             pyatspi.ROLE_TABLE_CELL):
                values.add(item.name)
    return values


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(k).lower() for k in range(action.nActions)]
    # A check box is pressed by its "toggle"-like first action, a button by "press" or "click".
    for wanted in ("press", "click", "toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise SystemExit("%r has no action to press: %r" % (accessible.name, names))


def labelled_by(accessible):
    for relation in accessible.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(k).name for k in range(relation.getNTargets())]
    return []


def check_names(window):
    checked = 0
    for accessible in walk(window):
        role = accessible.getRole()
        read_out = role == pyatspi.ROLE_LABEL and value_of(accessible) is not None
        if role not in CONTROL_ROLES and not read_out:
            continue
        checked += 1
        name = accessible.name
        what = "%s %r" % (accessible.getRoleName(), name)
        check(name.strip() != "", "a %s has no name" % accessible.getRoleName())
        check(name not in values_of(accessible), "%s is named by its value" % what)
        # Lists, one-line fields and read-outs have labels; the display is named by its frame.
        single_line = role in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) and not \
            accessible.getState().contains(pyatspi.STATE_MULTI_LINE)
        if role == pyatspi.ROLE_COMBO_BOX or single_line or read_out:
            check(name in labelled_by(accessible), "%s is not labelled by its label" % what)
    check(checked >= 40, "only %d controls were found in the window" % checked)
    print("named controls: %d" % checked, flush=True)


def luminance(pixel):
    def linear(channel):
        c = channel / 255.0
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = pixel
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def screenshot(path):
    """The whole screen as rows of (r, g, b), taken with xwd as the screenshot script does."""
    dump = subprocess.run("xwd -root -silent | xwdtopnm 2>/dev/null", shell=True, check=True,
                          capture_output=True).stdout
    with open(path, "wb") as kept:
        kept.write(dump)
    # P6: magic, width, height, maximum, then the samples (two bytes each, most significant first,
    # when the maximum is above 255).
    fields = []
    offset = 0
    while len(fields) < 4:
        while dump[offset:offset + 1].isspace():
            offset += 1
        start = offset
        while not dump[offset:offset + 1].isspace():
            offset += 1
        fields.append(dump[start:offset])
    offset += 1
    width, height, maximum = int(fields[1]), int(fields[2]), int(fields[3])
    samples = dump[offset:]
    if maximum > 255:
        samples = bytes(samples[k] for k in range(0, len(samples), 2))
    return width, height, samples


def region_contrast(image, box):
    """The background of a box (its commonest colour) and the best contrast of any ink in it."""
    width, _, pixels = image
    counts = {}
    for y in range(box.y, box.y + box.height):
        row = y * width * 3
        for x in range(box.x, box.x + box.width):
            at = row + x * 3
            pixel = struct.unpack_from("BBB", pixels, at)
            counts[pixel] = counts.get(pixel, 0) + 1
    background = max(counts, key=counts.get)
    best = max(contrast(background, pixel) for pixel in counts)
    return background, best


def main():
    binary = os.path.abspath(sys.argv[1])
    shots = sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp()
    folder = tempfile.mkdtemp()
    config = tempfile.mkdtemp()
    with open(os.path.join(folder, "init"), "w", newline="") as init:
        init.write(SETTINGS)
    with open(os.path.join(folder, "initt"), "w", newline="") as remembered:
        remembered.write(TRAINING_TEXT)
    with open(os.path.join(config, "kdeglobals"), "w") as scheme:
        scheme.write(KDEGLOBALS)

    environment = dict(os.environ)
    environment.update({
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        "QT_QPA_PLATFORM": "xcb",
        "XDG_CURRENT_DESKTOP": "KDE",
        "KDE_SESSION_VERSION": "5",
        "KDE_FULL_SESSION": "true",
        "XDG_CONFIG_HOME": config,
        "ASAN_OPTIONS": "detect_leaks=0",
    })
    program = start(binary, folder, environment)
    try:
        run_checks(program, shots)
    finally:
        program.terminate()
        try:
            program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            program.kill()
    if failures:
        print("%d accessibility checks failed" % len(failures))
        return 1
    print("the window and the copy check read right through the accessibility bus")
    return 0


def start(binary, folder, environment):
    """Starts the program and waits until it is on the accessibility bus. A start that fails at
    once on the X connection (a virtual server still settling) is tried again, twice at most."""
    for attempt in range(3):
        program = subprocess.Popen([binary], cwd=folder, env=environment)
        deadline = time.monotonic() + 30.0
        while time.monotonic() < deadline and program.poll() is None:
            try:
                if application() is not None:
                    return program
            except Exception:  # the registry not up yet
                pass
            time.sleep(0.2)
        if program.poll() is None:
            return program  # running but not seen: the checks below say what is missing
        print("the program ended at its start with %d; starting it again" % program.returncode,
              flush=True)
        time.sleep(1.0)
    raise SystemExit("the program does not start")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name.lower() == "brumlo":
            return app
    return None


def top_window(app, role, name=None):
    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is not None and window.getRole() == role and (name is None or
                                                                  window.name == name):
            return window
    return None


def run_checks(program, shots):
    app = wait_for(application, "the program on the accessibility bus")
    window = wait_for(lambda: top_window(app, pyatspi.ROLE_DIALOG, "Brumlo") or
                      top_window(app, pyatspi.ROLE_FRAME, "Brumlo"), "the main window")
    display = wait_for(lambda: find(window, pyatspi.ROLE_TEXT, "Morse text"), "the display")
    wait_for(lambda: text_of(display), "the text in the display")
    extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    check(extents.width >= 1300, "the window is not maximised: %d wide" % extents.width)

    check_names(window)

    # The display: read-only text holding the training text in its lines, nothing sent yet.
    shown = text_of(display)
    check(shown.replace("\n", "").rstrip() == TRAINING_TEXT.rstrip(),
          "the display reads %r" % shown)
    check(not display.getState().contains(pyatspi.STATE_EDITABLE), "the display is editable")
    text = display.queryText()
    check(text.caretOffset == 0 and text.getNSelections() == 0,
          "something is marked as sent before sending")
    for name in ("Rychlost textu", "Rychlost značky"):
        read_out = next((label for label in walk(window) if label.getRole() == pyatspi.ROLE_LABEL
                         and label.name == name and value_of(label) is not None), None)
        if check(read_out is not None,
                 "no read-out %r with a value" % name):
            check(value_of(read_out) > 0 and text_of(read_out) == str(int(value_of(read_out))),
                  "the read-out %r says %r" % (name, text_of(read_out)))

    # Hidden means hidden for a reader too; shown again, the text is back.
    hide = find(window, pyatspi.ROLE_CHECK_BOX, "Skrytí zobrazovaného textu")
    press(hide)
    check(wait_for(lambda: text_of(display) == "" or None, "the text hidden", 10) is True,
          "the hidden display still reads")
    press(hide)
    wait_for(lambda: text_of(display), "the text shown again")

    # High contrast: the text of the display and a label read against their backgrounds.
    image = screenshot(os.path.join(shots, "high-contrast.ppm"))
    box = display.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    background, best = region_contrast(image, box)
    check(luminance(background) < 0.05, "the display's background %r is not the scheme's black"
          % (background,))
    check(best >= 7.0, "the display's text contrasts only %.1f : 1" % best)
    label = find(window, pyatspi.ROLE_LABEL, "Tónová volba")
    background, best = region_contrast(image, label.queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS))
    check(best >= 7.0, "the label's text contrasts only %.1f : 1" % best)
    # A disabled button (Stop while nothing is sent) still shows its caption.
    stop = find(window, pyatspi.ROLE_PUSH_BUTTON, "Stop")
    check(stop is not None and not stop.getState().contains(pyatspi.STATE_ENABLED),
          "Stop is not a disabled button while idle")
    if stop is not None:
        background, best = region_contrast(image, stop.queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS))
        check(best >= 3.0, "the disabled button's caption contrasts only %.1f : 1" % best)

    # The copy check, with the keyboard: Ctrl+K, Alt+A to check against the text shown, the copy
    # typed, Alt+V to check.
    def key(*keys):
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Brumlo$",
                        "windowfocus", "--sync"], check=False, capture_output=True)
        subprocess.run(["xdotool", "key", "--delay", "50"] + list(keys), check=True)

    key("ctrl+k")

    # The text shown was remembered, not sent: the program may ask whether to check against it.
    def question_or_check():
        check_window = top_window(app, pyatspi.ROLE_DIALOG, "Kontrola opisu")
        if check_window is not None:
            return check_window
        for index in range(app.childCount):
            window = app.getChildAtIndex(index)
            if window is not None and find(window, pyatspi.ROLE_PUSH_BUTTON, "Ano"):
                subprocess.run(["xdotool", "key", "alt+a"], check=True)
                return None
        return None
    dialog = wait_for(question_or_check, "the copy check")
    edit = wait_for(lambda: find(dialog, pyatspi.ROLE_TEXT), "the copy's field")
    wait_for(lambda: edit.getState().contains(pyatspi.STATE_FOCUSED), "the focus in the copy")
    subprocess.run(["xdotool", "type", "--delay", "20", COPY], check=True)
    wait_for(lambda: text_of(edit) == COPY, "the typed copy")
    subprocess.run(["xdotool", "key", "alt+v"], check=True)
    result = wait_for(lambda: find(dialog, pyatspi.ROLE_TEXT, "Výsledek kontroly"),
                      "the result as text")
    lines = wait_for(lambda: text_of(result), "the result's lines").split("\n")
    print("\n".join(lines), flush=True)
    check(lines[0].startswith("Skóre: "), "the result does not begin with the score")
    found = [line for line in lines if line.startswith("skupina ")]
    check(found == EXPECTED_DIFFERENCES, "the differences read %r" % found)
    check(lines[-1].startswith("Nejčastější záměny:") and "odesláno R, opsáno X" in lines[-1],
          "the confusions do not come last: %r" % lines[-1])
    check(result.getState().contains(pyatspi.STATE_FOCUSED),
          "the result does not take the focus")
    # The checked copy is drawn and written in the high-contrast colours as well.
    time.sleep(0.5)
    image = screenshot(os.path.join(shots, "copy-check.ppm"))
    background, best = region_contrast(image, result.queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS))
    check(luminance(background) < 0.05 and best >= 7.0,
          "the result's text contrasts only %.1f : 1" % best)
    subprocess.run(["xdotool", "key", "Escape"], check=False)



if __name__ == "__main__":
    sys.exit(main())
