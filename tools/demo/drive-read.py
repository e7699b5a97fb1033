#!/usr/bin/python3
"""Drives a running Quillbox through the accessibility interface (AT-SPI):
reads the phone, then shows the phone's and the archive's received messages
and saves a screenshot of each.

usage: drive-read.py --screenshot-tool PATH --out DIR [--timeout SECONDS] [--lang en|ru]

Needs the session's accessibility bus and DISPLAY (clicks go through xdotool).
The window is found by its texts: in the language given, or without --lang in
whichever language the read button turns up.
"""
import argparse
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "Quillbox"
# Every text of the window the drive relies on, in each interface language.
# A folder's caption is its name, then its count as " (n)" once it has messages.
TEXTS = {
    "ru": {"read": "Считать сообщения с телефона", "connected": "Состояние: Подключен",
           "archive": "Архив", "inbox": "Входящие"},
    "en": {"read": "Read messages from phone", "connected": "Status: Connected",
           "archive": "Archive", "inbox": "Inbox"},
}
READ_BUTTON = CONNECTED = ARCHIVE_GROUP = INBOX = None  # set by speak()


def speak(language):
    global READ_BUTTON, CONNECTED, ARCHIVE_GROUP, INBOX
    texts = TEXTS[language]
    READ_BUTTON, CONNECTED = texts["read"], texts["connected"]
    ARCHIVE_GROUP, INBOX = texts["archive"], texts["inbox"]


COUNTED = re.compile(r"\((\d+)\)$")


class Failed(Exception):
    pass


class Timeout(Failed):
    pass


def say(text):
    print(f"drive-read: {text}", flush=True)


def wait_for(what, probe, timeout, interval=0.5):
    """Polls probe() until it gives something true. While the program reads the
    phone its event loop answers accessibility calls only between two steps of
    the dialogue, so a call may time out or fail; that counts as not yet."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = probe()
        except GLib.Error:  # a call into the busy or still starting program
            result = None
        if result:
            return result
        if time.monotonic() >= deadline:
            raise Timeout(f"gave up after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def children(node):
    """A busy program may answer a child with nothing; such a child is left out."""
    found = (node.getChildAtIndex(i) for i in range(node.childCount))
    return [child for child in found if child is not None]


def find(node, matches):
    """First descendant, breadth first, for which matches(node) holds. The
    message list is not entered: it can hold thousands of cells."""
    queue = [node]
    while queue:
        current = queue.pop(0)
        if current is not node and matches(current):
            return current
        if current.getRole() != pyatspi.ROLE_TABLE:
            queue.extend(children(current))
    return None


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app.name == APP_NAME:
            # Qt does not announce every caption change, so libatspi's cache
            # would keep showing the tree as it was before the read.
            app.setCacheMask(pyatspi.cache.NONE)
            return app
    return None


def named(name):
    return lambda n: n.name.strip() == name


def read_button(app, languages):
    """The read button and the language it is named in, or None."""
    for language in languages:
        button = find(app, named(TEXTS[language]["read"]))
        if button:
            return button, language
    return None


def tree_rows(tree):
    """The tree's visible rows, top to bottom: the phone group, its folders
    once it is expanded, then the archive group and its folders. Qt lists
    them all as the tree's own children (as cells, after a column header)."""
    return [n for n in children(tree)
            if n.getRole() in (pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_TABLE_CELL)]


def phone_folders(tree):
    rows = tree_rows(tree)
    names = [r.name.strip() for r in rows]
    if ARCHIVE_GROUP not in names:
        return []
    return rows[1:names.index(ARCHIVE_GROUP)]


def archive_folders(tree):
    rows = tree_rows(tree)
    names = [r.name.strip() for r in rows]
    return rows[names.index(ARCHIVE_GROUP) + 1:] if ARCHIVE_GROUP in names else []


def message_box_text(app):
    """The texts of a message box the program shows, or None."""
    for window in children(app):
        if window.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
            texts = [n.name for n in children(window) if n.getRole() == pyatspi.ROLE_LABEL]
            return " / ".join(t for t in [window.name] + texts if t)
    return None


def read_finished(app, tree, expanded_since):
    """The phone folders once the read has captioned them. The read ends by
    expanding the phone group and captioning its folders; a folder without
    messages has no count, so folders long expanded without one mean an
    empty read."""
    box = message_box_text(app)
    if box:
        raise Failed(f"the program shows a message box: {box}")
    folders = phone_folders(tree)
    if any(COUNTED.search(f.name.strip()) for f in folders):
        return folders
    if folders and not expanded_since:
        expanded_since.append(time.monotonic())
    if expanded_since and time.monotonic() - expanded_since[0] > 5:
        raise Failed("the read ended without messages: " + ", ".join(f.name for f in folders))
    return None


def press(button):
    """Presses the button through its accessible action. Qt answers the press
    only once the click handler returns, and the read runs inside that
    handler: a press that gets no answer in time is a read still going on."""
    action = button.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    wanted = [n for n in ("press", "click") if n in names]
    if not wanted:
        raise Failed(f"the read button offers no press action (it offers {names})")
    try:
        action.doAction(names.index(wanted[0]))
    except GLib.Error as e:
        if "reply" not in e.message.lower():
            raise


def click(node):
    """A real mouse click: the program fills the list when the tree is clicked."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    x, y = box.x + min(box.width // 2, 30), box.y + box.height // 2
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def folder_node(tree, pick, caption):
    for row in pick(tree):
        if row.name.strip().startswith(caption):
            return row
    return None


def list_rows(table):
    return table.queryTable().nRows


def caption_count(caption):
    found = COUNTED.search(caption.strip())
    return int(found.group(1)) if found else 0


def show_folder(tree, table, pick, label, shot, args):
    """Clicks a folder, waits until the list holds as many rows as the folder's
    caption counts and screenshots it. False when it never did (the screenshot
    is taken all the same, to show what the list holds)."""
    node = wait_for(f"the {label} node", lambda: folder_node(tree, pick, INBOX), 10)
    expected = caption_count(node.name)
    say(f"clicking {label} \"{node.name.strip()}\"")
    click(node)
    try:
        wait_for(f"{expected} rows in the list for {label}",
                 lambda: list_rows(table) == expected, 30)
        say(f"the list shows the {expected} messages")
        shown = True
    except Timeout as e:
        say(f"{e}; it holds {list_rows(table)}")
        shown = False
    path = f"{args.out}/{shot}"
    subprocess.run([args.screenshot_tool, path, "1"], check=True)
    say(f"screenshot: {path}")
    return shown


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--screenshot-tool", required=True)
    parser.add_argument("--out", required=True, help="folder for the screenshots")
    parser.add_argument("--timeout", type=float, default=300, help="for the phone read")
    parser.add_argument("--lang", choices=sorted(TEXTS), help="the interface's language")
    args = parser.parse_args()

    say("looking for Quillbox on the accessibility bus")
    app = wait_for("Quillbox on the accessibility bus", find_app, 30)
    tree = wait_for("the folder tree", lambda: find(app, named("folderTree")), 10)
    table = wait_for("the message list", lambda: find(app, named("messageList")), 10)
    languages = [args.lang] if args.lang else sorted(TEXTS)
    button, language = wait_for(
        "the read button " + " or ".join(f"\"{TEXTS[lang]['read']}\"" for lang in languages),
        lambda: read_button(app, languages), 10)
    speak(language)

    say(f"the window speaks {language}; waiting for the phone to be connected")
    wait_for(f"the status \"{CONNECTED}\" and the read button enabled",
             lambda: find(app, named(CONNECTED))
             and button.getState().contains(pyatspi.STATE_ENABLED), 30)
    say(f"connected; pressing \"{READ_BUTTON}\" and reading the phone (up to {args.timeout:.0f} s)")
    started = time.monotonic()
    press(button)
    expanded_since = []
    folders = wait_for("the end of the read (counts in the phone folders)",
                       lambda: read_finished(app, tree, expanded_since),
                       args.timeout - (time.monotonic() - started), interval=1)
    say(f"read finished in {time.monotonic() - started:.0f} s: "
        + ", ".join(f.name.strip() for f in folders))

    shown = show_folder(tree, table, phone_folders, "the phone's Inbox",
                        "phone-inbox.png", args)
    shown &= show_folder(tree, table, archive_folders, "the archive's Inbox",
                         "archive-inbox.png", args)
    if not shown:
        say("FAILED: a folder was clicked but the list did not show its messages")
        return 1
    say("done")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failed as e:
        say(f"FAILED: {e}")
        sys.exit(1)
