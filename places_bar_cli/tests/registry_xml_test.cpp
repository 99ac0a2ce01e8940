#include "registry_xml.h"

#include <platform/ansi.h>

#include <gtest/gtest.h>

namespace {

using namespace lumbrake::cli;
using namespace platform;

RegValue Text(std::uint32_t type, std::wstring_view units) {
    const std::string bytes = ToUtf16(units);
    return {type, {bytes.begin(), bytes.end()}};
}

std::vector<std::wstring> Uids(std::size_t count) {
    std::vector<std::wstring> uids;
    for (std::size_t i = 0; i < count; ++i) uids.push_back(L"{UID-" + std::to_wstring(i) + L"}");
    return uids;
}

std::variant<std::wstring, GppUnfit> Xml(const std::vector<GppItem>& items) { return RegistryXml(items, Uids(items.size()), L"2024-05-01 09:30:00"); }

TEST(RegistryXml, OneItemPerValueOrKey_WithTheClassIdsActionHiveKeyNameTypeAndValue) {
    const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
    const auto xml = Xml({
        {key + L"\\PlacesBar", true, {}, std::nullopt},
        {key, false, L"NoPlacesBar", RegValue{kRegDword, {0x11, 0x01, 0, 0xA0}}},
        {key + L"\\PlacesBar", false, L"place1", Text(kRegSz, std::wstring(L"C:\\A&B <\"x\">\0", 13))},
        {key + L"\\PlacesBar", false, L"place2", std::nullopt},
        {key, false, L"", RegValue{kRegBinary, {0x0A, 0xFF}}},
    });
    ASSERT_TRUE(std::holds_alternative<std::wstring>(xml));
    const std::wstring item = L"\" changed=\"2024-05-01 09:30:00\" uid=\"{UID-";
    const std::wstring props = L"<Properties action=\"";
    EXPECT_EQ(std::get<std::wstring>(xml),
              L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
              L"<RegistrySettings clsid=\"{A3CCFC41-DFDB-43a5-8D26-0FE8B954DA51}\">\r\n"
              L"  <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"PlacesBar\" status=\"PlacesBar\" image=\"3" + item + L"0}\" bypassErrors=\"1\">\r\n"
              L"    " + props + L"D\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" key=\"" + key + L"\\PlacesBar\" name=\"\" type=\"REG_SZ\" value=\"\"/>\r\n"
              L"  </Registry>\r\n"
              L"  <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"NoPlacesBar\" status=\"NoPlacesBar\" image=\"12" + item + L"1}\" bypassErrors=\"1\">\r\n"
              L"    " + props + L"U\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" key=\"" + key + L"\" name=\"NoPlacesBar\" type=\"REG_DWORD\" value=\"A0000111\"/>\r\n"
              L"  </Registry>\r\n"
              L"  <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"place1\" status=\"place1\" image=\"7" + item + L"2}\" bypassErrors=\"1\">\r\n"
              L"    " + props + L"U\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" key=\"" + key + L"\\PlacesBar\" name=\"place1\" type=\"REG_SZ\" value=\"C:\\A&amp;B &lt;&quot;x&quot;&gt;\"/>\r\n"
              L"  </Registry>\r\n"
              L"  <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"place2\" status=\"place2\" image=\"8" + item + L"3}\" bypassErrors=\"1\">\r\n"
              L"    " + props + L"D\" displayDecimal=\"0\" default=\"0\" hive=\"HKEY_CURRENT_USER\" key=\"" + key + L"\\PlacesBar\" name=\"place2\" type=\"REG_SZ\" value=\"\"/>\r\n"
              L"  </Registry>\r\n"
              L"  <Registry clsid=\"{9CD4B2F4-923D-47f5-A062-E897DD1DAD50}\" name=\"\" status=\"\" image=\"12" + item + L"4}\" bypassErrors=\"1\">\r\n"
              L"    " + props + L"U\" displayDecimal=\"0\" default=\"1\" hive=\"HKEY_CURRENT_USER\" key=\"" + key + L"\" name=\"\" type=\"REG_BINARY\" value=\"0AFF\"/>\r\n"
              L"  </Registry>\r\n"
              L"</RegistrySettings>\r\n");
}

TEST(RegistryXml, AValueItCannotCarryExactly_IsRefusedByName) {
    const RegValue unfit[] = {
        Text(kRegSz, L"no NUL"), Text(kRegSz, std::wstring(L"a\0b\0", 4)), RegValue{kRegSz, {0x41, 0x00, 0x00}},
        Text(kRegMultiSz, std::wstring(L"a\0\0", 3)), RegValue{kRegDword, {1, 2, 3}}, RegValue{kRegQword, {1}}, RegValue{0x20, {}},
        Text(kRegSz, std::wstring(L"bell\a\0", 6)),
    };
    for (const RegValue& value : unfit) {
        const auto xml = Xml({{L"K", false, L"ok", RegValue{kRegDword, {1, 0, 0, 0}}}, {L"K", false, L"bad", value}});
        ASSERT_TRUE(std::holds_alternative<GppUnfit>(xml)) << ::testing::PrintToString(value.data);
        EXPECT_EQ(std::get<GppUnfit>(xml).valueName, L"bad");
    }
    const auto lines = Xml({{L"K", false, L"v", Text(kRegExpandSz, std::wstring(L"a\tb\r\nc\0", 7))}});
    ASSERT_TRUE(std::holds_alternative<std::wstring>(lines));
    EXPECT_NE(std::get<std::wstring>(lines).find(L"value=\"a&#9;b&#13;&#10;c\""), std::wstring::npos) << "kept, not read as blanks";
}

}  // namespace
