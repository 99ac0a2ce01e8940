#pragma once
// The about box and the forum page it leads to.
#include <string>
#include <string_view>

namespace lumbrake {

// The author's addresses, in this one place.
inline constexpr std::wstring_view kAuthorEmail = L"quillon@example.com";
inline constexpr std::wstring_view kBlogAddress = L"http://blog.example.com/quillon";
inline constexpr std::wstring_view kForumAddress = L"http://forum.example.com/";

inline constexpr std::wstring_view kAboutCaption = L"About Quillon";
inline constexpr std::wstring_view kBrowserProgram = L"C:\\Program Files\\Internet Explorer\\IEXPLORE.exe";

std::wstring AboutText();

// The browser's command line: the program quoted, so that no C:\Program.exe
// can stand in for it, then the forum address.
std::wstring BrowserCommandLine();

}  // namespace lumbrake
