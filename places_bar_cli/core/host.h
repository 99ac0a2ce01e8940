#pragma once
// What the commands need of the machine they run on, each part by what it
// gives. The Windows program answers with the registry, its console, its
// files, its clock and the shell; the tests with an in-memory machine.
#include <platform/ansi.h>
#include <platform/place_finder.h>
#include <platform/registry.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

enum class Stream { Out, Err };

// Standard output and error, in the language the user reads.
class Console {
public:
    virtual ~Console() = default;
    // Whether the user's interface language is Chinese.
    virtual bool Chinese() = 0;
    // False when the text could not all be written.
    [[nodiscard]] virtual bool Write(Stream stream, std::wstring_view text) = 0;
    // A file's bytes on standard output: unchanged into a file or a pipe,
    // as `text` on a console, which shows text rather than bytes.
    [[nodiscard]] virtual bool WriteFileToOutput(std::string_view bytes, std::wstring_view text) = 0;
    // The system's text for a Win32 code or an HRESULT.
    virtual std::wstring ErrorText(long code) = 0;
};

// The files a command names, and the backups that set and restore keep.
class Files {
public:
    virtual ~Files() = default;
    virtual std::optional<std::string> ReadFile(const std::wstring& path, long& error) = 0;
    [[nodiscard]] virtual long WriteFile(const std::wstring& path, std::string_view bytes) = 0;
    // A new file under the user's local application data; its path.
    virtual std::optional<std::wstring> SaveBackup(std::string_view bytes, long& error) = 0;
};

// What differs from one run to the next: the time an export is stamped
// with, and the ids of its items.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::wstring UtcNow() = 0;   // "2024-05-01 09:30:00"
    virtual std::wstring NewGuid() = 0;  // "{8-4-4-4-12}", upper case
};

struct PreviewResult {
    bool opened = false;
    long error = 0;         // why the dialog did not open
    bool placesBar = false; // whether it showed a places bar
    std::vector<std::wstring> places;
};

// The classic Open dialog, with its places bar.
class OpenDialog {
public:
    virtual ~OpenDialog() = default;
    virtual PreviewResult Preview(bool list) = 0;
};

struct Host {
    platform::Registry& registry;
    const platform::AnsiCodePage& codePage;
    Console& console;
    Files& files;
    Clock& clock;
    platform::PlaceFinder& places;  // the shell, finding places as the dialogs find them
    OpenDialog& openDialog;
};

}  // namespace lumbrake::cli
