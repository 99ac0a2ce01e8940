#include "about.h"

namespace lumbrake {

std::wstring AboutText() {
    std::wstring text;
    text += L"XP对话框Lumbrake----Orvane专用版\r\n\n";
    text += L" 作者简介：\r\n\n";
    text += L" Name:Quillon\r\n";
    text += L" Email:" + std::wstring(kAuthorEmail) + L"\r\n";
    text += L" Blog:" + std::wstring(kBlogAddress) + L"\r\n";
    return text;
}

std::wstring BrowserCommandLine() {
    return L"\"" + std::wstring(kBrowserProgram) + L"\" " + std::wstring(kForumAddress);
}

}  // namespace lumbrake
