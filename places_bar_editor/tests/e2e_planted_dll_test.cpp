// A comctl32.dll left beside Lumbrake.exe (a zip unpacked in a downloads
// folder) never runs, even where DLLs beside a program come first.
#include "e2e_lumbrake.h"

#include <filesystem>

namespace lumbrake_e2e {
namespace {

const std::wstring kMarker = L"Software\\LumbrakeTests\\Planted";
const std::wstring kAppDefaults = L"Software\\Wine\\AppDefaults\\";
const wchar_t* const kPrograms[] = {L"Lumbrake.exe", L"comctl32_importer.exe"};

class PlantedDllTest : public LumbrakeTest {
protected:
    void SetUp() override {
        LumbrakeTest::SetUp();
        e2e::DeleteTree(HKEY_CURRENT_USER, kMarker);
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::filesystem::path(temp) / L"lumbrake-downloads";
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        for (const std::string& file : {LumbrakeExe(), std::string(PLANTED_DLL), std::string(COMCTL32_IMPORTER_EXE)}) {
            const std::filesystem::path from(e2e::WindowsPath(file));
            std::filesystem::copy_file(from, m_folder / from.filename());
        }
        // Wine's way of letting a DLL beside these programs win over its own.
        for (const wchar_t* program : kPrograms)
            e2e::SetString(HKEY_CURRENT_USER, kAppDefaults + program + L"\\DllOverrides", L"comctl32", L"native,builtin");
    }
    void TearDown() override {
        for (const wchar_t* program : kPrograms) e2e::DeleteTree(HKEY_CURRENT_USER, kAppDefaults + program);
        LumbrakeTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        e2e::DeleteTree(HKEY_CURRENT_USER, kMarker);
    }
    std::string Copy(const char* name) const { return (m_folder / name).string(); }
    static bool PlantedDllRan() { return e2e::ReadRaw(HKEY_CURRENT_USER, kMarker, L"LoadedBy").has_value(); }

    std::filesystem::path m_folder;
};

TEST_F(PlantedDllTest, APlantedComctl32NeverRuns_AndTheToolTipsStillWork) {
    // The control: a program that imports comctl32 loads the planted one.
    {
        e2e::Program importer(Copy("comctl32_importer.exe"));
        EXPECT_TRUE(importer.WaitForExit().has_value());
        ASSERT_TRUE(PlantedDllRan()) << "the planted DLL would be loaded: the test can see it";
        e2e::DeleteTree(HKEY_CURRENT_USER, kMarker);
    }

    const Window w = Start(Copy("Lumbrake.exe"));
    ASSERT_TRUE(w.form);
    EXPECT_EQ(e2e::ToolTipText(w.command2[0]), L"点击来选择你最常用的五个目录！") << "the system's comctl32 serves the tool tips";
    Close();
    EXPECT_FALSE(PlantedDllRan());
}

}  // namespace
}  // namespace lumbrake_e2e
