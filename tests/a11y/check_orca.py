#!/usr/bin/env python3
"""Listens to the real Brumlo through the screen reader Orca, as a blind learner hears it.

Started by scripts/check-orca under a private X server, session bus and sound server. Orca runs
with a settings folder of its own (no first-run questions, no echo of the keys typed) and writes
its debug log to a file; every utterance it sends to speech-dispatcher is a line
"SPEECH OUTPUT: '...'" there. The program is driven with xdotool keys only, and after each step
the utterances added to the log since the step are what was spoken. Each scenario starts the
program afresh in the same folder, prints what Orca said and PASS or FAIL; the script ends with 1
when any scenario failed.

Run with "--orca LOG PREFS" it is instead the launcher of Orca itself: Orca's own --debug-file
writes through a buffer that holds the last lines back until more come, so the launcher opens the
log line by line and then runs Orca's usual start.
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time
import traceback

TRAINING_TEXT = "KMRSU AUTSK MRSAU PTLOW IKMRS UAPTL OWIKM RSUAP TLOWI KMRSU "
# The same settings as the accessibility check: output 1 is the sound card.
TONE_LINE = 7  # the index of the tone chosen, counted from 0
SETTINGS = ("1\r\nCOM1\r\n1\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n1234567890\r\n1\r\n0\r\n4\r\n12\r\n"
            "7\r\n0\r\n0\r\n0\r\n0\r\n")
# Group 3 copied with an X for its R.
COPY = "KMRSU AUTSK MXSAU PTLOW IKMRS UAPTL OWIKM RSUAP TLOWI KMRSU"
ORCA = "/usr/bin/orca"
# What Orca is told beyond its defaults: keys typed are not echoed (their names would mix with
# what the program says), no braille display is looked for, no sounds.
ORCA_SETTINGS = {
    "enableKeyEcho": False,
    "enableEchoByCharacter": False,
    "enableEchoByWord": False,
    "enableBraille": False,
    "enableSound": False,
    "enableSpeech": True,
    "firstStart": False,
}


def run_orca(log_path, prefs):
    """Orca's start as /usr/bin/orca does it, with its debug log written line by line and no
    refusal to start beside another user's Orca on another display (it looks for them by name)."""
    import importlib.machinery
    import importlib.util
    from orca import debug
    debug.debugLevel = debug.LEVEL_INFO
    debug.eventDebugLevel = debug.LEVEL_OFF
    debug.debugFile = open(log_path, "w", buffering=1, encoding="utf-8")
    loader = importlib.machinery.SourceFileLoader("orca_start", ORCA)
    start = importlib.util.module_from_spec(importlib.util.spec_from_loader("orca_start", loader))
    loader.exec_module(start)
    start.otherOrcas = lambda: []
    sys.argv = ["orca", "--user-prefs", prefs]
    return start.main()


if len(sys.argv) == 4 and sys.argv[1] == "--orca":
    sys.exit(run_orca(sys.argv[2], sys.argv[3]))

import pyatspi  # noqa: E402  (the launcher above runs without it)


class Failed(Exception):
    """A scenario that cannot go on."""


# ---------------------------------------------------------------------------------------------
# Orca's log

SPEECH = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - SPEECH OUTPUT: '(.*)'\s*(\{.*\})?\s*$", re.S)
STAMPED = re.compile(r"^\d\d:\d\d:\d\d\.\d+ - ")
CONTINUED = " " * 18


class OrcaLog:
    def __init__(self, path):
        self.path = path
        self.offset = 0

    def size(self):
        try:
            return os.path.getsize(self.path)
        except OSError:
            return 0

    def mark(self):
        self.offset = self.size()

    def settle(self, quiet=0.7, least=0.4, most=8.0):
        """Waits until the log has not grown for `quiet` seconds (at least `least`, at most
        `most` seconds in all)."""
        began = time.monotonic()
        size = self.size()
        changed = began
        while True:
            time.sleep(0.05)
            now = time.monotonic()
            grown = self.size()
            if grown != size:
                size, changed = grown, now
            if now - began >= most or (now - changed >= quiet and now - began >= least):
                return

    def read_since(self, offset):
        if not os.path.exists(self.path):
            return ""
        with open(self.path, "rb") as log:
            log.seek(offset)
            return log.read().decode("utf-8", "replace")

    def speech_since(self, offset):
        """The utterances logged after `offset`, each as Orca sent it."""
        said = []
        entry = None
        for line in self.read_since(offset).split("\n"):
            if entry is not None and line.startswith(CONTINUED):
                entry += "\n" + line[len(CONTINUED):]
                continue
            if entry is not None:
                said.append(entry)
                entry = None
            if STAMPED.match(line) and " - SPEECH OUTPUT: " in line[:40]:
                entry = line
        if entry is not None:
            said.append(entry)
        utterances = []
        for entry in said:
            match = SPEECH.match(entry)
            utterances.append(match.group(1) if match else entry.split("SPEECH OUTPUT: ", 1)[1])
        return utterances

    def contains(self, text):
        return text in self.read_since(0)


# ---------------------------------------------------------------------------------------------
# The accessibility tree, read only to find things and to know what is on the screen

def wait_for(find, what, timeout=15.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # an object that went away while it was read
            found = None
        if found:
            return found
        time.sleep(0.1)
    raise Failed("timed out waiting for " + what)


def walk(accessible):
    yield accessible
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


def find(root, role, name=None, start=None):
    for accessible in walk(root):
        if accessible.getRole() == role and (name is None or accessible.name == name) and \
                (start is None or accessible.name.startswith(start)):
            return accessible
    return None


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, -1)


def has(accessible, state):
    try:
        return accessible.getState().contains(state)
    except Exception:
        return False


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name.lower() == "brumlo":
            return app
    return None


def window_named(app, name):
    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is not None and window.name == name and has(window, pyatspi.STATE_SHOWING):
            return window
    return None


def showing_windows(app):
    names = []
    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is not None and has(window, pyatspi.STATE_SHOWING):
            names.append("%s %r" % (window.getRoleName(), window.name))
    return names


# ---------------------------------------------------------------------------------------------
# Keys and what follows them

class Listener:
    def __init__(self, log):
        self.log = log

    def keys(self, *keys, quiet=0.7, least=0.4, most=8.0, label=None):
        """Types the keys, waits for Orca to finish, prints and returns what it said."""
        self.log.settle(quiet=0.3, least=0.0, most=3.0)
        offset = self.log.size()
        if keys:
            subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True)
        self.log.settle(quiet=quiet, least=least, most=most)
        said = self.log.speech_since(offset)
        print("  [%s] %s" % (label or " ".join(keys),
                             " | ".join(repr(line) for line in said) or "(nothing)"), flush=True)
        return said

    def type(self, text):
        self.log.settle(quiet=0.3, least=0.0, most=3.0)
        offset = self.log.size()
        subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)
        self.log.settle()
        said = self.log.speech_since(offset)
        print("  [typed %r] %s" % (text, " | ".join(repr(line) for line in said) or
                                   "(nothing)"), flush=True)
        return said


def joined(said):
    return " ".join(said)


# ---------------------------------------------------------------------------------------------
# The scenarios

class Scenario:
    """One scenario's program (started afresh in the shared folder) and what went wrong."""

    def __init__(self, listener, launch):
        self.listen = listener
        self.launch = launch
        self.program = self.app = self.window = None
        self.problems = []

    def start(self):
        self.stop()
        self.program, self.app = start_program(*self.launch)
        self.window = window_named(self.app, "Brumlo")
        # No window manager gives the new window the keyboard: it is given here.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Brumlo$",
                        "windowfocus", "--sync"], check=False, capture_output=True)
        # Keys go to the window once it is active, which a loaded machine takes a while to say.
        wait_for(lambda: has(self.window, pyatspi.STATE_ACTIVE), "the window to be active", 10)
        # The first key after the window is mapped may be lost: a Shift, which does nothing.
        self.listen.keys("shift", label="the window appears", quiet=1.0, least=1.0)

    def stop(self):
        if self.program is not None:
            stop_program(self.program)
            self.program = None

    def still_running(self):
        time.sleep(0.5)
        try:
            return self.program.poll() is None and window_named(self.app, "Brumlo") is not None
        except Exception:
            return False

    def expect(self, condition, message):
        if not condition:
            self.problems.append(message)
            print("  FAIL: " + message, flush=True)
        return condition

    def tab_to(self, accessible, what, limit=60):
        """Tabs until `accessible` has the focus (what is said on the way is printed)."""
        for _ in range(limit):
            if has(accessible, pyatspi.STATE_FOCUSED):
                return True
            self.listen.keys("Tab", quiet=0.35, least=0.2, most=3.0)
        if has(accessible, pyatspi.STATE_FOCUSED):
            return True
        raise Failed("%d Tabs did not bring the focus to %s" % (limit, what))

    def dialog(self, title, timeout=10.0):
        return wait_for(lambda: window_named(self.app, title), "the window %r" % title, timeout)

    def open_menu(self, key, item, label=None):
        """Opens a menu by its Alt key and returns what was said. An X server that has just
        mapped the window may lose the first key: while the menu's `item` is not showing, the
        key is pressed again (a menu not open is not closed by it)."""
        said = []
        for _ in range(3):
            said += self.listen.keys(key, quiet=1.0, least=1.0, label=label)
            entry = find(self.app, pyatspi.ROLE_MENU_ITEM, item)
            if entry is not None and has(entry, pyatspi.STATE_SHOWING):
                return said
            print("  note: the menu did not open; %s again" % key)
        raise Failed("%s did not open the menu of %s" % (key, item))

    def open_training_item(self, letter, title):
        """Alt+C opens the menu Výcvik, the item's letter chooses the item."""
        said = self.open_menu("alt+c", "Kontrola opisu…", label="alt+c: the menu Výcvik")
        if "Výcvik" not in joined(said):
            print("  note: the menu opened without its name Výcvik being said")
        self.listen.keys(letter, quiet=1.0, label="%s: %s" % (letter, title))
        return self.dialog(title)


def list_items(combo):
    """The items a closed list offers, as its popup's list holds them."""
    items = []
    for accessible in walk(combo):
        if accessible.getRole() == pyatspi.ROLE_LIST_ITEM:
            items.append(accessible.name)
    return items


def scenario_tone(s):
    """a. The list Tónová volba, reached by Tab, says its name and value; Down says the next."""
    tone = wait_for(lambda: find(s.window, pyatspi.ROLE_COMBO_BOX, "Tónová volba"),
                    "the list Tónová volba")
    items = list_items(tone)
    # The value is the item the settings file chose; the list tells it too where it has a text.
    chosen = int(SETTINGS.split("\r\n")[TONE_LINE])
    if not s.expect(len(items) > chosen + 1, "the list offers only %r" % items):
        return
    value, following = items[chosen], items[chosen + 1]
    told = text_of(tone)
    print("  the list's items: %s; chosen: %r; its text on the bus: %r" % (items, value, told))
    if told != value:
        print("  note: the list does not give its value %r as its text on the bus" % value)
    s.tab_to(tone, "the list Tónová volba")
    # Once more from the control before it, so that what is heard is the arrival by Tab alone.
    s.listen.keys("shift+Tab", quiet=0.5)
    said = joined(s.listen.keys("Tab"))
    s.expect(has(tone, pyatspi.STATE_FOCUSED), "Tab did not come back to the list")
    s.expect("Tónová volba" in said, "Orca did not say the list's name on Tab")
    s.expect(value in said, "Orca did not say the list's value %r on Tab" % value)
    said = joined(s.listen.keys("Down"))
    told = text_of(tone)
    if told is not None:
        s.expect(told == following, "after Down the list gives %r, not %r" % (told, following))
    s.expect(following in said, "Orca did not say the new value %r on Down" % following)


# A menu opened by its letter is heard by its name or, as Orca says a Qt menu that opens with its
# first item chosen, by an item of its own.
MENU_WORDS = {
    "Soubor": ("Soubor", "Načti text", "Ulož text", "Uložit zvuk", "Možnosti zvuku", "Konec"),
    "Nastavení": ("Nastavení", "Výstupu", "Změna jazyka", "Pamatovat"),
}


def menu_said(menu, said):
    return any(word in said for word in MENU_WORDS[menu])


def report_state(s):
    try:
        print("  windows showing: %s" % ", ".join(showing_windows(s.app)))
        stop = find(s.window, pyatspi.ROLE_PUSH_BUTTON, "Stop")
        if stop is not None and has(stop, pyatspi.STATE_ENABLED):
            print("  Stop is enabled: a transmission runs")
    except Exception:
        print("  the program's windows cannot be read")


def scenario_alt_keys(s):
    """b. Each Alt key opens what its letter is underlined in: Alt+O the menu Soubor, Alt+E the
    menu Nastavení, Alt+S the button Start."""
    for key, menu, item in (("alt+o", "Soubor", "Načti text"),
                            ("alt+e", "Nastavení", "Výstupu")):
        said = joined(s.open_menu(key, item))
        report_state(s)
        s.expect(menu_said(menu, said), "%s: Orca did not say the menu %s" % (key, menu))
        # Escape closes the menu, not the window.
        s.listen.keys("Escape")
        s.expect(s.still_running(), "Escape after %s closed the program" % key)
    s.listen.keys("alt+s", label="alt+s: Start")
    stop = find(s.window, pyatspi.ROLE_PUSH_BUTTON, "Stop")
    s.expect(stop is not None and has(stop, pyatspi.STATE_ENABLED),
             "Alt+S did not start a transmission")
    s.listen.keys("alt+t", label="alt+t: Stop")


VERDICTS = ("Špatně", "Správně", "Chybně", "Pomalu", "Chyba")


def verdict_said(said):
    return [line for line in said if any(word in line for word in VERDICTS)]


def scenario_recognition(s):
    """c. Instant recognition: a wrong key is answered by a spoken verdict."""
    dialog = s.open_training_item("r", "Okamžité rozpoznání")
    start = wait_for(lambda: find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Start"), "its Start")
    s.tab_to(start, "the button Start", limit=10)
    s.listen.keys("space", quiet=1.0, least=1.5, label="space: Start")
    # A letter sounds (the set is the letters); a digit is never one of them, so the answer is
    # wrong.
    said = s.listen.keys("5", quiet=1.0, least=1.0, label="5 as the answer")
    verdict = find(dialog, pyatspi.ROLE_LABEL, start="Špatně") or \
        find(dialog, pyatspi.ROLE_LABEL, start="Správně")
    shown = verdict.name if verdict is not None else None
    print("  the verdict shown: %r" % shown)
    if not s.expect(shown is not None, "no verdict is shown after the answer"):
        print("  windows showing: %s" % ", ".join(showing_windows(s.app)))
    s.expect(len(verdict_said(said)) == 1, "Orca did not speak the verdict once")
    s.listen.keys("Escape")


def scenario_callsigns(s):
    """d. Callsign runs: a wrong callsign sent with Enter is answered by a spoken verdict."""
    dialog = s.open_training_item("v", "Volací znaky")
    start = wait_for(lambda: find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Start"), "its Start")
    s.tab_to(start, "the button Start", limit=10)
    s.listen.keys("space", quiet=1.0, least=2.0, label="space: Start")
    answer = find(dialog, pyatspi.ROLE_TEXT)
    s.expect(answer is not None and has(answer, pyatspi.STATE_FOCUSED),
             "the answer's field does not have the focus after Start")
    s.listen.type("QQ9QQQ")
    said = s.listen.keys("Return", quiet=1.0, least=1.0)
    verdict = next((label.name for label in walk(dialog) if label.getRole() == pyatspi.ROLE_LABEL
                    and label.name.startswith(VERDICTS)), None)
    print("  the verdict shown: %r" % verdict)
    s.expect(verdict is not None, "no verdict is shown after the answer")
    s.expect(len(verdict_said(said)) == 1, "Orca did not speak the verdict once")
    s.listen.keys("Escape")


def scenario_copy_check(s):
    """e. The copy check: Vyhodnotit is answered by the score, Down reads the next line."""
    s.listen.keys("ctrl+k", quiet=1.0)
    question = None
    if window_named(s.app, "Kontrola opisu") is None:
        # The text shown was remembered, not sent: the program asks whether to check against it.
        question = wait_for(lambda: next((w for w in (s.app.getChildAtIndex(k)
                                                      for k in range(s.app.childCount))
                                          if w is not None and has(w, pyatspi.STATE_SHOWING)
                                          and find(w, pyatspi.ROLE_PUSH_BUTTON, "Ano")), None),
                            "the copy check or its question", 5)
    if question is not None:
        s.listen.keys("alt+a", quiet=1.0, label="alt+a: Ano")
    dialog = s.dialog("Kontrola opisu")
    edit = wait_for(lambda: find(dialog, pyatspi.ROLE_TEXT), "the copy's field")
    wait_for(lambda: has(edit, pyatspi.STATE_FOCUSED), "the focus in the copy's field", 5)
    s.listen.type(COPY)
    utterances = s.listen.keys("alt+v", quiet=1.0, least=1.0, label="alt+v: Vyhodnotit")
    said = joined(utterances)
    s.expect(sum("Skóre" in line for line in utterances) == 1, "Orca did not say the score exactly once")
    result = find(dialog, pyatspi.ROLE_TEXT, "Výsledek kontroly")
    s.expect(result is not None and has(result, pyatspi.STATE_FOCUSED),
             "the result does not have the focus")
    lines = (text_of(result) or "").split("\n") if result is not None else []
    print("  the result's first lines: %r" % lines[:3])
    s.expect(lines and lines[0].startswith("Skóre"), "the result does not start with the score")
    s.expect(re.search(r"\d+([.,]\d+)? ?%", said) is not None and "Skóre" in said,
             "Orca did not speak the score")
    said = joined(s.listen.keys("Down"))
    if s.expect(len(lines) > 1, "the result has no second line"):
        s.expect(lines[1] in said, "Down: Orca did not speak the next line %r" % lines[1])
    s.listen.keys("Escape")


def scenario_statistics(s):
    """f. The statistics window: Tab reaches its button Zavřít."""
    dialog = s.open_training_item("s", "Statistika")
    close = wait_for(lambda: find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Zavřít"), "its Zavřít")
    said = []
    reached = False
    for _ in range(30):
        said += s.listen.keys("Tab", quiet=0.35, least=0.2, most=3.0)
        if has(close, pyatspi.STATE_FOCUSED):
            reached = True
            break
    s.expect(reached, "30 Tabs did not bring the focus to Zavřít")
    s.expect(any("Zavřít" in line for line in said), "Orca never said Zavřít")
    s.listen.keys("Escape")


def scenario_transmission(s):
    """g. While the text is sent, with the focus on a button, Orca does not spell it out."""
    start = wait_for(lambda: find(s.window, pyatspi.ROLE_PUSH_BUTTON, "Start"), "Start")
    s.tab_to(start, "the button Start")
    said = s.listen.keys("space", quiet=6.0, least=5.0, most=6.0, label="space: Start, 5 s")
    focus = next((a for a in walk(s.window) if has(a, pyatspi.STATE_FOCUSED)), None)
    print("  the focus during sending: %s" % (
        "%s %r" % (focus.getRoleName(), focus.name) if focus is not None else None))
    display = find(s.window, pyatspi.ROLE_TEXT, "Morse text")
    if display is not None:
        print("  the display's caret: %d" % display.queryText().caretOffset)
    letters = [line for line in said if len(line.strip()) == 1]
    s.expect(not letters, "Orca spelled the sent characters one by one: %r" % letters)
    stop = find(s.window, pyatspi.ROLE_PUSH_BUTTON, "Stop")
    s.expect(stop is not None and has(stop, pyatspi.STATE_ENABLED),
             "nothing is being sent (Stop is not enabled)")
    s.listen.keys("alt+t", label="alt+t: Stop")


def scenario_checkable_items(s):
    """h. A checkable menu item says whether it is on: Krokování (off) and Pamatovat (on) in the
    menu Nastavení."""
    s.open_menu("alt+e", "Výstupu")
    heard = {}
    for _ in range(6):
        said = joined(s.listen.keys("Down"))
        for item in ("Krokování", "Pamatovat"):
            if item in said and item not in heard:
                heard[item] = said
    s.listen.keys("Escape")
    print("  heard: %r" % heard)
    s.expect("not checked" in heard.get("Krokování", ""),
             "Orca did not say that Krokování is not checked")
    remember = heard.get("Pamatovat", "")
    s.expect("checked" in remember and "not checked" not in remember,
             "Orca did not say that Pamatovat is checked")


MORSE = {"A": ".-", "E": ".", "I": "..", "P": ".--.", "R": ".-.", "S": "..."}


def key_morse(text, dot=0.08):
    """Keys `text` on the left Ctrl, the straight key of the keying settings."""
    for character in text:
        for element in MORSE[character]:
            subprocess.run(["xdotool", "keydown", "Control_L"], check=True)
            time.sleep(dot if element == "." else 3 * dot)
            subprocess.run(["xdotool", "keyup", "Control_L"], check=True)
            time.sleep(dot)
        time.sleep(2 * dot)


def scenario_sending(s):
    """i. Sending practice: a word keyed is said once read; the practice list says its name and
    value; echo's verdict is spoken once."""
    dialog = s.open_training_item("e", "Vysílání klíčem")
    # The first key of a run may come late; a Shift beforehand keys nothing.
    s.listen.keys("shift", quiet=0.3, least=0.2)
    offset = s.listen.log.size()
    key_morse("PARIS")
    s.listen.log.settle(quiet=1.5, least=1.5)
    said = s.listen.log.speech_since(offset)
    print("  [PARIS keyed] %s" % (" | ".join(repr(line) for line in said) or "(nothing)"))
    read = find(dialog, pyatspi.ROLE_TEXT)
    words = (text_of(read) or "").split()
    print("  read: %r" % words)
    if s.expect(len(words) == 1, "the window read %r, not one word" % words):
        s.expect(sum(words[0] in line for line in said) == 1,
                 "Orca did not say the word read, %r, once" % words[0])
    practice = wait_for(lambda: find(dialog, pyatspi.ROLE_COMBO_BOX, "Cvičení:"),
                        "the list Cvičení")
    s.tab_to(practice, "the list Cvičení", limit=12)
    s.listen.keys("shift+Tab", quiet=0.5)
    said = joined(s.listen.keys("Tab"))
    s.expect("Cvičení" in said, "Orca did not say the list's name on Tab")
    s.expect("volné klíčování" in said, "Orca did not say the list's value on Tab")
    said = joined(s.listen.keys("Down"))
    s.expect("ozvěna" in said, "Orca did not say the new value ozvěna on Down")
    start = wait_for(lambda: find(dialog, pyatspi.ROLE_PUSH_BUTTON, "Spustit"), "its Spustit")
    s.tab_to(start, "the button Spustit", limit=6)
    s.listen.keys("space", quiet=1.0, least=1.5, label="space: Spustit")
    offset = s.listen.log.size()
    key_morse("E")
    s.listen.log.settle(quiet=1.5, least=2.0)
    said = s.listen.log.speech_since(offset)
    print("  [E sent back] %s" % (" | ".join(repr(line) for line in said) or "(nothing)"))
    s.expect(len(verdict_said(said)) == 1, "Orca did not speak the echo's verdict once")
    s.listen.keys("Escape")


SCENARIOS = [
    ("a", "the list Tónová volba", scenario_tone),
    ("b", "each Alt key opens what its letter is underlined in", scenario_alt_keys),
    ("c", "instant recognition speaks its verdict", scenario_recognition),
    ("d", "callsign runs speak their verdict", scenario_callsigns),
    ("e", "the copy check speaks its score and lines", scenario_copy_check),
    ("f", "Tab leaves the statistics' tables", scenario_statistics),
    ("g", "no spelling of the sent text", scenario_transmission),
    ("h", "checkable menu items say whether they are on", scenario_checkable_items),
    ("i", "sending practice says what was read and the echo's verdict", scenario_sending),
]


# ---------------------------------------------------------------------------------------------
# The program and Orca

def start_program(binary, folder, environment):
    for _ in range(3):
        program = subprocess.Popen([binary], cwd=folder, env=environment,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30.0
        while time.monotonic() < deadline and program.poll() is None:
            try:
                app = application()
                if app is not None and window_named(app, "Brumlo") is not None:
                    return program, app
            except Exception:
                pass
            time.sleep(0.2)
        stop_program(program)
        time.sleep(1.0)
    raise Failed("the program does not start")


def stop_program(program):
    if program.poll() is None:
        program.terminate()
        try:
            program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            program.kill()
            program.wait()
    # Gone from the bus before the next start.
    try:
        wait_for(lambda: application() is None, "the program gone from the bus", 10)
    except Failed:
        pass


def start_orca(scratch):
    prefs = os.path.join(scratch, "orca")
    os.makedirs(prefs, exist_ok=True)
    with open(os.path.join(prefs, "user-settings.conf"), "w") as conf:
        json.dump({"general": ORCA_SETTINGS,
                   "profiles": {"default": {"profile": ["Default", "default"],
                                            "pronunciations": {}, "keybindings": {}}},
                   "pronunciations": {}, "keybindings": {}}, conf, indent=4)
    log_path = os.path.join(scratch, "orca-debug.log")
    environment = dict(os.environ)
    for kind in ("DATA", "CONFIG", "CACHE"):
        environment["XDG_%s_HOME" % kind] = os.path.join(scratch, "xdg-" + kind.lower())
    orca = subprocess.Popen(["/usr/bin/python3", os.path.abspath(__file__), "--orca", log_path,
                             prefs], env=environment,
                            stdout=open(os.path.join(scratch, "orca-output.log"), "w"),
                            stderr=subprocess.STDOUT)
    log = OrcaLog(log_path)
    deadline = time.monotonic() + 30.0
    while not log.contains("ORCA: Startup complete"):
        if orca.poll() is not None or time.monotonic() > deadline:
            raise SystemExit("Orca did not start; see " + scratch)
        time.sleep(0.2)
    log.settle(quiet=1.0)
    return orca, log


def main():
    binary = os.path.abspath(sys.argv[1])
    scratch = os.path.abspath(sys.argv[2]) if len(sys.argv) > 2 else tempfile.mkdtemp()
    folder = os.path.join(scratch, "program")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "init"), "w", newline="") as init:
        init.write(SETTINGS)
    with open(os.path.join(folder, "initt"), "w", newline="") as remembered:
        remembered.write(TRAINING_TEXT)

    # The bus says a screen reader is on, as it does on a desktop where Orca was started.
    for name in ("IsEnabled", "ScreenReaderEnabled"):
        subprocess.run(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                        "/org/a11y/bus", "--method", "org.freedesktop.DBus.Properties.Set",
                        "org.a11y.Status", name, "<true>"], check=False, capture_output=True)
    orca, log = start_orca(scratch)
    print("Orca is running; its debug log: %s" % log.path, flush=True)
    if "SPEECH OUTPUT" not in log.read_since(0):
        print("warning: Orca has said nothing at its start", flush=True)

    environment = dict(os.environ)
    environment.update({
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        "QT_QPA_PLATFORM": "xcb",
        "ASAN_OPTIONS": "detect_leaks=0",
    })
    listener = Listener(log)
    failed = []
    try:
        # ORCA_SCENARIOS=ch runs only the scenarios c and h, as when one is being mended.
        chosen = os.environ.get("ORCA_SCENARIOS", "")
        for letter, title, check in SCENARIOS:
            if chosen and letter not in chosen:
                continue
            print("\n== %s. %s" % (letter, title), flush=True)
            scenario = Scenario(listener, (binary, folder, environment))
            try:
                scenario.start()
                check(scenario)
            except Failed as stopped:
                scenario.expect(False, str(stopped))
            except Exception:
                traceback.print_exc()
                scenario.expect(False, "the scenario broke off with an error")
            finally:
                scenario.stop()
            if scenario.problems:
                failed.append(letter)
                print("FAIL %s: %s" % (letter, "; ".join(scenario.problems)), flush=True)
            else:
                print("PASS %s" % letter, flush=True)
    finally:
        orca.terminate()
        try:
            orca.wait(timeout=10)
        except subprocess.TimeoutExpired:
            orca.kill()
    print()
    if failed:
        print("%d of %d scenarios failed: %s" % (len(failed), len(SCENARIOS), " ".join(failed)))
        return 1
    print("all %d scenarios passed" % len(SCENARIOS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
