#pragma once
// The machine the commands run on: the console, or the file or pipe standard
// output goes to; the file system; the clock; the classic Open dialog. (The
// registry and the shell's finder are the platform's.)
#include "host.h"

namespace lumbrake::cli::win {

class WindowsConsole final : public Console {
public:
    bool Chinese() override;
    bool Write(Stream stream, std::wstring_view text) override;
    bool WriteFileToOutput(std::string_view bytes, std::wstring_view text) override;
    std::wstring ErrorText(long code) override;
};

class WindowsFiles final : public Files {
public:
    std::optional<std::string> ReadFile(const std::wstring& path, long& error) override;
    long WriteFile(const std::wstring& path, std::string_view bytes) override;
    std::optional<std::wstring> SaveBackup(std::string_view bytes, long& error) override;
};

class WindowsClock final : public Clock {
public:
    std::wstring UtcNow() override;
    std::wstring NewGuid() override;
};

class WindowsOpenDialog final : public OpenDialog {
public:
    WindowsOpenDialog() = default;
    WindowsOpenDialog(const WindowsOpenDialog&) = delete;
    WindowsOpenDialog& operator=(const WindowsOpenDialog&) = delete;
    ~WindowsOpenDialog() override;
    PreviewResult Preview(bool list) override;

private:
    bool m_com = false;  // the dialog wants COM on the thread
};

// The classic Open dialog with its places bar (preview.cpp).
PreviewResult ShowOpenDialog(bool list);

}  // namespace lumbrake::cli::win
