// The export dialog and the template editor, driven through their controls
// with the save-file dialog answered by the test.
#include "ui/ExportDialog.h"
#include "controllers/CommandState.h"
#include "controllers/ExportController.h"
#include "export/ExportTemplate.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/TemplateEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProgressBar>
#include <QPushButton>
#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace qb;
using namespace qb::ui;
using qb::testing::control;

namespace {

// The export's save-file dialog, a window of its own.
QFileDialog* saveDialog() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("exportSaveDialog"))
            return qobject_cast<QFileDialog*>(window);
    return nullptr;
}

ExportSource rowsOf(int listRows, int exported) {
    return {listRows, exported, [exported] {
                return std::vector<ExportRow>(std::size_t(exported),
                                              ExportRow{{"f", "d", "1", "2", "m"}, 0});
            }};
}

Workspace withWorkDir(const QString& workDir) {
    Workspace workspace;
    workspace.workDir = workDir;
    return workspace;
}

struct Windows {
    qb::testing::StartedIn dir;
    qb::testing::RecordingDialogs boxes;
    Workspace workspace = withWorkDir(dir.path());
    CommandState commands;
    ExportController exporter{workspace, commands, boxes};
    TemplateEditor editor{dir.path()};
    ExportDialog dialog{dir.path(), &editor, exporter};

    Windows() { ensureDefaultTemplate(dir.path()); }
    void save(const QString& name, ExportFormat format = ExportFormat::Html) {
        dialog.askFileName = [=, this](ExportDialog::SaveAnswer answer) {
            answer(SaveChoice{dir.filePath(name), format});
        };
        QTest::mouseClick(control<QPushButton>(dialog, "saveButton"), Qt::LeftButton);
        QTRY_VERIFY(!commands.isBusy() && dialog.isEnabled()); // the export has been written
    }
    QCheckBox* split() const { return control<QCheckBox>(dialog, "splitCheckBox"); }
    QComboBox* sizes() const { return control<QComboBox>(dialog, "splitSizeBox"); }
    QStringList files() const {
        return QDir(dir.path()).entryList({"*.htm", "*.txt"}, QDir::Files, QDir::Name);
    }
};

} // namespace

class ExportDialogTest : public QObject {
    Q_OBJECT
  private slots:
    // A damaged count line (not a number, or one that reads as no entries
    // while entries follow) reads as no contacts: the window's smartphone
    // export says so in the message panel and replaces neither file.
    void smartphoneExportReportsADamagedPhonebook() {
        for (const char* count : {"5 ", "-5"}) {
            Windows w;
            w.dir.write("Phonebook.pbk", QByteArray(count) + "\r\n555\r\nIvan\r\n");
            w.dir.write("contacts.vcf", "old");
            QSignalSpy panel(&w.exporter, &ExportController::smartphoneExported);
            QVERIFY(w.exporter.exportForSmartphone(w.dir.path()));
            QTRY_COMPARE(panel.size(), 1);
            QCOMPARE(panel[0][0].toString(),
                     w.dir.path() + "/Phonebook.pbk" +
                         QStringLiteral(": '%1' is not a valid integer value").arg(count));
            QVERIFY(w.boxes.texts.isEmpty());
            QCOMPARE(w.dir.read("contacts.vcf"), QByteArray("old"));
            QVERIFY(!w.dir.exists("sms-backup.xml"));
        }
    }
    void splitOptionCarriesOverAndShortListsAreWrittenWhole() {
        Windows w;
        w.dialog.prepare(ExportMode::All, rowsOf(250, 250));
        QCOMPARE(w.sizes()->count(), 6); // 20 .. 100, 200
        QVERIFY(w.sizes()->isEnabled() && !w.split()->isChecked());
        QTest::mouseClick(w.split(), Qt::LeftButton);
        w.sizes()->setCurrentIndex(5);
        w.dialog.show();
        w.save("sms.htm");
        QCOMPARE(w.files(), QStringList({"Normal.htm", "sms_(200).htm", "sms_(250).htm"}));
        QVERIFY(!w.dialog.isVisible() && w.dialog.isEnabled());

        w.dialog.prepare(ExportMode::All, rowsOf(21, 21)); // no size offered
        QVERIFY(w.split()->isChecked() && w.sizes()->count() == 0);
        w.save("short.htm");
        QVERIFY(w.dir.exists("short.htm"));

        w.dialog.prepare(ExportMode::Selected, rowsOf(30, 2)); // greyed, still ticked
        QVERIFY(!w.split()->isEnabled() && w.split()->isChecked());
        w.sizes()->setCurrentIndex(0);
        w.save("sel.txt", ExportFormat::Text);
        QVERIFY(w.dir.exists("sel_(1).txt") && w.dir.exists("sel_(2).txt"));
        QVERIFY(!control<QProgressBar>(w.dialog, "progressBar")->isTextVisible());
        QCOMPARE(saveDialog()->defaultSuffix(), QString("txt"));
    }

    void missingTemplatesAndFailedWritesLeaveTheDialogOpen() {
        Windows w;
        w.dialog.prepare(ExportMode::All, rowsOf(3, 3));
        w.dialog.show();
        w.save("missing-folder/sms.htm");
        QCOMPARE(w.boxes.texts.size(), 1);
        QVERIFY(w.boxes.texts[0].startsWith("Cannot create file \"" +
                                            w.dir.filePath("missing-folder/sms.htm")));
        QFile::remove(templatePath(w.dir.path()));
        w.save("sms.htm"); // nothing written, nothing said
        QCOMPARE(w.boxes.texts.size(), 1);
        QVERIFY(!w.dir.exists("sms.htm") && w.dialog.isVisible() && w.dialog.isEnabled());
    }

    void theSaveDialogListsFilesByTheChosenFilter() {
        Windows w;
        QFileDialog* save = saveDialog();
        QCOMPARE(save->nameFilters(),
                 QStringList({"Документ HTML (*.htm;*.html)", "Текстовый файл (*.txt)"}));
        QCOMPARE(save->defaultSuffix(), QString("htm"));
        w.dialog.setEnabled(false); // as while it asks for the name
        QVERIFY(save->isEnabled());
        auto* types = save->findChild<QComboBox*>("fileTypeCombo");
        auto* files = save->findChild<QFileSystemModel*>();
        types->setCurrentIndex(1);
        QTRY_COMPARE(files->nameFilters(), QStringList({"*.txt"}));
        types->setCurrentIndex(0); // Qt alone would look for "*.htm;*.html" and find nothing
        QTRY_COMPARE(files->nameFilters(), QStringList({"*.html", "*.htm"}));
    }

    void editorResetThenCancelKeepsTheFileAndSaveWritesIt() {
        Windows w;
        QVERIFY(w.dir.write("Normal.htm", "mine $sms\r\n"));
        QVERIFY(w.editor.loadTemplate());
        QsciScintilla* text = w.editor.textEditor();
        QCOMPARE(text->text(), QString("mine $sms\n"));
        w.editor.show();
        QTest::mouseClick(control<QPushButton>(w.editor, "resetButton"), Qt::LeftButton);
        QCOMPARE(text->lines(), 29); // the last line's break leaves an empty line after it
        QTest::mouseClick(control<QPushButton>(w.editor, "cancelButton"), Qt::LeftButton);
        QCOMPARE(w.dir.read("Normal.htm"), QByteArray("mine $sms\r\n"));

        text->setText(QString::fromUtf8("<p>$from</p>\n<i>Привет</i>"));
        w.editor.show();
        QTest::mouseClick(control<QPushButton>(w.editor, "saveButton"), Qt::LeftButton);
        QCOMPARE(w.dir.read("Normal.htm"),
                 QByteArray("<p>$from</p>\r\n<i>\xCF\xF0\xE8\xE2\xE5\xF2</i>\r\n"));
        QFile::remove(templatePath(w.dir.path()));
        QVERIFY(w.editor.loadTemplate()); // without a file the editor keeps its text
        QVERIFY(text->text().startsWith("<p>$from</p>"));
    }

    // Opening and saving gives back the file as it was, trailing empty lines included.
    void editorOpenThenSaveKeepsTheFileByteForByte() {
        Windows w;
        for (const QByteArray& file : {QByteArray("a\r\n\r\n"), QByteArray("\r\n"), QByteArray()}) {
            QVERIFY(w.dir.write("Normal.htm", file));
            QVERIFY(w.editor.loadTemplate());
            w.editor.show();
            QTest::mouseClick(control<QPushButton>(w.editor, "saveButton"), Qt::LeftButton);
            QCOMPARE(w.dir.read("Normal.htm"), file);
        }
    }
};

QTEST_MAIN(ExportDialogTest)
#include "ExportDialogTest.moc"
