#pragma once
// What the commands need of the machine they run on. The Windows program
// answers with the registry, the shell and the console; the tests answer
// with an in-memory registry and recorded output.
#include <places_bar/check.h>
#include <platform/ansi.h>
#include <platform/registry.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

enum class Stream { Out, Err };

struct PreviewResult {
    bool opened = false;
    long error = 0;         // why the dialog did not open
    bool placesBar = false; // whether it showed a places bar
    std::vector<std::wstring> places;
};

// The dialogs' way of finding places (PlaceFinder) is the shell's.
class Host : public PlaceFinder {
public:
    virtual ~Host() = default;

    virtual platform::Registry& Registry() = 0;
    virtual const platform::AnsiCodePage& CodePage() = 0;
    // Whether the user's interface language is Chinese.
    virtual bool Chinese() = 0;

    // False when the text could not all be written.
    [[nodiscard]] virtual bool Write(Stream stream, std::wstring_view text) = 0;
    // A file's bytes on standard output: unchanged into a file or a pipe,
    // as `text` on a console, which shows text rather than bytes.
    [[nodiscard]] virtual bool WriteFileToOutput(std::string_view bytes, std::wstring_view text) = 0;

    virtual std::optional<std::string> ReadFile(const std::wstring& path, long& error) = 0;
    [[nodiscard]] virtual long WriteFile(const std::wstring& path, std::string_view bytes) = 0;
    // A new file under the user's local application data; its path.
    virtual std::optional<std::wstring> SaveBackup(std::string_view bytes, long& error) = 0;

    virtual PreviewResult Preview(bool list) = 0;

    // The system's text for a Win32 code or an HRESULT.
    virtual std::wstring ErrorText(long code) = 0;
    virtual std::wstring NewGuid() = 0;  // "{8-4-4-4-12}", upper case
    virtual std::wstring UtcNow() = 0;   // "2024-05-01 09:30:00"
};

}  // namespace lumbrake::cli
