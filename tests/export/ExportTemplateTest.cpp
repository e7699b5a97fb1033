#include "export/ExportTemplate.h"

#include "core/Cp1251.h"
#include "core/FileStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qb;

namespace {

std::string cp(const char* utf8)
{
    return cp1251::fromUnicode(QString::fromUtf8(utf8));
}

PlaceholderValues sampleValues()
{
    return {"FROM", "DATE", "SIZE", "INDEX", "SMS"};
}

std::string filled(const std::vector<std::string>& lines, int n)
{
    return TemplateFill(lines, scanTemplate(lines)).line(n, sampleValues());
}

} // namespace

TEST(DefaultTemplate, HasItsTwentyEightLinesWithTheirTabsInWindows1251)
{
    const auto& lines = defaultTemplate();
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "<table border=\"0\" width=\"100%\" id=\"table1\">");
    EXPECT_EQ(lines[1], "\t<tr>");
    EXPECT_EQ(lines[3], "\t\t<b><font face=\"Times New Roman\">" + cp("От") + "</font></b></u></td>");
    EXPECT_EQ(lines[4], "\t\t<td><font face=\"Times New Roman\">$from</td>");
    EXPECT_EQ(lines[24], "\t\t<td><font face=\"Times New Roman\">$sms</td>");
    EXPECT_EQ(lines[26], "\t</td></table>");
    EXPECT_EQ(lines[27], "\t<hr>");
    EXPECT_EQ(cp("От"), "\xCE\xF2");

    const PlaceholderSpots spots = scanTemplate(lines);
    const int expectedLines[] = {4, 9, 14, 19, 24};
    for (std::size_t p = 0; p < PlaceholderCount; ++p)
        EXPECT_EQ(spots[p], (PlaceholderSpot{expectedLines[p], 36})) << p;
}

TEST(DefaultTemplate, IsWrittenOnlyWhenMissingAndReadBackLineForLine)
{
    QTemporaryDir dir;
    ASSERT_FALSE(ensureDefaultTemplate(dir.path()));
    const FileRead written = readWholeFile(templatePath(dir.path()));
    EXPECT_EQ(written.bytes.substr(written.bytes.size() - 7), "\t<hr>\r\n");
    EXPECT_EQ(readTemplate(dir.path()).lines, defaultTemplate());

    // The user's template, even an empty one, is never replaced.
    ASSERT_FALSE(writeWholeFile(templatePath(dir.path()), ""));
    ASSERT_FALSE(ensureDefaultTemplate(dir.path()));
    const TemplateRead empty = readTemplate(dir.path());
    EXPECT_TRUE(empty.exists);
    EXPECT_TRUE(empty.lines.empty());

    // Lines are split at CR LF, lone CR and lone LF.
    ASSERT_FALSE(writeWholeFile(templatePath(dir.path()), "a\rb\nc\r\nd"));
    EXPECT_EQ(readTemplate(dir.path()).lines, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(DefaultTemplate, FailuresNameTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("gone"); // a working directory removed meanwhile
    const MaybeFailure created = ensureDefaultTemplate(missing);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->kind, Failure::Kind::CannotCreate);
    EXPECT_EQ(created->subject, templatePath(missing));

    QDir().mkdir(templatePath(dir.path())); // a directory where the file should be
    const TemplateRead read = readTemplate(dir.path());
    EXPECT_TRUE(read.exists);
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->kind, Failure::Kind::CannotOpen);
    EXPECT_FALSE(readTemplate(dir.filePath("none")).exists);
}

TEST(TemplateScan, TakesTheLastLineAndTheFirstOccurrenceInIt)
{
    const std::vector<std::string> lines{"x", "y", "a $from", "b", "c", "d", "e", "$from $from",
                                         "$FROM"};
    const PlaceholderSpots spots = scanTemplate(lines);
    EXPECT_EQ(spots[0], (PlaceholderSpot{7, 1}));
    EXPECT_FALSE(spots[1]);
    EXPECT_EQ(filled(lines, 2), "a $from");
    EXPECT_EQ(filled(lines, 7), "FROM $from");
    EXPECT_EQ(filled(lines, 8), "$FROM"); // placeholders match with case
}

TEST(TemplateFill, ReplacesOnePlaceholderPerLineInOrderOfPrecedence)
{
    const std::vector<std::string> lines{"$date, $from", "<$sms|$sms>", "$index", "end $size",
                                         "$sizes", "$inde", "no placeholders"};
    EXPECT_EQ(filled(lines, 0), "$date, FROM");
    EXPECT_EQ(filled(lines, 1), "<SMS|$sms>");
    EXPECT_EQ(filled(lines, 2), "INDEX");
    EXPECT_EQ(filled(lines, 3), "end $size"); // line 4 holds $size too, and is the later one
    EXPECT_EQ(filled(lines, 4), "SIZEs");
    EXPECT_EQ(filled(lines, 5), "$inde");
    EXPECT_EQ(filled(lines, 6), "no placeholders");
}

TEST(TemplateFill, ValuesGoInUnchangedAndTheRestOfTheLineIsCopiedWhole)
{
    const std::vector<std::string> lines{"$sms", "\t$from</td>"};
    const TemplateFill fill(lines, scanTemplate(lines));
    const PlaceholderValues values{"a<b>&", "", "", "", std::string("x\r\ny\0z", 6)};
    EXPECT_EQ(fill.line(0, values), std::string("x\r\ny\0z", 6));
    EXPECT_EQ(fill.line(1, values), "\ta<b>&</td>");
}

TEST(TemplateScan, CopesWithALongTemplate)
{
    std::vector<std::string> lines(10000, std::string(200, 'x') + "$sms");
    const PlaceholderSpots spots = scanTemplate(lines);
    EXPECT_EQ(spots[4], (PlaceholderSpot{9999, 201}));
    EXPECT_EQ(filled(lines, 9999), std::string(200, 'x') + "SMS");
    EXPECT_EQ(filled(lines, 0), lines[0]);
}
