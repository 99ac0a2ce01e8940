#include "places.h"

#include <gtest/gtest.h>

namespace {

using namespace lumbrake;

TEST(PlaceEntries, AreRecognisedByTheBarBeforeTwoDigits) {
    EXPECT_EQ(PlaceEntryFolderId(L"我的电脑|17"), 17);
    EXPECT_EQ(PlaceEntryFolderId(L"桌面|00"), 0);
    EXPECT_EQ(PlaceEntryFolderId(L"|05"), 5);
    EXPECT_EQ(PlaceEntryFolderId(L"a|b|34"), 34);
    EXPECT_FALSE(PlaceEntryFolderId(L"D:\\Downloads"));
    EXPECT_FALSE(PlaceEntryFolderId(L"x|ab"));
    EXPECT_FALSE(PlaceEntryFolderId(L"|5"));
    EXPECT_FALSE(PlaceEntryFolderId(L"|"));
    EXPECT_FALSE(PlaceEntryFolderId(L"a|1x"));
    EXPECT_FALSE(PlaceEntryFolderId(L"a|١٢"));  // digits of another script
    EXPECT_FALSE(PlaceEntryFolderId(L""));
}

TEST(PlaceEntries, TheListHoldsThirteenEntriesWithDistinctIds) {
    EXPECT_EQ(kPlaceEntries.front(), L"桌面|00");
    EXPECT_EQ(kPlaceEntries.back(), L"共享视频|55");
    std::vector<int> ids;
    for (auto entry : kPlaceEntries) {
        auto id = PlaceEntryFolderId(entry);
        ASSERT_TRUE(id) << "every list entry is a place entry";
        ids.push_back(*id);
    }
    EXPECT_EQ(ids, (std::vector<int>{0, 5, 6, 8, 13, 14, 17, 18, 34, 39, 46, 53, 55}));
}

TEST(TrimSpaces, RemovesBlanksAtTheEndsOnly) {
    EXPECT_EQ(TrimSpaces(L"  C:\\My Files  "), L"C:\\My Files");
    EXPECT_EQ(TrimSpaces(L"   "), L"");
    EXPECT_EQ(TrimSpaces(L"\tC:\\x"), L"\tC:\\x");
}

}  // namespace

#include "about.h"

namespace {

TEST(About, TextHasItsFiveLinesAndTheBrowserIsQuoted) {
    const std::wstring text = lumbrake::AboutText();
    EXPECT_EQ(text.rfind(L"XP对话框Lumbrake----Orvane专用版\r\n\n 作者简介：\r\n\n Name:Quillon\r\n Email:", 0), 0u);
    EXPECT_NE(text.find(L"\r\n Blog:" + std::wstring(lumbrake::kBlogAddress) + L"\r\n"), std::wstring::npos);
    EXPECT_TRUE(text.ends_with(L"\r\n"));
    EXPECT_EQ(lumbrake::BrowserCommandLine(),
              L"\"C:\\Program Files\\Internet Explorer\\IEXPLORE.exe\" " + std::wstring(lumbrake::kForumAddress));
}

}  // namespace
