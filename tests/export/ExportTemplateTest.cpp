#include "export/ExportTemplate.h"

#include "core/FileStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;
using Lines = std::vector<std::string>;

namespace {

std::string filled(const Lines& lines, int n) {
    return TemplateFill(lines, scanTemplate(lines)).line(n, {"F", "D", "S", "I", "M"});
}

} // namespace

TEST(DefaultTemplate, HasItsLinesAndTabsAndIsWrittenOnlyWhenMissing) {
    const Lines& lines = defaultTemplate();
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[3],
              "\t\t<b><font face=\"Times New Roman\">\xCE\xF2</font></b></u></td>"); // "От"
    EXPECT_EQ(lines[4], "\t\t<td><font face=\"Times New Roman\">$from</td>");
    EXPECT_EQ(lines[26], "\t</td></table>");
    EXPECT_EQ(lines[27], "\t<hr>");
    EXPECT_EQ(scanTemplate(lines)[4], (PlaceholderSpot{24, 36}));
    EXPECT_EQ(filled(lines, 4), "\t\t<td><font face=\"Times New Roman\">F</td>");

    QTemporaryDir dir;
    ASSERT_FALSE(ensureDefaultTemplate(dir.path()));
    EXPECT_TRUE(readWholeFile(templatePath(dir.path())).bytes.ends_with("</table>\r\n\t<hr>\r\n"));
    ASSERT_FALSE(writeWholeFile(templatePath(dir.path()), "a\rb\nc\r\n"));
    ASSERT_FALSE(ensureDefaultTemplate(dir.path())); // the user's template stays
    EXPECT_EQ(readTemplate(dir.path()).lines, (Lines{"a", "b", "c"}));
}

// A folder carried over from Windows: its "NORMAL.HTM" is the template, and no
// default is written beside it.
TEST(DefaultTemplate, IsFoundInAnyLetterCase) {
    QTemporaryDir dir;
    ASSERT_FALSE(writeWholeFile(dir.filePath("NORMAL.HTM"), "mine $sms\r\n"));
    ASSERT_FALSE(ensureDefaultTemplate(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"NORMAL.HTM"});

    // A link to a template on a drive not mounted is the user's all the same.
    QTemporaryDir linked;
    ASSERT_TRUE(QFile::link("/nonexistent/Normal.htm", linked.filePath("Normal.htm")));
    ASSERT_FALSE(ensureDefaultTemplate(linked.path()));
    EXPECT_EQ(QFileInfo(linked.filePath("Normal.htm")).symLinkTarget(), "/nonexistent/Normal.htm");
    EXPECT_EQ(readTemplate(dir.path()).lines, Lines{"mine $sms"});
}

TEST(DefaultTemplate, FailuresNameTheFile) {
    QTemporaryDir dir;
    const MaybeFailure created = ensureDefaultTemplate(dir.filePath("gone"));
    ASSERT_TRUE(created);
    EXPECT_EQ(created->text().left(20), "Cannot create file \"");
    QDir().mkdir(templatePath(dir.path())); // there, but not readable as a file
    const TemplateRead read = readTemplate(dir.path());
    EXPECT_TRUE(read.exists);
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->subject, templatePath(dir.path()));
}

TEST(TemplateFill, OnePlaceholderPerLineOnTheLastLineHoldingIt) {
    const Lines lines{"$from",     "$date, $from", "<$sms|$sms>", "$index",
                      "end $size", "$sizes",       "$FROM $inde"};
    EXPECT_EQ(filled(lines, 0), "$from"); // line 1 holds $from too and is the later one
    EXPECT_EQ(filled(lines, 1), "$date, F");
    EXPECT_EQ(filled(lines, 2), "<M|$sms>");
    EXPECT_EQ(filled(lines, 3), "I");
    EXPECT_EQ(filled(lines, 4), "end $size");
    EXPECT_EQ(filled(lines, 5), "Ss");
    EXPECT_EQ(filled(lines, 6), "$FROM $inde");
    EXPECT_EQ(scanTemplate(lines)[1], (PlaceholderSpot{1, 1})); // found, but $from wins the line

    Lines big(10000, std::string(300, 'x') + "$sms");
    EXPECT_EQ(scanTemplate(big)[4], (PlaceholderSpot{9999, 301}));
}
