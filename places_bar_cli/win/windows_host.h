#pragma once
// The machine the commands run on: the registry of this session, its
// console or the file or pipe standard output goes to, the shell and COM.
#include "host.h"

namespace lumbrake::cli::win {

class WindowsHost final : public Host {
public:
    WindowsHost() = default;
    WindowsHost(const WindowsHost&) = delete;
    WindowsHost& operator=(const WindowsHost&) = delete;
    ~WindowsHost() override;

    platform::Registry& Registry() override;
    const platform::AnsiCodePage& CodePage() override;
    bool Chinese() override;
    bool Write(Stream stream, std::wstring_view text) override;
    bool WriteFileToOutput(std::string_view bytes, std::wstring_view text) override;
    std::optional<std::string> ReadFile(const std::wstring& path, long& error) override;
    long WriteFile(const std::wstring& path, std::string_view bytes) override;
    std::optional<std::wstring> SaveBackup(std::string_view bytes, long& error) override;
    Resolution ResolveFolderId(std::uint32_t folderId) override;
    Resolution ResolvePath(const std::wstring& text) override;
    PreviewResult Preview(bool list) override;
    std::wstring ErrorText(long code) override;
    std::wstring NewGuid() override;
    std::wstring UtcNow() override;

private:
    // The shell wants COM on the thread; started at its first use.
    void StartCom();
    bool m_com = false;
};

// The classic Open dialog with its places bar (preview.cpp).
PreviewResult ShowOpenDialog(bool list);

}  // namespace lumbrake::cli::win
