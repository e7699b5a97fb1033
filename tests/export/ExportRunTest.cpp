#include "export/ExportRun.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"
#include "core/LineList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace qb;
using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

using Lines = std::vector<std::string>;

ExportRow row(int k, int position = -1)
{
    const std::string n = std::to_string(k);
    return {{"from" + n, "date" + n, "size" + n, "index" + n, "sms" + n}, position < 0 ? k - 1 : position};
}

std::vector<ExportRow> rows(int count)
{
    std::vector<ExportRow> result;
    for (int k = 1; k <= count; ++k)
        result.push_back(row(k));
    return result;
}

// The default template's block of a row, made by plain text replacement.
Lines block(int k)
{
    Lines lines = defaultTemplate();
    const std::string n = std::to_string(k);
    for (const char* name : {"from", "date", "size", "index", "sms"}) {
        for (auto& line : lines) {
            const auto at = line.find(std::string("$") + name + "<");
            if (at != std::string::npos)
                line.replace(at, std::strlen(name) + 1, name + n);
        }
    }
    return lines;
}

Lines blocks(int first, int last)
{
    Lines lines;
    for (int k = first; k <= last; ++k) {
        const Lines b = block(k);
        lines.insert(lines.end(), b.begin(), b.end());
    }
    return lines;
}

// A block without its first line: how a piece after the first carries on.
Lines rest(int k)
{
    const Lines b = block(k);
    return Lines(b.begin() + 1, b.end());
}

Lines operator+(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines fileLines(const QString& path)
{
    const FileRead read = readWholeFile(path);
    EXPECT_TRUE(read.exists) << path.toStdString();
    EXPECT_TRUE(read.bytes.empty() || read.bytes.ends_with("\r\n"));
    return splitFileLines(read.bytes);
}

const Lines Opener{"<table border=\"0\" width=\"100%\" id=\"table1\">"};

class RecordingProgress : public NullProgress {
public:
    void setPosition(int position) override
    {
        NullProgress::setPosition(position);
        positions.push_back(position);
    }
    std::vector<int> positions;
};

struct Export {
    QTemporaryDir dir;
    RecordingProgress progress;

    ExportOutcome run(const std::vector<ExportRow>& list, ExportFormat format, int splitSize,
                      const QString& name = "sms.htm", const Lines& lines = defaultTemplate(),
                      int listRows = -1)
    {
        const ExportJob job{dir.filePath(name), format, splitSize,
                            listRows < 0 ? static_cast<int>(list.size()) : listRows};
        return runExport(lines, list, job, progress);
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
    Lines lines(const QString& name) const { return fileLines(dir.filePath(name)); }
};

} // namespace

TEST(ExportPieces, FiftyRowsInPiecesOfTwentyComeOutLineForLine)
{
    Export e;
    const ExportOutcome outcome = e.run(rows(50), ExportFormat::Html, 20);
    ASSERT_FALSE(outcome.failure);
    EXPECT_THAT(e.files(), ElementsAre("sms_(20).htm", "sms_(40).htm", "sms_(50).htm"));
    EXPECT_EQ(outcome.written.size(), 3);

    const Lines header = htmlHeader(50);
    EXPECT_EQ(header[1], "<center><font color=black size=4>50 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE9"
                         "</font></center>");
    EXPECT_EQ(e.lines("sms_(20).htm"), header + blocks(1, 20) + Lines{block(21)[0]});
    EXPECT_EQ(e.lines("sms_(40).htm"),
              header + Opener + rest(21) + blocks(22, 40) + Lines{block(41)[0]});
    EXPECT_EQ(e.lines("sms_(50).htm"), header + Opener + rest(41) + blocks(42, 50));
    EXPECT_EQ(e.lines("sms_(40).htm")[5], "\t<tr>");
}

TEST(ExportPieces, FortyRowsMakeTwoPiecesAndTextPiecesCarryNoHeader)
{
    Export html;
    ASSERT_FALSE(html.run(rows(40), ExportFormat::Html, 20).failure);
    EXPECT_THAT(html.files(), ElementsAre("sms_(20).htm", "sms_(40).htm"));
    EXPECT_EQ(html.lines("sms_(40).htm"), htmlHeader(40) + Opener + rest(21) + blocks(22, 40));

    Export text;
    ASSERT_FALSE(text.run(rows(5), ExportFormat::Text, 2, "notes.txt").failure);
    EXPECT_THAT(text.files(), ElementsAre("notes_(2).txt", "notes_(4).txt", "notes_(5).txt"));
    EXPECT_EQ(text.lines("notes_(2).txt"), blocks(1, 2) + Lines{block(3)[0]});
    EXPECT_EQ(text.lines("notes_(4).txt")[0], "\t<tr>");
    EXPECT_EQ(text.lines("notes_(5).txt"), rest(5));
}

TEST(ExportModes, SelectedRowsAreCountedInTheHeaderAndProgressFollowsTheirPositions)
{
    Export e;
    const std::vector<ExportRow> selected{row(2, 1), row(5, 4), row(9, 8)};
    ASSERT_FALSE(e.run(selected, ExportFormat::Html, 0, "sms.htm", defaultTemplate(), 10).failure);
    EXPECT_EQ(e.lines("sms.htm"), htmlHeader(3) + blocks(2, 2) + blocks(5, 5) + blocks(9, 9));
    EXPECT_THAT(e.progress.positions, ElementsAre(1, 4, 8, 0));
    EXPECT_EQ(e.progress.maximum(), 9);

    // Split with N equal to the count: one file, named with the total.
    Export whole;
    ASSERT_FALSE(whole.run(rows(7), ExportFormat::Html, 7).failure);
    EXPECT_THAT(whole.files(), ElementsAre("sms_(7).htm"));
    EXPECT_EQ(whole.lines("sms_(7).htm"), htmlHeader(7) + blocks(1, 7));
}

TEST(ExportModes, TheFormatFollowsTheFilterNotTheTypedExtension)
{
    Export e;
    ASSERT_FALSE(e.run(rows(1), ExportFormat::Html, 0, "a.txt").failure);
    ASSERT_FALSE(e.run(rows(1), ExportFormat::Text, 0, "b.htm").failure);
    ASSERT_FALSE(e.run(rows(3), ExportFormat::Html, 2, "c.html").failure);
    EXPECT_EQ(e.lines("a.txt"), htmlHeader(1) + block(1));
    EXPECT_EQ(e.lines("b.htm"), block(1));
    EXPECT_THAT(e.files(), ElementsAre("a.txt", "b.htm", "c_(2).html", "c_(3).html"));
}

TEST(ExportModes, ATemplateWithoutPlaceholdersRepeatsItselfAndMultiLineTextsAddLines)
{
    Export plain;
    ASSERT_FALSE(plain.run(rows(2), ExportFormat::Text, 0, "t.txt", {"same", "$FROM"}).failure);
    EXPECT_EQ(plain.lines("t.txt"), (Lines{"same", "$FROM", "same", "$FROM"}));

    Export multi;
    std::vector<ExportRow> list{row(1)};
    list[0].values[4] = std::string("one\r\ntwo\r\r\nthree\0gone", 21);
    ASSERT_FALSE(multi.run(list, ExportFormat::Text, 0, "m.txt", {"[$sms]"}).failure);
    EXPECT_EQ(readWholeFile(multi.dir.filePath("m.txt")).bytes, "[one\r\ntwo\r\nthree\r\n");
}

TEST(ExportEscaping, HtmlExportsEscapeRowValuesButNotTheTemplate)
{
    Export e;
    std::vector<ExportRow> list{row(1)};
    list[0].values[0] = "Tom & \"Jerry\"";
    list[0].values[4] = "<script>alert('x')</script>";
    const Lines lines{"<p title=\"$from\">$sms</p>"};
    ASSERT_FALSE(e.run(list, ExportFormat::Html, 0, "e.htm", lines).failure);
    ASSERT_FALSE(e.run(list, ExportFormat::Text, 0, "e.txt", lines).failure);
    EXPECT_EQ(e.lines("e.htm").back(), "<p title=\"Tom &amp; &quot;Jerry&quot;\">$sms</p>");

    const Lines smsOnly{"<p>$sms</p>"};
    ASSERT_FALSE(e.run(list, ExportFormat::Html, 0, "s.htm", smsOnly).failure);
    ASSERT_FALSE(e.run(list, ExportFormat::Text, 0, "s.txt", smsOnly).failure);
    EXPECT_EQ(e.lines("s.htm").back(),
              "<p>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;</p>");
    EXPECT_EQ(e.lines("s.txt").back(), "<p><script>alert('x')</script></p>");
}

TEST(ExportFailures, APieceThatCannotBeWrittenStopsTheExportAndKeepsEarlierPieces)
{
    Export e;
    QDir(e.dir.path()).mkdir("sms_(40).htm"); // stands in for a place that cannot be written
    const ExportOutcome outcome = e.run(rows(50), ExportFormat::Html, 20);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->kind, Failure::Kind::CannotCreate);
    EXPECT_EQ(outcome.failure->subject, e.dir.filePath("sms_(40).htm"));
    EXPECT_THAT(outcome.written, ElementsAre(e.dir.filePath("sms_(20).htm")));
    EXPECT_THAT(e.files(), ElementsAre("sms_(20).htm"));

    const ExportOutcome missingDir = e.run(rows(1), ExportFormat::Html, 0, "none/sms.htm");
    ASSERT_TRUE(missingDir.failure);
    EXPECT_EQ(missingDir.failure->subject, e.dir.filePath("none/sms.htm"));
}

TEST(ExportNames, PieceNamesPutTheCountInFrontOfTheExtension)
{
    EXPECT_EQ(pieceName("/d/sms.htm", 20), "/d/sms_(20).htm");
    EXPECT_EQ(pieceName("/d/sms.html", 40), "/d/sms_(40).html");
    EXPECT_EQ(pieceName("/d/a.b.txt", 3), "/d/a.b_(3).txt");
    EXPECT_EQ(pieceName("/d/sms", 20), "/d/sms_(20)");
    EXPECT_EQ(pieceName("/d.x/sms", 20), "/d.x/sms_(20)");

    Export e;
    ASSERT_FALSE(e.run(rows(2), ExportFormat::Html, 1, "Сообщения (мама) #1 ;&.htm").failure);
    EXPECT_THAT(e.files(), ElementsAre("Сообщения (мама) #1 ;&_(1).htm",
                                       "Сообщения (мама) #1 ;&_(2).htm"));
}

TEST(ExportSizes, AllOffersTwentiesThenHundredsAndSelectedOffersEveryCount)
{
    EXPECT_TRUE(splitSizes(ExportMode::All, 21).empty());
    EXPECT_THAT(splitSizes(ExportMode::All, 22), ElementsAre(20));
    EXPECT_THAT(splitSizes(ExportMode::All, 102), ElementsAre(20, 40, 60, 80, 100));
    EXPECT_THAT(splitSizes(ExportMode::All, 350), ElementsAre(20, 40, 60, 80, 100, 200, 300));
    EXPECT_THAT(splitSizes(ExportMode::Selected, 3), ElementsAre(1, 2, 3));
    EXPECT_TRUE(splitSizes(ExportMode::Selected, 0).empty());
}

TEST(ExportRun, AHundredThousandRowsMakeOneLinePerRow)
{
    Export e;
    std::vector<ExportRow> list(100000);
    for (int i = 0; i < 100000; ++i)
        list[static_cast<std::size_t>(i)] = {{"", "", "", std::to_string(i), ""}, i};
    ASSERT_FALSE(e.run(list, ExportFormat::Text, 0, "big.txt", {"$index"}).failure);
    const Lines lines = e.lines("big.txt");
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines.back(), "99999");
}
