#include "export/ExportRun.h"
#include "export/ExportTemplate.h"

#include "core/ArchiveText.h"
#include "core/FileStore.h"
#include "core/LineList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace qb;
using testing::ElementsAre;
using Lines = std::vector<std::string>;

namespace {

ExportRow row(int k, int position) {
    const std::string n = std::to_string(k);
    return {{"f" + n, "d" + n, "s" + n, "i" + n, "m" + n}, position};
}

std::vector<ExportRow> rows(int count) {
    std::vector<ExportRow> result;
    for (int k = 1; k <= count; ++k)
        result.push_back(row(k, k - 1));
    return result;
}

// Lines `from` to the end of the default template's block for row k, by plain replacement.
Lines block(int k, std::size_t from = 0) {
    Lines lines(defaultTemplate().begin() + static_cast<long>(from), defaultTemplate().end());
    const std::pair<const char*, const char*> values[] = {
        {"$from<", "f"}, {"$date<", "d"}, {"$size<", "s"}, {"$index<", "i"}, {"$sms<", "m"}};
    for (auto& line : lines)
        for (const auto& [name, value] : values)
            if (const auto at = line.find(name); at != std::string::npos)
                line.replace(at, std::strlen(name) - 1, value + std::to_string(k));
    return lines;
}

Lines blocks(int first, int last) {
    Lines lines;
    for (int k = first; k <= last; ++k)
        for (const auto& l : block(k))
            lines.push_back(l);
    return lines;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Lines Opener{"<table border=\"0\" width=\"100%\" id=\"table1\">"};

struct RecordingProgress : NullProgress {
    void setPosition(int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

struct Export {
    QTemporaryDir dir;
    RecordingProgress progress;
    ExportOutcome run(const std::vector<ExportRow>& list, ExportFormat format, int split,
                      const QString& name = "sms.htm", const Lines& lines = defaultTemplate()) {
        return runExport(lines, list, {dir.filePath(name), format, split, 10}, progress);
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
    Lines lines(const QString& name) const {
        return splitFileLines(readWholeFile(dir.filePath(name)).bytes);
    }
};

} // namespace

TEST(ExportPieces, FiftyRowsInPiecesOfTwentyAndATextExportInPieces) {
    Export e;
    ASSERT_FALSE(e.run(rows(50), ExportFormat::Html, 20).failure);
    EXPECT_THAT(e.files(), ElementsAre("sms_(20).htm", "sms_(40).htm", "sms_(50).htm"));
    const Lines header = htmlHeader(50);
    EXPECT_EQ(
        header[1],
        "<center><font color=black size=4>50 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE9</font></center>");
    EXPECT_EQ(e.lines("sms_(20).htm"), header + blocks(1, 20) + Lines{block(21)[0]});
    EXPECT_EQ(e.lines("sms_(40).htm"),
              header + Opener + block(21, 1) + blocks(22, 40) + Lines{block(41)[0]});
    EXPECT_EQ(e.lines("sms_(50).htm"), header + Opener + block(41, 1) + blocks(42, 50));

    Export text; // no header and no opener: a piece carries on with line 2 of a block
    ASSERT_FALSE(text.run(rows(40), ExportFormat::Text, 20, "notes.txt").failure);
    EXPECT_THAT(text.files(), ElementsAre("notes_(20).txt", "notes_(40).txt"));
    EXPECT_EQ(text.lines("notes_(40).txt"), block(21, 1) + blocks(22, 40));
}

TEST(ExportModes, SelectedRowsAFilterNotAnExtensionAndNEqualToTheCount) {
    Export e;
    const std::vector<ExportRow> selected{row(2, 1), row(5, 4), row(9, 8)};
    ASSERT_FALSE(e.run(selected, ExportFormat::Html, 0, "a.txt").failure);
    EXPECT_EQ(e.lines("a.txt"), htmlHeader(3) + block(2) + block(5) + block(9));
    EXPECT_EQ(e.progress.maximum(), 9); // the whole list's rows
    EXPECT_THAT(e.progress.positions, ElementsAre(1, 4, 8, 0));
    ASSERT_FALSE(e.run(rows(1), ExportFormat::Text, 0, "b.htm").failure);
    EXPECT_EQ(e.lines("b.htm"), block(1));
    ASSERT_FALSE(e.run(rows(3), ExportFormat::Html, 3, "c.html").failure);
    EXPECT_THAT(e.files(), ElementsAre("a.txt", "b.htm", "c_(3).html"));
}

TEST(ExportModes, MultiLineValuesAddLinesAndOnlyHtmlEscapesValues) {
    Export e;
    std::vector<ExportRow> list{row(1, 0)};
    list[0].values[0] = "Tom & \"Jerry\"";
    list[0].values[4] = std::string("<script>alert('x')</script>\r\nline 2\0cut", 39);
    const Lines lines{"<p title=\"$from\">", "$sms</p>"};
    ASSERT_FALSE(e.run(list, ExportFormat::Html, 0, "e.htm", lines).failure);
    ASSERT_FALSE(e.run(list, ExportFormat::Text, 0, "e.txt", lines).failure);
    const Lines escaped{"<p title=\"Tom &amp; &quot;Jerry&quot;\">",
                        "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;", "line 2"};
    EXPECT_EQ(e.lines("e.htm"), htmlHeader(1) + escaped);
    EXPECT_EQ(e.lines("e.txt"),
              (Lines{"<p title=\"Tom & \"Jerry\"\">", "<script>alert('x')</script>", "line 2"}));
}

TEST(ExportFailures, AnUnwritablePieceStopsTheExportAndKeepsEarlierPieces) {
    Export e;
    QDir(e.dir.path()).mkdir("sms_(40).htm");
    const ExportOutcome outcome = e.run(rows(50), ExportFormat::Html, 20);
    ASSERT_TRUE(outcome.failure);
    EXPECT_EQ(outcome.failure->text().left(20), "Cannot create file \"");
    EXPECT_EQ(outcome.failure->subject, e.dir.filePath("sms_(40).htm"));
    EXPECT_THAT(e.files(), ElementsAre("sms_(20).htm"));
}

TEST(ExportNames, PieceNamesAndSplitSizes) {
    EXPECT_EQ(pieceName("/d/a.b.html", 40), "/d/a.b_(40).html");
    EXPECT_EQ(pieceName("/d.x/sms", 20), "/d.x/sms_(20)");
    EXPECT_EQ(pieceName("/d/Мама #1;&.txt", 2), "/d/Мама #1;&_(2).txt");
    EXPECT_TRUE(splitSizes(ExportMode::All, 21).empty());
    EXPECT_THAT(splitSizes(ExportMode::All, 350), ElementsAre(20, 40, 60, 80, 100, 200, 300));
    EXPECT_THAT(splitSizes(ExportMode::Selected, 3), ElementsAre(1, 2, 3));
}

// The template sits beside the archive and is kept as private; an export is
// for passing on and gets what the umask allows.
TEST(ExportFiles, TheTemplateIsTheOwnersAloneAndAnExportIsNot) {
    const mode_t savedMask = ::umask(022);
    const auto modeOf = [](const QString& path) {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    };
    Export e;
    ASSERT_FALSE(ensureDefaultTemplate(e.dir.path()));
    ASSERT_FALSE(e.run(rows(2), ExportFormat::Html, 0).failure);
    ::umask(savedMask);
    EXPECT_EQ(modeOf(templatePath(e.dir.path())), 0600u);
    EXPECT_EQ(modeOf(e.dir.filePath("sms.htm")), 0644u);
}

// A 2 MB template line for each of 40 messages makes 80 MB of output: it goes
// to the file as it is made, so memory holds a chunk of it, not the whole,
// and nothing is seen under the file's name until the last byte is written.
TEST(ExportRun, WritesAsItGoesSoMemoryStaysBoundedWhateverTheTemplate) {
    QTemporaryDir dir;
    const Lines templateLines = {"<p>$sms " + std::string(2 << 20, 'x') + "</p>"};
    ExportSettings settings;
    settings.fileName = dir.filePath("sms.htm");
    settings.listRowCount = 40;
    NullProgress progress;
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const ExportOutcome outcome = runExport(templateLines, rows(40), settings, progress);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    ASSERT_FALSE(outcome.failure);
    EXPECT_GT(QFileInfo(settings.fileName).size(), 80 << 20);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"sms.htm"});
    const long grownKb = after.ru_maxrss - before.ru_maxrss;
    EXPECT_LT(grownKb, 24 * 1024) << "the export held " << grownKb / 1024 << " MB";
}

TEST(ExportHtml, CharactersTheCodePageLacksBecomeReferences) {
    std::string out;
    appendEscapedHtml(qb::archivetext::encode(QString::fromUtf8("<Δ> & 😀 Ж")), out);
    EXPECT_EQ(out, "&lt;&#x394;&gt; &amp; &#x1F600; \xC6");
    out.clear();
    appendEscapedHtml("\x10U+12;", out); // no escape the archive writes: as it stands
    EXPECT_EQ(out, "\x10U+12;");
}
