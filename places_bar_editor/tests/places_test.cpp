#include <places_bar/places.h>
#include <places_bar/startup.h>

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
    EXPECT_FALSE(PlaceEntryFolderId(L"x|a5"));
    EXPECT_FALSE(PlaceEntryFolderId(L"|5"));
    EXPECT_FALSE(PlaceEntryFolderId(L"|"));
    EXPECT_FALSE(PlaceEntryFolderId(L"a|1x"));
    EXPECT_FALSE(PlaceEntryFolderId(L"a|١٢"));  // digits of another script
    EXPECT_FALSE(PlaceEntryFolderId(L""));
}

// A picked entry is stored as its folder id, and the id selects the entry
// again at the next start: every entry is a place entry, with an id of its
// own. (The list itself is checked in the real window.)
TEST(PlaceEntries, EachEntryComesBackAsItselfFromTheIdItIsStoredAs) {
    for (std::size_t index = 0; index < kPlaceEntries.size(); ++index) {
        SCOPED_TRACE(index);
        const std::optional<std::int32_t> id = PlaceEntryFolderId(kPlaceEntries[index]);
        ASSERT_TRUE(id) << "every list entry is a place entry";
        const ShownPlace shown = ShowPlace(RegistryValue(*id));
        EXPECT_EQ(shown.entry, static_cast<int>(index));
        EXPECT_EQ(shown.text, std::wstring(kPlaceEntries[index]));
    }
}

TEST(TrimSpaces, RemovesSpacesAtTheEnds_AndEmptiesATextOfBlanksOfAnyKind) {
    EXPECT_EQ(TrimSpaces(L"  C:\\My Files  "), L"C:\\My Files");
    EXPECT_EQ(TrimSpaces(L"\tC:\\x"), L"\tC:\\x");
    for (const wchar_t* blank : {L"   ", L"\t", L"\x3000", L"\xA0 \x2003", L"\r\n"}) EXPECT_EQ(TrimSpaces(blank), L"") << ::testing::PrintToString(std::wstring(blank));
}

}  // namespace
