// The registry file reader takes files from anyone. Whatever the bytes, it
// answers without a crash, a hang or a sanitizer report; and a file it
// accepts, written again, reads back as the same key.
#include "key_tree.h"
#include "reg_file.h"

#include <platform/ansi.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace lumbrake::cli;

const std::wstring kRoot = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";

void Check(std::string_view bytes) {
    const auto parsed = ParseRegFile(bytes, platform::SystemCodePage());
    const auto* file = std::get_if<RegFile>(&parsed);
    if (!file) return;
    const auto state = StateAfter(kRoot, file->operations);
    const auto* tree = std::get_if<KeyState>(&state);
    if (!tree) return;
    const auto again = ParseRegFile(RegFileBytes(SectionsOfTree(kRoot, *tree, true)), platform::SystemCodePage());
    const auto* reread = std::get_if<RegFile>(&again);
    if (!reread) std::abort();
    const auto restated = StateAfter(kRoot, reread->operations);
    if (!std::holds_alternative<KeyState>(restated) || !Diff(L"k", *tree, std::get<KeyState>(restated)).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    // The same text as UTF-16, so that mutations of plain text reach the
    // Unicode reader too.
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return 0;
    std::string wide = "\xFF\xFE";
    for (char c : bytes) {
        wide += c;
        wide += '\0';
    }
    Check(wide);
    return 0;
}
