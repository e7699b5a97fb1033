// The export dialog and the template editor, driven through their controls
// with the save-file dialog answered by the test.
#include "core/Cp1251.h"
#include "export/ExportTemplate.h"
#include "tests/support/WindowTestSupport.h"
#include "ui/ExportDialog.h"
#include "ui/TemplateEditor.h"

#include <Qsci/qsciscintilla.h>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProgressBar>
#include <QtTest>

using namespace qb;
using namespace qb::ui;
using qb::testing::control;
using qb::testing::MessageBoxAnswerer;
using qb::testing::StartedIn;

namespace {

std::vector<ExportRow> makeRows(int count) {
    std::vector<ExportRow> rows;
    for (int k = 1; k <= count; ++k)
        rows.push_back({{"from", "date", "1", std::to_string(k), "sms" + std::to_string(k)}, k - 1});
    return rows;
}

ExportSource allRows(int count) {
    return {count, count, [count] { return makeRows(count); }};
}

struct Windows {
    StartedIn dir;
    TemplateEditor editor{dir.path()};
    ExportDialog dialog{dir.path(), &editor};
    QStringList asked; // the file names the save-file dialog gave

    Windows() { ensureDefaultTemplate(dir.path()); }
    void answer(const QString& name, ExportFormat format = ExportFormat::Html) {
        dialog.askFileName = [this, name, format] {
            asked << name;
            return std::optional<SaveChoice>(SaveChoice{dir.filePath(name), format});
        };
    }
    QCheckBox* split() const { return control<QCheckBox>(dialog, "splitCheckBox"); }
    QComboBox* sizes() const { return control<QComboBox>(dialog, "splitSizeBox"); }
    QStringList sizeTexts() const {
        QStringList texts;
        for (int i = 0; i < sizes()->count(); ++i)
            texts << sizes()->itemText(i);
        return texts;
    }
    void save() { QTest::mouseClick(control<QPushButton>(dialog, "saveButton"), Qt::LeftButton); }
    QStringList files() const { return QDir(dir.path()).entryList({"sms*"}, QDir::Files, QDir::Name); }
};

} // namespace

class ExportDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void offersSizesByModeAndGreysTheBoxForSelected() {
        Windows w;
        QVERIFY(!w.split()->isChecked());
        QVERIFY(w.sizes()->isEnabled());
        w.dialog.prepare(ExportMode::All, allRows(250));
        QCOMPARE(w.sizeTexts(), QStringList({"20", "40", "60", "80", "100", "200"}));
        QCOMPARE(w.sizes()->currentText(), QString("20"));
        QTest::mouseClick(w.split(), Qt::LeftButton);
        QVERIFY(w.split()->isChecked());
        QVERIFY(w.sizes()->isEnabled());
        QTest::mouseClick(w.split(), Qt::LeftButton);
        QVERIFY(!w.sizes()->isEnabled());
        QTest::mouseClick(w.split(), Qt::LeftButton);

        w.dialog.prepare(ExportMode::Selected, {10, 3, [] { return makeRows(3); }});
        QVERIFY(!w.split()->isEnabled());
        QVERIFY(w.split()->isChecked()); // left ticked by the earlier choice
        QCOMPARE(w.sizeTexts(), QStringList({"1", "2", "3"}));
    }

    void splitsWhenTickedAndWritesShortListsWhole() {
        Windows w;
        w.dialog.prepare(ExportMode::All, allRows(50));
        QTest::mouseClick(w.split(), Qt::LeftButton);
        w.sizes()->setCurrentIndex(1); // 40
        w.answer("sms.htm");
        w.dialog.show();
        w.save();
        QCOMPARE(w.files(), QStringList({"sms_(40).htm", "sms_(50).htm"}));
        QVERIFY(!w.dialog.isVisible()); // a finished export closes the dialog
        QVERIFY(w.dialog.isEnabled());

        // 21 rows offer no size: the export is written whole although the box is ticked.
        w.dialog.prepare(ExportMode::All, allRows(21));
        QVERIFY(w.split()->isChecked());
        QCOMPARE(w.sizes()->count(), 0);
        w.answer("short.htm");
        w.save();
        QVERIFY(w.dir.exists("short.htm"));
        QVERIFY(!w.dir.exists("short_(21).htm"));
    }

    void selectedModeHidesThePercentageAndSplitsToo() {
        Windows w;
        w.dialog.prepare(ExportMode::All, allRows(30));
        QTest::mouseClick(w.split(), Qt::LeftButton);
        w.dialog.prepare(ExportMode::Selected, {30, 2, [] { return makeRows(2); }});
        w.sizes()->setCurrentIndex(1);
        w.answer("sms.txt", ExportFormat::Text);
        w.save();
        QCOMPARE(w.files(), QStringList({"sms_(2).txt"}));
        QVERIFY(!control<QProgressBar>(w.dialog, "progressBar")->isTextVisible());
        QCOMPARE(w.dialog.saveDialog()->defaultSuffix(), QString("txt"));
    }

    void aMissingTemplateOrACancelledNameWritesNothing() {
        Windows w;
        w.dialog.prepare(ExportMode::All, allRows(3));
        w.dialog.askFileName = [] { return std::optional<SaveChoice>(); };
        w.dialog.show();
        w.save();
        QVERIFY(w.files().isEmpty());

        QFile::remove(templatePath(w.dir.path()));
        w.answer("sms.htm");
        MessageBoxAnswerer boxes;
        w.save();
        QVERIFY(w.files().isEmpty());
        QVERIFY(boxes.texts.isEmpty());
        QVERIFY(w.dialog.isVisible());
        QVERIFY(w.dialog.isEnabled());
    }

    void aFailedWriteIsReportedAndTheDialogStaysUsable() {
        Windows w;
        w.dialog.prepare(ExportMode::All, allRows(3));
        w.answer("missing-folder/sms.htm");
        w.dialog.show();
        MessageBoxAnswerer boxes;
        w.save();
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].startsWith("Cannot create file \"" + w.dir.filePath("missing-folder/sms.htm") + "\". "));
        QVERIFY(w.dialog.isVisible());
        QVERIFY(w.dialog.isEnabled());
    }

    void theSaveDialogOffersBothFiltersAndHtmByDefault() {
        Windows w;
        QFileDialog* save = w.dialog.saveDialog();
        QCOMPARE(save->nameFilters(),
                 QStringList({"Документ HTML (*.htm;*.html)", "Текстовый файл (*.txt)"}));
        QCOMPARE(save->defaultSuffix(), QString("htm"));
        QVERIFY(save->testOption(QFileDialog::DontConfirmOverwrite));

        // The file list shows what the chosen filter's patterns match.
        auto* types = save->findChild<QComboBox*>("fileTypeCombo");
        auto* files = save->findChild<QFileSystemModel*>();
        QVERIFY(types && files);
        types->setCurrentIndex(1);
        QTRY_COMPARE(files->nameFilters(), QStringList({"*.txt"}));
        types->setCurrentIndex(0);
        QTRY_COMPARE(files->nameFilters(), QStringList({"*.html", "*.htm"}));
    }

    void editorResetThenCancelLeavesTheFileAndSaveWritesIt() {
        Windows w;
        const QString path = templatePath(w.dir.path());
        QVERIFY(w.dir.write("Normal.htm", "mine $sms\r\n"));
        QVERIFY(w.editor.loadTemplate());
        QsciScintilla* text = w.editor.textEditor();
        QCOMPARE(text->text(), QString("mine $sms"));
        QCOMPARE(text->tabWidth(), 4);
        QCOMPARE(text->wrapMode(), QsciScintilla::WrapNone);
        QVERIFY(text->marginLineNumbers(0));

        w.editor.show();
        QTest::mouseClick(control<QPushButton>(w.editor, "resetButton"), Qt::LeftButton);
        QCOMPARE(text->lines(), 28);
        QVERIFY(text->text().contains(QString::fromUtf8("Дата/Время")));
        QTest::mouseClick(control<QPushButton>(w.editor, "cancelButton"), Qt::LeftButton);
        QCOMPARE(w.dir.read("Normal.htm"), QByteArray("mine $sms\r\n"));
        QVERIFY(!w.editor.isVisible());

        // Reopened, the file's text replaces the unsaved reset.
        QVERIFY(w.editor.loadTemplate());
        QCOMPARE(text->text(), QString("mine $sms"));
        text->setText(QString::fromUtf8("<p>$from</p>\n<i>Привет</i>"));
        w.editor.show();
        QTest::mouseClick(control<QPushButton>(w.editor, "saveButton"), Qt::LeftButton);
        QCOMPARE(w.dir.read("Normal.htm"), QByteArray("<p>$from</p>\r\n<i>\xCF\xF0\xE8\xE2\xE5\xF2</i>\r\n"));

        // Without a file the editor keeps what it held.
        QFile::remove(path);
        QVERIFY(w.editor.loadTemplate());
        QVERIFY(text->text().startsWith("<p>$from</p>"));
    }
};

QTEST_MAIN(ExportDialogTest)
#include "ExportDialogTest.moc"
