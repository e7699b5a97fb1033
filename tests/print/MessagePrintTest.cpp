#include "export/print/MessagePrint.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qb {
namespace {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "print_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QGuiApplication(argc, argv); // lives as long as the test program
}

// The output of a poppler tool, which reads the PDF as any viewer would.
QString poppler(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

class MessagePrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGuiApplication();
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "needs pdftotext (poppler-utils)";
        ASSERT_TRUE(dir.isValid());
    }

    // The PDF's text, page by page, as pdftotext reads it.
    QStringList pagesOf(const QString& pdf) {
        QString text = poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (text.endsWith(u'\f'))
            text.chop(1);
        return text.split(u'\f');
    }

    QTemporaryDir dir;
};

QDateTime at(int day, int hour, int minute) {
    return QDateTime(QDate(2008, 1, day), QTime(hour, minute, 5));
}

// A conversation over several pages: both directions, an estimated time, an
// unknown one, a text with line breaks and one longer than a page.
PrintedDocument conversation() {
    PrintedDocument document;
    document.title = QStringLiteral("Переписка с Маша (+79161234567)");
    for (int k = 0; k < 40; ++k) {
        const bool received = k % 2 == 0;
        document.messages.push_back(
            {received ? MessageDirection::Received : MessageDirection::Sent,
             QStringLiteral("Маша (+79161234567)"), at(10, 12, k), !received,
             QStringLiteral("Сообщение номер %1: съешь же ещё этих мягких французских булок, "
                            "да выпей чаю.")
                 .arg(k + 1)});
    }
    document.messages.push_back({MessageDirection::Unsent, QStringLiteral("Маша (+79161234567)"),
                                 std::nullopt, false,
                                 QStringLiteral("Черновик\r\nво второй строке\rи в третьей")});
    QString longText = QStringLiteral("НачалоДлинного ");
    for (int k = 0; k < 600; ++k)
        longText += QStringLiteral("слово%1 ").arg(k);
    longText += QStringLiteral("КонецДлинного");
    document.messages.push_back({MessageDirection::Received, QStringLiteral("+79161234567"),
                                 at(11, 9, 30), false, longText});
    return document;
}

int pageHolding(const QStringList& pages, const QString& text) {
    for (int k = 0; k < pages.size(); ++k)
        if (pages[k].contains(text))
            return k;
    return -1;
}

TEST_F(MessagePrintTest, APdfReadsBackWithItsCyrillicTextAndAHeaderOnEveryPage) {
    const QString pdf = dir.filePath(QStringLiteral("Переписка.pdf"));
    ASSERT_FALSE(writeMessagesPdf(pdf, conversation()));
    const QStringList pages = pagesOf(pdf);
    ASSERT_GE(pages.size(), 3);
    for (int k = 0; k < pages.size(); ++k) {
        SCOPED_TRACE(k);
        const QString firstLine = pages[k].trimmed().section(u'\n', 0, 0);
        EXPECT_TRUE(firstLine.startsWith(QStringLiteral("Переписка с Маша (+79161234567)")))
            << firstLine.toStdString();
        EXPECT_TRUE(
            firstLine.endsWith(QStringLiteral("Страница %1 из %2").arg(k + 1).arg(pages.size())))
            << firstLine.toStdString();
    }
    const QString raw = pages.join(u'\n');
    // Blanks as pdftotext spaces the laid-out columns.
    const QString all =
        QString(raw).replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
    for (const char* expected :
         {"Сообщение номер 1: съешь же ещё этих мягких французских булок",
          "Сообщение номер 40:", "Получено · Маша (+79161234567) · 10.01.2008 12:00:05",
          "Отправлено · Маша (+79161234567) · около 10.01.2008 12:01:05",
          "Не отправлено · Маша (+79161234567) · время неизвестно", "Черновик", "во второй строке",
          "и в третьей"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected;
    // Messages keep their order, and the long one runs over onto a later page.
    EXPECT_LT(all.indexOf(QStringLiteral("номер 1:")), all.indexOf(QStringLiteral("номер 2:")));
    EXPECT_LT(pageHolding(pages, QStringLiteral("НачалоДлинного")),
              pageHolding(pages, QStringLiteral("КонецДлинного")));
    // Sent messages stand to the right of received ones.
    const auto column = [&](const char* text) -> qsizetype {
        for (const QString& line : raw.split(u'\n'))
            if (line.contains(QString::fromUtf8(text)))
                return line.indexOf(QString::fromUtf8(text));
        return -1;
    };
    EXPECT_GT(column("Сообщение номер 2:"), column("Сообщение номер 1:"));
}

TEST_F(MessagePrintTest, A4AndLetterPages) {
    const struct {
        QPageSize::PageSizeId size;
        const char* expected;
    } cases[] = {{QPageSize::A4, "pts (A4)"}, {QPageSize::Letter, "612 x 792 pts (letter)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        ASSERT_FALSE(writeMessagesPdf(pdf, conversation(), c.size));
        const QString info = poppler("pdfinfo", {pdf});
        EXPECT_TRUE(info.contains(QString::fromLatin1(c.expected))) << info.toStdString();
        EXPECT_TRUE(info.contains(QStringLiteral("Переписка с Маша"))) << "the PDF's title";
    }
}

TEST_F(MessagePrintTest, NoMessagesStillGiveAPageWithItsHeader) {
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    ASSERT_FALSE(writeMessagesPdf(pdf, {QStringLiteral("Результаты поиска"), {}}));
    const QStringList pages = pagesOf(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Результаты поиска")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Страница 1 из 1")));
}

TEST_F(MessagePrintTest, AFailedOrStoppedWriteLeavesWhatWasThere) {
    const auto failure =
        writeMessagesPdf(dir.filePath(QStringLiteral("missing/out.pdf")), conversation());
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Failure::Kind::CannotCreate);

    const QString pdf = dir.filePath(QStringLiteral("kept.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    Cancellation cancel;
    cancel.request();
    EXPECT_FALSE(writeMessagesPdf(pdf, conversation(), QPageSize::A4, &cancel));
    EXPECT_TRUE(cancel.stopped());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

} // namespace
} // namespace qb
