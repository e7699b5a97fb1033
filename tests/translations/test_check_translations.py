#!/usr/bin/env python3
"""The translation check on small made-up files. LUPDATE names the lupdate to run."""
import contextlib
import io
import os
import shutil
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # runs from the source tree and leaves nothing in it
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_translations as check  # noqa: E402

LUPDATE = os.environ.get("LUPDATE", "/usr/lib/qt6/bin/lupdate")


def ts(messages):
    return ('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n'
            '<TS version="2.1" language="en" sourcelanguage="ru">\n'
            f'<context><name>qb::ui::Win</name>{messages}</context></TS>\n')


def msg(source, translation, kind=""):
    kind = f' type="{kind}"' if kind else ""
    return (f"<message><source>{source}</source>"
            f"<translation{kind}>{translation}</translation></message>")


def plural(source, *forms):
    forms = "".join(f"<numerusform>{f}</numerusform>" for f in forms)
    return (f'<message numerus="yes"><source>{source}</source>'
            f"<translation>{forms}</translation></message>")


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


class FileOnItsOwn(unittest.TestCase):
    def problems(self, messages):
        with tempfile.TemporaryDirectory() as d:
            write(f"{d}/x_en.ts", ts(messages))
            return "\n".join(check.message_problems(check.read_messages(f"{d}/x_en.ts")))

    def test_sound_entries_pass(self):
        self.assertEqual(self.problems(
            msg("Входящие (%1)", "Inbox (%1)") + msg("&amp;Файл", "&amp;File")
            + msg("A &amp;&amp; B&amp;nbsp;", "A &amp;&amp; B")
            + plural("сообщений: %n", "%n message", "%n messages")), "")

    def test_each_fault_names_its_source(self):
        found = self.problems(
            msg("Архив", "Archive", "unfinished") + msg("Пусто", "")
            + msg("Было", "Was", "vanished")
            + msg("Файл %1 из %2", "File %1") + msg("Удалить", "&amp;Delete")
            + plural("контактов: %n", "%n contact", "contacts"))
        for expected in ['unfinished: [qb::ui::Win] "Архив"',
                         'empty translation: [qb::ui::Win] "Пусто"',
                         'vanished (no longer in the sources): [qb::ui::Win] "Было"',
                         'arguments %1 instead of %1 %2: [qb::ui::Win] "Файл %1 из %2"',
                         '1 accelerators instead of 0: [qb::ui::Win] "Удалить"',
                         '%n missing (plural form 2): [qb::ui::Win] "контактов: %n"']:
            self.assertIn(expected, found)
        self.assertNotIn("plural form 1", found)


@unittest.skipUnless(os.access(LUPDATE, os.X_OK), f"no lupdate at {LUPDATE}")
class FileAgainstSources(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.root)
        write(f"{self.root}/translations/source-folders.txt", "# product\nui\n")
        write(f"{self.root}/ui/Win.h", '#pragma once\n#include <QWidget>\nnamespace qb::ui {\n'
              'class Win : public QWidget {\n    Q_OBJECT\n  public:\n    Win();\n};\n}\n')
        write(f"{self.root}/ui/Win.cpp", '#include "ui/Win.h"\nnamespace qb::ui {\n'
              'Win::Win() { setWindowTitle(tr("Окно")); }\n}\n')
        self.ts = f"{self.root}/translations/x_en.ts"

    def run_check(self):
        err = io.StringIO()
        with contextlib.redirect_stderr(err), contextlib.redirect_stdout(io.StringIO()):
            status = check.main(["--lupdate", LUPDATE, "--source-root", self.root, self.ts])
        return status, err.getvalue()

    def test_complete_file_passes(self):
        write(self.ts, ts(msg("Окно", "Window")))
        self.assertEqual(self.run_check(), (0, ""))

    def test_texts_added_and_gone_and_unattributable_fail(self):
        write(self.ts, ts(msg("Окно", "Window") + msg("Было", "Was")))
        write(f"{self.root}/ui/Extra.cpp", '#include <QObject>\nclass Bare : public QObject {\n'
              'public:\n  void f() { tr("Новое"); }\n};\n'
              'const char16_t* hidden = QT_TRANSLATE_NOOP("Win", u"Скрытое");\n')
        status, err = self.run_check()
        self.assertEqual(status, 1)
        self.assertIn('not in the translation file: [Bare] "Новое"', err)
        self.assertIn('no longer in the sources: [qb::ui::Win] "Было"', err)
        self.assertIn("lacks Q_OBJECT", err)
        self.assertIn('lupdate cannot read (write it as a plain "..." literal): ui/Extra.cpp:6',
                      err)

    def test_russian_texts_not_marked_fail_unless_listed(self):
        write(self.ts, ts(msg("Окно", "Window")))
        write(f"{self.root}/ui/Files.cpp", '// "Комментарий"\nconst char* a = "Архив" "а";\n'
              'const char* b = "Без имени"; const char* c = "Шаблон";\n')
        write(f"{self.root}/translations/untranslated.txt",
              "# written into files\nui/Files.cpp|Без имени\n")
        status, err = self.run_check()
        self.assertEqual(status, 1)
        self.assertIn('not marked for translation: ui/Files.cpp:2: "Архива"', err)
        self.assertIn('not marked for translation: ui/Files.cpp:3: "Шаблон"', err)
        self.assertNotIn("Без имени", err)
        self.assertNotIn("Комментарий", err)


if __name__ == "__main__":
    unittest.main()
