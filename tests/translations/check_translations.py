#!/usr/bin/env python3
"""Checks a Qt translation file against itself and against the sources.

usage: check_translations.py --lupdate PATH --source-root DIR TS_FILE

Fails (exit status 1) and names each offending source text when an entry is
unfinished, empty, vanished or obsolete; when lupdate finds a text in the
folders of translations/source-folders.txt that the file lacks, or the file
holds a text the sources no longer have; when lupdate complains about a
source (a tr() it cannot attribute is a text that is never translated), a
marked text is a u"" literal lupdate cannot read, or a Russian text is not
marked at all (save those translations/untranslated.txt lists); or
when the %1..%99 arguments, %n or the accelerators of a translation differ
from its source text.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from dataclasses import dataclass, field

ARGUMENT = re.compile(r"%L?([1-9][0-9]?)")
PLURAL = re.compile(r"%L?n")
# HTML entities in rich texts (&nbsp;) and a lone "&" before a blank or the
# end mark no key; "&&" is a literal ampersand.
NOT_ACCELERATOR = re.compile(r"&&|&(?:#[0-9]+|#x[0-9a-fA-F]+|[a-zA-Z]+);|&(?=\s|$)")
FOLDER_LIST = os.path.join("translations", "source-folders.txt")
# lupdate silently passes over a marked text written as u"", U"", L"" or u8"":
# it compiles (a char16_t table of QT_TRANSLATE_NOOP texts) but is never translated.
PREFIXED_TEXT = re.compile(r'\b(?:QT_\w*NOOP\w*|tr|translate)\s*\(\s*'
                           r'(?:"(?:[^"\\]|\\.)*"\s*,\s*)?(?:u8|u|U|L)"')
SOURCE_SUFFIXES = (".cpp", ".h", ".cc", ".hpp", ".cxx")
UNTRANSLATED_LIST = os.path.join("translations", "untranslated.txt")
CYRILLIC = re.compile("[\u0400-\u04ff]")
# What may stand right before a text marked for translation: the call, and
# the context where the call takes one first.
MARKED = re.compile(r'\b(?:tr|translate|QT_TR_(?:N_)?NOOP|QT_TRANSLATE_(?:N_)?NOOP)\s*\(\s*'
                    r'(?:"(?:[^"\\]|\\.)*"\s*,\s*)?$')
TOKEN = re.compile(r'//[^\n]*|/\*.*?(?:\*/|$)|\'(?:[^\'\\\n]|\\.)*\'|"((?:[^"\\\n]|\\.)*)"', re.S)


@dataclass
class Message:
    context: str
    source: str
    comment: str = ""
    numerus: bool = False
    kind: str = ""  # the translation's type attribute: "", unfinished, vanished, obsolete
    forms: list = field(default_factory=list)  # one text, or every plural form

    def key(self):
        return (self.context, self.source, self.comment)

    def __str__(self):
        shown = self.source.replace("\n", "\\n")
        note = f" ({self.comment})" if self.comment else ""
        return f"[{self.context}] \"{shown}\"{note}"


def read_messages(path):
    messages = []
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name", "")
        for m in context.iter("message"):
            translation = m.find("translation")
            message = Message(name, m.findtext("source", ""), m.findtext("comment", ""),
                              m.get("numerus") == "yes")
            if translation is not None:
                message.kind = translation.get("type", "")
                if message.numerus:
                    message.forms = [f.text or "" for f in translation.iter("numerusform")]
                else:
                    message.forms = [translation.text or ""]
            messages.append(message)
    return messages


def accelerators(text):
    return NOT_ACCELERATOR.sub("", text).count("&")


def form_problems(source, form):
    found = []
    wanted, given = set(ARGUMENT.findall(source)), set(ARGUMENT.findall(form))
    if wanted != given:
        show = lambda numbers: " ".join(f"%{n}" for n in sorted(numbers, key=int)) or "none"
        found.append(f"arguments {show(given)} instead of {show(wanted)}")
    if bool(PLURAL.search(source)) != bool(PLURAL.search(form)):
        found.append("%n " + ("missing" if PLURAL.search(source) else "not in the source"))
    if accelerators(source) != accelerators(form):
        found.append(f"{accelerators(form)} accelerators instead of {accelerators(source)}")
    return found


def message_problems(messages):
    """What is wrong inside the file itself, one line per message."""
    found = []
    for m in messages:
        if m.kind in ("vanished", "obsolete"):
            found.append(f"{m.kind} (no longer in the sources): {m}")
        elif m.kind == "unfinished":
            found.append(f"unfinished: {m}")
        elif not m.forms or any(not f.strip() for f in m.forms):
            found.append(f"empty translation: {m}")
        else:
            for number, form in enumerate(m.forms):
                where = f" (plural form {number + 1})" if m.numerus else ""
                for problem in form_problems(m.source, form):
                    found.append(f"{problem}{where}: {m} -> \"{form}\"")
    return found


def source_folders(root):
    with open(os.path.join(root, FOLDER_LIST), encoding="utf-8") as f:
        lines = (line.strip() for line in f)
        return [line for line in lines if line and not line.startswith("#")]


def source_files(root, folders):
    """(path from the root, contents) of every source file in the folders."""
    for folder in folders:
        for directory, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(f for f in files if f.endswith(SOURCE_SUFFIXES)):
                path = os.path.join(directory, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    yield os.path.relpath(path, root), f.read()


def prefixed_texts(sources):
    found = []
    for relative, code in sources:
        for m in PREFIXED_TEXT.finditer(code):
            line = code.count("\n", 0, m.start()) + 1
            found.append(f"a marked text lupdate cannot read (write it as a plain "
                         f"\"...\" literal): {relative}:{line}")
    return found


def text_chains(code):
    """(offset, text) of every run of adjacent string literals outside comments."""
    chains, end = [], None
    for m in TOKEN.finditer(code):
        if m.group(1) is None:
            continue  # a comment or a character
        if end is not None and not code[end:m.start()].strip():
            chains[-1][1] += m.group(1)
        else:
            chains.append([m.start(), m.group(1)])
        end = m.end()
    return chains


def exemptions(root):
    path = os.path.join(root, UNTRANSLATED_LIST)
    if not os.path.exists(path):
        return set()
    with open(path, encoding="utf-8") as f:
        return {line.rstrip("\n") for line in f if line.strip() and not line.startswith("#")}


def unmarked_texts(sources, allowed):
    found = []
    for relative, code in sources:
        if relative in allowed:
            continue
        for start, text in text_chains(code):
            if (CYRILLIC.search(text) and not MARKED.search(code[max(0, start - 400):start])
                    and f"{relative}|{text}" not in allowed):
                line = code.count("\n", 0, start) + 1
                found.append(f"a Russian text not marked for translation: "
                             f"{relative}:{line}: \"{text}\"")
    return found


def current(messages):
    return {m.key(): m for m in messages if m.kind not in ("vanished", "obsolete")}


def source_problems(ts_path, lupdate, root):
    """Runs lupdate over the sources into a copy of the file: what it adds the
    file lacks, what it marks vanished (or drops) the sources no longer have."""
    folders = source_folders(root)
    found = [f"listed in {FOLDER_LIST} but missing: {d}" for d in folders
             if not os.path.isdir(os.path.join(root, d))]
    if found:
        return found
    sources = list(source_files(root, folders))
    found += prefixed_texts(sources) + unmarked_texts(sources, exemptions(root))
    original = current(read_messages(ts_path))
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, os.path.basename(ts_path))
        shutil.copyfile(ts_path, copy)
        # Headers are included from the root ("ui/MainWindow.h"): without it lupdate
        # cannot see a class's namespace and files its texts under a wrong context.
        command = [lupdate, "-silent", "-locations", "none", "-I", os.path.abspath(root)]
        run = subprocess.run(command + folders + ["-ts", copy],
                             cwd=root, capture_output=True, text=True, timeout=300)
        if run.returncode != 0:
            return [f"lupdate failed ({run.returncode}): {run.stderr.strip()}"]
        # lupdate's remarks on a source name its file and line.
        found += [f"lupdate: {line}" for line in run.stderr.splitlines()
                  if re.match(r".+:\d+: ", line)]
        updated = current(read_messages(copy))
    found += [f"not in the translation file: {updated[k]}" for k in updated if k not in original]
    found += [f"no longer in the sources: {original[k]}" for k in original if k not in updated]
    return found


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--lupdate", required=True)
    parser.add_argument("--source-root", required=True)
    parser.add_argument("ts")
    args = parser.parse_args(argv)
    try:
        messages = read_messages(args.ts)
        problems = message_problems(messages) + source_problems(args.ts, args.lupdate,
                                                               args.source_root)
    except (OSError, ET.ParseError, subprocess.SubprocessError) as e:
        print(f"translations: cannot check {args.ts}: {e}", file=sys.stderr)
        return 1
    for problem in problems:
        print(f"translations: {problem}", file=sys.stderr)
    if problems:
        print(f"translations: {args.ts}: {len(problems)} problems; scripts/update-translations.sh "
              "brings in new texts, then translate them", file=sys.stderr)
        return 1
    print(f"translations: {args.ts}: {len(messages)} messages, all translated and matching")
    return 0


if __name__ == "__main__":
    sys.exit(main())
