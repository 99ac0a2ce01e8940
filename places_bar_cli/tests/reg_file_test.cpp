#include "reg_file.h"

#include <platform/ansi.h>

#include <gtest/gtest.h>

namespace {

using namespace lumbrake::cli;
using namespace platform;

const std::wstring kRoot = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";

RegValue Value(std::uint32_t type, std::vector<std::uint8_t> data) { return {type, std::move(data)}; }
RegValue Text(std::uint32_t type, std::wstring_view units) {
    const std::string bytes = ToUtf16(units);
    return {type, {bytes.begin(), bytes.end()}};
}
std::string Utf16File(std::wstring_view text) { return "\xFF\xFE" + ToUtf16(text); }

RegFile Parsed(std::string_view bytes) {
    auto parsed = ParseRegFile(bytes, SystemCodePage());
    if (auto* error = std::get_if<RegFileError>(&parsed)) ADD_FAILURE() << "line " << error->line << ": problem " << int(error->problem);
    return std::holds_alternative<RegFile>(parsed) ? std::get<RegFile>(parsed) : RegFile{};
}

KeyState StateOf(const std::string& bytes) {
    auto state = StateAfter(kRoot, Parsed(bytes).operations);
    EXPECT_TRUE(std::holds_alternative<KeyState>(state));
    return std::holds_alternative<KeyState>(state) ? std::get<KeyState>(state) : KeyState{};
}

// Every type and every form a stored value can take, the awkward ones too.
KeyNode EveryKindOfValue() {
    KeyNode root{L"comdlg32", {}, {}};
    root.values = {
        {L"NoPlacesBar", Value(kRegDword, {1, 0, 0, 0})},
        {L"", Text(kRegSz, std::wstring(L"default\0", 8))},
        {L"Text", Text(kRegSz, std::wstring(L"C:\\Program Files\\\"quoted\"\0", 27))},
        {L"NoNul", Text(kRegSz, L"C:\\Tools")},
        {L"Inner NUL", Text(kRegSz, std::wstring(L"a\0b\0", 4))},
        {L"Odd", Value(kRegSz, {0x41, 0x00, 0x42})},
        {L"Empty string", Value(kRegSz, {})},
        {L"Control", Text(kRegSz, std::wstring(L"line\r\nnext\0", 11))},
        {L"Lone surrogate", Text(kRegSz, std::wstring(L"\xD800x\0", 3))},
        {L"Expand", Text(kRegExpandSz, std::wstring(L"%SystemDrive%\\我的\0", 17))},
        {L"Multi", Text(kRegMultiSz, std::wstring(L"one\0two\0\0", 9))},
        {L"Binary", Value(kRegBinary, std::vector<std::uint8_t>(60, 0xAB))},
        {L"Empty binary", Value(kRegBinary, {})},
        {L"Short dword", Value(kRegDword, {1, 2, 3})},
        {L"Qword", Value(kRegQword, {1, 2, 3, 4, 5, 6, 7, 8})},
        {L"None", Value(0, {0xFF})},
        {L"Own type", Value(0x12345678, {9})},
        {L"名字 \"with\" \\ and\nbreak", Value(kRegDword, {0xFF, 0xFF, 0xFF, 0xFF})},
    };
    KeyNode places{L"PlacesBar", {{L"Place0", Value(kRegDword, {17, 0, 0, 0})}, {L"place1", Text(kRegSz, std::wstring(L"D:\\下载\0", 6))}}, {}};
    places.keys.push_back({L"Deeper", {}, {{L"Empty key", {}, {}}}});
    root.keys.push_back(places);
    root.keys.push_back({L"其他", {{L"x", Value(kRegBinary, {1})}}, {}});
    return root;
}

TEST(RegFile, WrittenAsRegeditWritesIt) {
    KeyNode root{L"comdlg32", {{L"Place", Text(kRegSz, std::wstring(L"C:\\a \"b\"\0", 9))}, {L"", Value(kRegDword, {0x11, 0, 0, 0})}}, {}};
    root.values.push_back({L"bin", Value(kRegBinary, std::vector<std::uint8_t>(60, 0x0F))});
    root.values.push_back({L"exp", Text(kRegExpandSz, std::wstring(L"%A%\0", 4))});
    const std::wstring text = RegFileText(SectionsOfTree(kRoot, root, true));
    // regedit breaks hexadecimal data once a line reaches 77 characters:
    // 23 bytes after "bin"=hex:, then 25 a line after two spaces.
    std::wstring bytes23, bytes25, bytes12;
    for (int i = 0; i < 23; ++i) bytes23 += L"0f,";
    for (int i = 0; i < 25; ++i) bytes25 += L"0f,";
    for (int i = 0; i < 12; ++i) bytes12 += (i ? L",0f" : L"0f");
    const std::wstring expected = L"Windows Registry Editor Version 5.00\r\n"
                                  L"\r\n[-" + kRoot + L"]\r\n"
                                  L"\r\n[" + kRoot + L"]\r\n"
                                  L"\"Place\"=\"C:\\\\a \\\"b\\\"\"\r\n"
                                  L"@=dword:00000011\r\n"
                                  L"\"bin\"=hex:" + bytes23 + L"\\\r\n  " + bytes25 + L"\\\r\n  " + bytes12 + L"\r\n"
                                  L"\"exp\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                  L"\r\n";
    EXPECT_EQ(text, expected);
    EXPECT_EQ(RegFileBytes(SectionsOfTree(kRoot, root, true)), Utf16File(expected)) << "UTF-16LE after its byte-order mark";
    EXPECT_EQ(RegFileText(SectionsOfTree(kRoot, std::nullopt, false)),
              L"Windows Registry Editor Version 5.00\r\n\r\n[-" + kRoot + L"]\r\n\r\n") << "an absent key is its deletion";
}

TEST(RegFile, EveryValueOfEveryType_ComesBackExactly) {
    const KeyNode original = EveryKindOfValue();
    const KeyState read = StateOf(RegFileBytes(SectionsOfTree(kRoot, original, true)));
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(Diff(L"k", original, read).empty());
    ASSERT_EQ(read->values.size(), original.values.size());
    for (std::size_t i = 0; i < original.values.size(); ++i) {
        EXPECT_EQ(read->values[i].name, original.values[i].name);
        EXPECT_EQ(read->values[i].value, original.values[i].value) << "value " << i;
    }
    EXPECT_TRUE(read->FindKey(L"PlacesBar")->FindKey(L"Deeper")->FindKey(L"Empty key")) << "an empty key is kept";
}

TEST(RegFile, ReadsWhatRegeditWrites_CommentsContinuationsAndEscapes) {
    const RegFile file = Parsed(Utf16File(
        L"Windows Registry Editor Version 5.00\r\n"
        L"; a comment\r\n"
        L"\r\n"
        L"[HKEY_CURRENT_USER\\Software\\Test]\r\n"
        L"@=\"top\"\r\n"
        L"\"Quote\\\"d\" = \"a\\\\b\\\"c\"   ; trailing comment\r\n"
        L"\"Number\"=dword:0000ABCD\n"
        L"\"Lines\"=hex(7):61,00,\\\r\n"
        L"  ; a comment inside the data\r\n"
        L"\r\n"
        L"  62,00 , 00,00\r"
        L"\"Gone\"=-\r\n"
        L"\"Empty\"=hex:\r\n"
        L"[-HKEY_CURRENT_USER\\Software\\Test\\Old]\r\n"));
    EXPECT_TRUE(file.unicode);
    ASSERT_EQ(file.operations.size(), 8u);
    using Kind = RegOperation::Kind;
    EXPECT_EQ(file.operations[0].kind, Kind::Key);
    EXPECT_EQ(file.operations[0].keyPath, L"HKEY_CURRENT_USER\\Software\\Test");
    EXPECT_EQ(file.operations[1].valueName, L"");
    EXPECT_EQ(file.operations[1].value, Text(kRegSz, std::wstring(L"top\0", 4)));
    EXPECT_EQ(file.operations[2].valueName, L"Quote\"d");
    EXPECT_EQ(file.operations[2].value, Text(kRegSz, std::wstring(L"a\\b\"c\0", 6)));
    EXPECT_EQ(file.operations[3].value, Value(kRegDword, {0xCD, 0xAB, 0, 0}));
    EXPECT_EQ(file.operations[4].value, Text(kRegMultiSz, std::wstring(L"ab\0", 3)));
    EXPECT_EQ(file.operations[4].line, 8);
    EXPECT_EQ(file.operations[5].kind, Kind::DeleteValue);
    EXPECT_EQ(file.operations[5].line, 12) << "a lone CR ends a line too";
    EXPECT_EQ(file.operations[6].value, Value(kRegBinary, {}));
    EXPECT_EQ(file.operations[7].kind, Kind::DeleteKey);
}

TEST(RegFile, Regedit4_TextInTheAnsiCodePage_StringTypesBecomeUnicode) {
    const std::string ansiName = *SystemCodePage().ToAnsi(L"位置");
    const std::string file = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"" + ansiName +
                             "\"=\"C:\\\\" + ansiName + "\"\r\n\"exp\"=hex(2):25,41,25,00\r\n\"raw\"=hex:b9,00\r\n";
    const RegFile parsed = Parsed(file);
    EXPECT_FALSE(parsed.unicode);
    ASSERT_EQ(parsed.operations.size(), 4u);
    EXPECT_EQ(parsed.operations[1].valueName, L"位置");
    EXPECT_EQ(parsed.operations[1].value, Text(kRegSz, std::wstring(L"C:\\位置\0", 6)));
    EXPECT_EQ(parsed.operations[2].value, Text(kRegExpandSz, std::wstring(L"%A%\0", 4)));
    EXPECT_EQ(parsed.operations[3].value, Value(kRegBinary, {0xB9, 0x00})) << "bytes of other types stay bytes";
}

TEST(RegFile, MalformedFiles_RefusedWithTheLineAtFault) {
    struct Case {
        std::string bytes;
        int line;
        RegFileProblem problem;
    };
    const std::string head = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n";
    const Case cases[] = {
        {"", 1, RegFileProblem::NotARegistryFile},
        {Utf16File(L"REG"), 1, RegFileProblem::NotARegistryFile},
        {Utf16File(L"REGEDIT4\r\n") + "X", 2, RegFileProblem::OddLength},
        {"REGEDIT4\r\n\"a\"=dword:1\r\n", 2, RegFileProblem::ValueWithoutKey},
        {head + "[-HKEY_CURRENT_USER\\Software\\T]\r\n\"a\"=dword:1\r\n", 4, RegFileProblem::ValueWithoutKey},
        {head + "[ HKEY_CURRENT_USER\\Software]\r\n", 3, RegFileProblem::BadKeyLine},
        {head + "[HKEY_CURRENT_USER\\Software\r\n", 3, RegFileProblem::BadKeyLine},
        {head + "[HKEY_CURRENT_USER\\\\Software]\r\n", 3, RegFileProblem::BadKeyLine},
        {head + "[HKEY_CURRENT_USER\\Software\\]\r\n", 3, RegFileProblem::BadKeyLine},
        {head + "[HKEY_CURRENT_USER\\Software] junk\r\n", 3, RegFileProblem::BadKeyLine},
        {head + "\"a\" dword:1\r\n", 3, RegFileProblem::BadValueName},
        {head + "\"a=dword:1\r\n", 3, RegFileProblem::BadValueName},
        {head + "\"a\\tb\"=dword:1\r\n", 3, RegFileProblem::BadEscape},
        {head + "\"a\"=\"x\\0\"\r\n", 3, RegFileProblem::BadEscape},
        {head + "\"a\"=\"open\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=\"x\" y\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=dword:123456789\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=dword:\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=dword:0x1\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=hex:1,,2\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=hex:123\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=hex(0x2):00\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=hex(2:00\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=str:\"x\"\r\n", 3, RegFileProblem::BadData},
        {head + "\"a\"=hex:01,\\\r\n  02,\\\r\n  zz\r\n", 5, RegFileProblem::BadData},
        {head + "\"a\"=hex:01,02\\\r\n", 3, RegFileProblem::BadData},
        {head + "garbage\r\n", 3, RegFileProblem::UnknownLine},
        {head + std::string("\"a\"=\"x\0y\"\r\n", 11), 3, RegFileProblem::NulCharacter},
        {head + "\"a\"=\"\x81\"\r\n", 3, RegFileProblem::NotInCodePage},
        {head + "\"a\"=hex(1):81\r\n", 3, RegFileProblem::NotInCodePage},
    };
    for (const Case& c : cases) {
        auto parsed = ParseRegFile(c.bytes, SystemCodePage());
        const auto* error = std::get_if<RegFileError>(&parsed);
        ASSERT_NE(error, nullptr) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(error->line, c.line) << ::testing::PrintToString(c.bytes);
        EXPECT_EQ(error->problem, c.problem) << ::testing::PrintToString(c.bytes);
    }
}

TEST(RegFile, StateAfter_StartsFromNothing_AndFollowsTheFileInOrder) {
    const KeyState state = StateOf(Utf16File(
        L"Windows Registry Editor Version 5.00\r\n"
        L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\A\\B]\r\n"
        L"\"x\"=dword:1\r\n"
        L"[hkey_current_user\\software\\microsoft\\windows\\currentversion\\policies\\COMDLG32\\a]\r\n"
        L"\"Y\"=dword:2\r\n"
        L"\"y\"=dword:3\r\n"
        L"\"gone\"=-\r\n"
        L"[-HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\A\\B]\r\n"));
    ASSERT_TRUE(state);
    ASSERT_EQ(state->keys.size(), 1u);
    const KeyNode& a = state->keys[0];
    EXPECT_EQ(a.name, L"A") << "a key keeps its first spelling";
    EXPECT_TRUE(a.keys.empty());
    ASSERT_EQ(a.values.size(), 1u);
    EXPECT_EQ(a.values[0].name, L"Y");
    EXPECT_EQ(a.values[0].value, Value(kRegDword, {3, 0, 0, 0}));

    EXPECT_FALSE(StateOf(Utf16File(L"Windows Registry Editor Version 5.00\r\n[" + kRoot + L"]\r\n[-" + kRoot + L"]\r\n")))
        << "the key's own deletion leaves nothing";
}

TEST(RegFile, StateAfter_RefusesAnyKeyOutsideTheRoot) {
    const std::vector<std::wstring> outside = {
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies", kRoot + L"x", kRoot.substr(0, kRoot.size() - 1),
        L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32",
        L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32"};
    for (const std::wstring& key : outside) {
        for (const wchar_t* prefix : {L"[", L"[-"}) {
            const RegFile file = Parsed(Utf16File(L"Windows Registry Editor Version 5.00\r\n[" + kRoot + L"]\r\n\r\n" + prefix + key + L"]\r\n"));
            auto state = StateAfter(kRoot, file.operations);
            const auto* outside = std::get_if<KeyOutside>(&state);
            ASSERT_NE(outside, nullptr) << ::testing::PrintToString(key);
            EXPECT_EQ(outside->line, 4);
        }
    }
}

}  // namespace
