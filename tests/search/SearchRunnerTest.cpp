#include "search/SearchRunner.h"

#include "tests/support/JobRun.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace qb {
namespace {

SearchIndex indexOf(int count, QStringView text) {
    FolderIndexBuilder builder(0);
    for (int k = 0; k < count; ++k)
        builder.add(text, u"+79161234567", u"Маша");
    SearchIndex index;
    index.setFolder(builder.finish());
    return index;
}

class SearchRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ensureApplication(); }

    // Lets queued results arrive, so that one that should not come would.
    static void settle() { QTest::qWait(100); }
};

TEST_F(SearchRunnerTest, OnlyTheLastKeystrokesResultArrives) {
    SearchRunner runner;
    runner.setIndex(indexOf(200000, u"как дела"));
    QSignalSpy results(&runner, &SearchRunner::finished);
    for (const char16_t* typed : {u"к", u"ка", u"как", u"как д", u"как де"})
        EXPECT_TRUE(runner.search(QString::fromUtf16(typed)));
    ASSERT_TRUE(results.wait(10000));
    settle();
    ASSERT_EQ(results.size(), 1);
    const auto result = results.at(0).at(0).value<SearchResult>();
    EXPECT_EQ(result.typed, u"как де");
    EXPECT_EQ(result.hits.size(), 200000u);
    EXPECT_FALSE(runner.isRunning());
}

TEST_F(SearchRunnerTest, ClearingTheFieldStopsTheSearchAndStartsNone) {
    SearchRunner runner;
    runner.setIndex(indexOf(200000, u"как дела"));
    QSignalSpy results(&runner, &SearchRunner::finished);
    EXPECT_TRUE(runner.search(QStringLiteral("дела")));
    EXPECT_FALSE(runner.search(QStringLiteral("  \"\" ")));
    EXPECT_FALSE(runner.isRunning());
    settle();
    EXPECT_EQ(results.size(), 0);
    // Nothing is run again on a new index either.
    runner.setIndex(indexOf(10, u"дела"));
    settle();
    EXPECT_EQ(results.size(), 0);
}

TEST_F(SearchRunnerTest, ANewIndexRunsTheShownSearchAgain) {
    SearchRunner runner;
    runner.setIndex(indexOf(3, u"дом"));
    QSignalSpy results(&runner, &SearchRunner::finished);
    runner.search(QStringLiteral("ДОМ"));
    ASSERT_TRUE(results.wait(5000));
    EXPECT_EQ(results.at(0).at(0).value<SearchResult>().hits.size(), 3u);
    runner.setIndex(indexOf(2, u"дома"));
    ASSERT_TRUE(results.wait(5000));
    EXPECT_EQ(results.at(1).at(0).value<SearchResult>().hits.size(), 2u);
}

TEST_F(SearchRunnerTest, DestroyedWhileScanningItStopsTheScan) {
    QSignalSpy* results = nullptr;
    {
        SearchRunner runner;
        runner.setIndex(indexOf(300000, u"как дела"));
        results = new QSignalSpy(&runner, &SearchRunner::finished);
        runner.search(QStringLiteral("дела"));
    }
    settle();
    EXPECT_EQ(results->size(), 0);
    delete results;
}

} // namespace
} // namespace qb
