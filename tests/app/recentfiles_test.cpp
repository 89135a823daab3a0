#include "app/recentfiles.h"

#include <gtest/gtest.h>

namespace {

RecentFiles::Captions emptyList()
{
    RecentFiles::Captions c;
    c.fill(RecentFiles::emptyCaption());
    return c;
}

} // namespace

TEST(RecentFiles, NewPathsFillTheItemsInTurnAndTheSixthReplacesTheFirst)
{
    RecentFiles recent;
    auto list = emptyList();
    EXPECT_EQ(recent.slot(), 1);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(recent.add(list, QStringLiteral("/w/p%1.htm").arg(i)), i);
    }
    EXPECT_EQ(recent.slot(), 1);
    EXPECT_EQ(recent.add(list, QStringLiteral("/w/p6.htm")), 1);
    EXPECT_EQ(list[0], QStringLiteral("/w/p6.htm"));
    EXPECT_EQ(list[1], QStringLiteral("/w/p2.htm"));
    EXPECT_EQ(recent.slot(), 2);
}

TEST(RecentFiles, AListedPathChangesNothingAndMatchingIsExact)
{
    RecentFiles recent;
    auto list = emptyList();
    recent.add(list, QStringLiteral("/w/a.htm"));
    const auto before = list;
    EXPECT_EQ(recent.add(list, QStringLiteral("/w/a.htm")), 0);
    EXPECT_EQ(list, before);
    EXPECT_EQ(recent.slot(), 2);   // the turn does not advance

    // Letter case and trailing characters count.
    EXPECT_EQ(recent.add(list, QStringLiteral("/w/A.htm")), 2);
    EXPECT_EQ(recent.add(list, QStringLiteral("/w/a.htm ")), 3);
    EXPECT_TRUE(RecentFiles::contains(list, QStringLiteral("/w/A.htm")));
    EXPECT_FALSE(RecentFiles::contains(list, QStringLiteral("/W/a.htm")));
}

TEST(RecentFiles, EveryRunStartsAtTheFirstItemWhateverTheItemsHold)
{
    RecentFiles::Captions list = {QStringLiteral("/w/1.htm"), QStringLiteral("/w/2.htm"),
                                  QStringLiteral("/w/3.htm"), RecentFiles::emptyCaption(),
                                  RecentFiles::emptyCaption()};
    RecentFiles nextRun;
    EXPECT_EQ(nextRun.add(list, QStringLiteral("/w/new.htm")), 1);
    EXPECT_EQ(list[0], QStringLiteral("/w/new.htm"));
    EXPECT_EQ(list[3], RecentFiles::emptyCaption());
    EXPECT_FALSE(RecentFiles::isFilled(list[3]));
    EXPECT_TRUE(RecentFiles::isFilled(list[0]));
}
