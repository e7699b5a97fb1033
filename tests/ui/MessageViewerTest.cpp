// The message viewer: emoticons shown as pictures while the text stays the
// characters it was given, the line-number margin and the viewer's look.
#include "ui/MessageViewer.h"

#include "search/MatchRanges.h"

#include <QTest>
#include <QTextBlock>
#include <cstdlib>

using qb::ui::MessageViewer;

namespace {

int pictures(const MessageViewer& viewer) {
    return int(viewer.toPlainText().count(QChar::ObjectReplacementCharacter));
}

} // namespace

class MessageViewerTest : public QObject {
    Q_OBJECT
  private slots:
    void everySequenceBecomesOnePicture();
    void textComesBackAsGiven();
    void onlyTheTenSequencesArePictures();
    void newTextReplacesTheOld();
    void marginNumbersLinesOnAShadedStrip();
    void looksAsTheWindowWantsIt();
    void marksRangesOfTheTextAroundPictures();
};

void MessageViewerTest::everySequenceBecomesOnePicture() {
    MessageViewer viewer;
    const QStringList all = {":$", ":(", ":)", ":@", ":|", ":d", ":o", ":p", ":s", ";)"};
    for (const QString& sequence : all) {
        viewer.setMessageText("a" + sequence + "b");
        QCOMPARE(pictures(viewer), 1);
        QCOMPARE(viewer.toPlainText().size(), 3);
        // Phones write the letters in capitals as often as not.
        viewer.setMessageText(sequence.toUpper());
        QCOMPARE(pictures(viewer), 1);
    }
}

void MessageViewerTest::textComesBackAsGiven() {
    MessageViewer viewer;
    const QString text = QString::fromUtf8("Привет :) как дела? :D;)\tвремя 10:00 :P:x");
    viewer.setMessageText(text);
    QCOMPARE(pictures(viewer), 4);
    QCOMPARE(viewer.messageText(), text);
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QVERIFY(!viewer.grab().isNull()); // laying out and painting the pictures does not fail
}

void MessageViewerTest::onlyTheTenSequencesArePictures() {
    MessageViewer viewer;
    // Pairs are taken from the left: in ";:)" the picture is ":)".
    viewer.setMessageText(":):))(: ;:) :-) :] 8) : ) :");
    QCOMPARE(viewer.messageText(), QString(":):))(: ;:) :-) :] 8) : ) :"));
    QCOMPARE(pictures(viewer), 3);
    viewer.setMessageText(QString());
    QCOMPARE(viewer.messageText(), QString());
}

void MessageViewerTest::newTextReplacesTheOld() {
    MessageViewer viewer;
    viewer.setMessageText("first :)");
    viewer.setMessageText("second");
    QCOMPARE(viewer.document()->blockCount(), 1);
    QCOMPARE(viewer.messageText(), QString("second"));
    // What the user types is there to see, but typing after a picture is plain text.
    viewer.setMessageText(":)");
    QTest::keyClicks(&viewer, "x");
    QCOMPARE(viewer.messageText(), QString(":)x"));
    viewer.clear();
    QCOMPARE(viewer.messageText(), QString());
}

void MessageViewerTest::marginNumbersLinesOnAShadedStrip() {
    MessageViewer viewer;
    QPalette colours = viewer.palette();
    colours.setColor(QPalette::Base, QColor(0, 255, 0));
    viewer.setPalette(colours);
    viewer.resize(300, 120);
    viewer.setPlainText("one\ntwo\nthree");
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));

    auto* margin = viewer.findChild<QWidget*>("LineNumbers");
    QVERIFY(margin);
    const int digit = viewer.fontMetrics().horizontalAdvance(QLatin1Char('9'));
    QVERIFY(viewer.marginWidth() >= 4 * digit);
    QCOMPARE(margin->width(), viewer.marginWidth());
    QCOMPARE(viewer.viewport()->geometry().left(), margin->geometry().right() + 1);

    const QImage strip = margin->grab().toImage();
    const int y = strip.height() - 2; // below the numbers
    const QColor left = strip.pixelColor(0, y);
    QVERIFY2(std::abs(left.red() - 236) + std::abs(left.green() - 233) +
                     std::abs(left.blue() - 216) <
                 12,
             qPrintable(left.name()));
    const QColor right = strip.pixelColor(strip.width() - 1, y);
    QVERIFY2(right.green() > 230 && right.red() < 30, qPrintable(right.name()));
    // Numbers are drawn in the rows of the three lines, and nowhere below them
    // (on a white background, where the shading is light everywhere).
    colours.setColor(QPalette::Base, Qt::white);
    viewer.setPalette(colours);
    const QImage numbers = margin->grab().toImage();
    const auto inked = [&](int top, int bottom) {
        for (int row = top; row < bottom; ++row)
            for (int x = 0; x < strip.width(); ++x)
                if (numbers.pixelColor(x, row).lightness() < 170)
                    return true;
        return false;
    };
    const int line = viewer.fontMetrics().height();
    QVERIFY(inked(0, 3 * line + 6));
    QVERIFY(!inked(3 * line + 8, strip.height()));
}

void MessageViewerTest::looksAsTheWindowWantsIt() {
    MessageViewer viewer;
    QCOMPARE(viewer.font().pixelSize(), 13);
    QCOMPARE(viewer.font().family(), QString("Courier New"));
    QCOMPARE(viewer.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(viewer.tabStopDistance(),
             4.0 * viewer.fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    QCOMPARE(viewer.palette().color(QPalette::Highlight), QColor(0, 0, 128));
    QCOMPARE(viewer.palette().color(QPalette::HighlightedText), QColor(Qt::white));
    QVERIFY(!viewer.isReadOnly());
}

// A search's matches, given in the text's characters: a picture takes one
// place in the viewer for its two, and ranges beyond the text are left out.
void MessageViewerTest::marksRangesOfTheTextAroundPictures() {
    qb::ui::MessageViewer viewer;
    viewer.setMessageText(QStringLiteral("да :) нет :( да"));
    viewer.highlight({{0, 2}, {6, 3}, {13, 2}, {14, 5}});
    const QList<QTextEdit::ExtraSelection> marks = viewer.extraSelections();
    QCOMPARE(marks.size(), 3);
    QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("да"));
    QCOMPARE(marks[1].cursor.selectedText(), QStringLiteral("нет"));
    QCOMPARE(marks[2].cursor.selectedText(), QStringLiteral("да"));
    // New text goes without the old marks.
    viewer.setMessageText(QStringLiteral("x"));
    QVERIFY(viewer.extraSelections().isEmpty());
}

QTEST_MAIN(MessageViewerTest)
#include "MessageViewerTest.moc"
