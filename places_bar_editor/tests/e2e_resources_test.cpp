// What Lumbrake.exe carries: its manifest and its pictures, in the forms
// the window needs, read from the built program.
#include "e2e_lumbrake.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace lumbrake_e2e {
namespace {

// Resource types by number (the RT_ macros follow the A/W setting of the build).
constexpr int kRawData = 10, kGroupIcon = 14, kManifest = 24;

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct IconForm {
    int width, height, bitCount;
    bool operator==(const IconForm&) const = default;
};

class LumbrakeResources : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryExW(e2e::WindowsPath(LumbrakeExe()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override {
        if (m_module) FreeLibrary(m_module);
    }

    std::string Bytes(int type, int id) const {
        HRSRC resource = FindResourceW(m_module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
        if (!resource) return {};
        const auto* data = static_cast<const char*>(LockResource(LoadResource(m_module, resource)));
        return std::string(data, SizeofResource(m_module, resource));
    }

    std::vector<IconForm> IconForms(int id) const {
        const std::string group = Bytes(kGroupIcon, id);
        std::vector<IconForm> forms;
        if (group.size() < 6) return forms;
        const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
        for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(IconDirEntry) <= group.size(); ++i) {
            const auto* entry = reinterpret_cast<const IconDirEntry*>(group.data() + 6 + i * sizeof(IconDirEntry));
            forms.push_back({entry->width ? entry->width : 256, entry->height ? entry->height : 256, entry->bitCount});
        }
        std::sort(forms.begin(), forms.end(), [](const IconForm& a, const IconForm& b) { return a.width < b.width; });
        return forms;
    }

    HMODULE m_module = nullptr;
};

TEST_F(LumbrakeResources, Manifest_RunsAsInvoker_DpiAware_WithClassicControls) {
    const std::string manifest = Bytes(kManifest, 1);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    // The namespace that Windows XP's loader accepts trustInfo in.
    EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"),
              std::string::npos);
    // Themed buttons would draw the option captions without their colours.
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
}

TEST_F(LumbrakeResources, Icons_HaveTheirSizesAndColourDepths) {
    EXPECT_EQ(IconForms(1), (std::vector<IconForm>{{16, 16, 24}, {32, 32, 4}}));  // the window icon
    // The buttons' pictures at 96 DPI, then at 125%, 150%, 175% and 200%.
    const std::vector<IconForm> mark = {{32, 32, 8}, {40, 40, 8}, {48, 48, 8}, {56, 56, 8}, {64, 64, 8}};
    EXPECT_EQ(IconForms(2), mark);  // apply
    EXPECT_EQ(IconForms(3), mark);  // cancel
    EXPECT_EQ(IconForms(4), (std::vector<IconForm>{{16, 16, 24}, {20, 20, 24}, {24, 24, 24}, {28, 28, 24}, {32, 32, 24}}));  // browse
}

// The banner's form and size are the picture's own, checked where it is
// decoded (gif_test.cpp); here, that the program carries that very file.
TEST_F(LumbrakeResources, Banner_IsThePictureFileByteForByte) {
    std::ifstream file(std::filesystem::path(e2e::WindowsPath(LUMBRAKE_BANNER)), std::ios::binary);
    const std::string picture((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(picture.empty());
    EXPECT_TRUE(Bytes(kRawData, 20) == picture) << "the banner resource differs from res/banner.gif";
}

}  // namespace
}  // namespace lumbrake_e2e
