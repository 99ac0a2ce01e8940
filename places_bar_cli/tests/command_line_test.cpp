#include "command_line.h"
#include "place_names.h"

#include <gtest/gtest.h>

namespace {

using namespace lumbrake;
using namespace lumbrake::cli;

Request Parse(std::vector<std::wstring> arguments) {
    auto parsed = ParseCommandLine(arguments);
    EXPECT_TRUE(std::holds_alternative<Request>(parsed));
    return std::holds_alternative<Request>(parsed) ? std::get<Request>(parsed) : Request{};
}

UsageError Refused(std::vector<std::wstring> arguments) {
    auto parsed = ParseCommandLine(arguments);
    EXPECT_TRUE(std::holds_alternative<UsageError>(parsed));
    return std::holds_alternative<UsageError>(parsed) ? std::get<UsageError>(parsed) : UsageError{};
}

TEST(CommandLine, EachCommandTakesItsOwnOptions_AnywhereAfterIt) {
    EXPECT_TRUE(Parse({L"show", L"--json"}).json);
    EXPECT_EQ(Parse({L"CHECK"}).verb, Verb::Check);

    const Request set = Parse({L"set", L"--dry-run", L"custom", L"Desktop", L"", L"C:\\Tools", L"--no-backup"});
    EXPECT_EQ(set.verb, Verb::Set);
    EXPECT_TRUE(set.dryRun && set.noBackup);
    ASSERT_TRUE(set.configuration);
    EXPECT_EQ(set.configuration->mode, kModeCustom);
    EXPECT_EQ(set.configuration->slots, (SlotTexts{L"桌面|00", L"", L"C:\\Tools", L"", L""}));

    const Request gpp = Parse({L"export", L"--format", L"gpp", L"--output=out.xml", L"hidden"});
    EXPECT_TRUE(gpp.gpp);
    EXPECT_EQ(gpp.output, L"out.xml");
    EXPECT_EQ(gpp.configuration->mode, kModeNoPlacesBar);
    const Request current = Parse({L"export", L"--format=reg", L"--output", L"out.reg"});
    EXPECT_FALSE(current.gpp);
    EXPECT_FALSE(current.configuration) << "no mode: the current configuration";

    EXPECT_EQ(Parse({L"restore", L"--", L"--odd name.reg"}).file, L"--odd name.reg");
    EXPECT_TRUE(Parse({L"preview", L"--list"}).list);
    EXPECT_EQ(Parse({L"set", L"custom", L"Computer", L"--help"}).verb, Verb::Help);
    EXPECT_EQ(Parse({L"--version"}).verb, Verb::Version);
}

TEST(CommandLine, UsageErrors_NameWhatIsWrong) {
    struct Case {
        std::vector<std::wstring> arguments;
        UsageProblem problem;
        std::wstring detail;
    };
    const Case cases[] = {
        {{}, UsageProblem::NoCommand, L""},
        {{L"apply"}, UsageProblem::UnknownCommand, L"apply"},
        {{L"show", L"--jsn"}, UsageProblem::UnknownOption, L"--jsn"},
        {{L"show", L"--json=yes"}, UsageProblem::UnknownOption, L"--json=yes"},
        {{L"show", L"--dry-run"}, UsageProblem::OptionNotHere, L"--dry-run"},
        {{L"backup", L"--no-backup", L"f.reg"}, UsageProblem::OptionNotHere, L"--no-backup"},
        {{L"export", L"--output"}, UsageProblem::MissingOptionValue, L"--output"},
        {{L"export", L"--output="}, UsageProblem::MissingOptionValue, L"--output"},
        {{L"export", L"--format", L"xml"}, UsageProblem::UnknownFormat, L"xml"},
        {{L"restore"}, UsageProblem::MissingFile, L""},
        {{L"backup", L"a.reg", L"b.reg"}, UsageProblem::ExtraArgument, L"b.reg"},
        {{L"show", L"now"}, UsageProblem::ExtraArgument, L"now"},
        {{L"set"}, UsageProblem::MissingMode, L""},
        {{L"set", L"none"}, UsageProblem::UnknownMode, L"none"},
        {{L"set", L"hidden", L"Desktop"}, UsageProblem::ExtraArgument, L"Desktop"},
        {{L"set", L"custom"}, UsageProblem::NoPlaces, L""},
        {{L"set", L"custom", L"Desktop", L"", L"", L"", L"", L"Recent"}, UsageProblem::TooManyPlaces, L"Recent"},
        {{L"set", L"custom", L"Desktp"}, UsageProblem::UnknownPlace, L"Desktp"},
    };
    for (const Case& c : cases) {
        const UsageError error = Refused(c.arguments);
        EXPECT_EQ(error.problem, c.problem) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(error.detail, c.detail) << ::testing::PrintToString(c.arguments);
    }
}

TEST(Places, EveryFolderByItsEnglishOrListedName_InAnyCase) {
    const std::pair<std::wstring, std::wstring> names[] = {
        {L"Desktop", L"桌面|00"},         {L"Documents", L"我的文档|05"},   {L"Favorites", L"收藏夹|06"},
        {L"Recent", L"最近的文档|08"},    {L"Music", L"My Music|13"},       {L"Videos", L"My Video|14"},
        {L"Computer", L"我的电脑|17"},    {L"Network", L"网上邻居|18"},     {L"History", L"历史记录|34"},
        {L"Pictures", L"My Picture|39"},  {L"PublicDocuments", L"共享文档|46"}, {L"PublicMusic", L"共享音乐|53"},
        {L"PublicVideos", L"共享视频|55"},
    };
    for (const auto& [english, entry] : names) {
        EXPECT_EQ(SlotTextFor(english), entry) << english;
        EXPECT_EQ(SlotTextFor(entry.substr(0, entry.size() - 3)), entry) << "the listed name of " << english;
    }
    EXPECT_EQ(SlotTextFor(L"computer"), L"我的电脑|17");
    EXPECT_EQ(SlotTextFor(L"my music"), L"My Music|13");
}

TEST(Places, EntriesAndFullPaths_AsTheWindowStoresThem_OtherTextRefused) {
    EXPECT_EQ(SlotTextFor(L"我的电脑|17"), L"我的电脑|17");
    EXPECT_EQ(SlotTextFor(L"anything|99"), L"anything|99") << "an entry the list lacks: the window stores its id";
    EXPECT_EQ(SlotTextFor(L"  C:\\My Tools  "), L"C:\\My Tools") << "outer blanks go, as the window trims them";
    for (const wchar_t* path : {L"D:", L"d:/x", L"\\\\server\\share", L"%USERPROFILE%\\Desktop", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"})
        EXPECT_EQ(SlotTextFor(path), path);
    EXPECT_EQ(SlotTextFor(L""), L"");
    EXPECT_EQ(SlotTextFor(L"   "), L"");
    for (const wchar_t* text : {L"Desktp", L"Tools", L"x|ab", L"C:Tools", L"17", L"\\Tools"})
        EXPECT_FALSE(SlotTextFor(text).has_value()) << "\"" << ::testing::PrintToString(std::wstring(text)) << "\" would be dropped by every dialog";
}

}  // namespace
