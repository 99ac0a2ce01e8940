#pragma once
// Just enough JSON for the reports: objects, arrays, strings, numbers,
// booleans and null, indented by two spaces. Written as text, like every
// other output (UTF-8 into files and pipes).
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

class Json {
public:
    Json& Object();
    Json& Array();
    Json& End();
    Json& Key(std::string_view name);  // keys are English words
    Json& String(std::wstring_view text);
    Json& Number(long long number);
    Json& Bool(bool value);
    Json& Null();
    // The document, with a line break after it.
    std::wstring Text() const { return m_out + L"\n"; }

private:
    void BeforeValue();
    void NewLine();

    std::wstring m_out;
    struct Open {
        wchar_t close;
        bool empty;
    };
    std::vector<Open> m_open;
    bool m_afterKey = false;
};

}  // namespace lumbrake::cli
