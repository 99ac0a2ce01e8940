// Start-up time of Windows programs under the same Wine, taken in turns:
//   startup_time ROUNDS LABEL COMMAND [LABEL COMMAND...]
// Each start is timed from CreateProcess to the first visible top-level
// window of the process, painted and waiting for input; then the window is
// closed. Prints each program's median and fastest start, with their
// ratios to the first program's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

HWND VisibleWindowOf(DWORD processId) {
    Search search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A host path (starting with "/") as Wine's Z: drive sees it.
std::wstring WindowsCommand(std::wstring command) {
    if (!command.empty() && command.front() == L'/') {
        const auto end = command.find(L' ');
        for (std::size_t i = 0; i < std::min(end, command.size()); ++i)
            if (command[i] == L'/') command[i] = L'\\';
        command = L"Z:" + command;
    }
    return command;
}

// Milliseconds from start to a visible, idle window; negative on failure.
double TimeOneStart(const std::wstring& command) {
    std::wstring line = WindowsCommand(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
    HWND window = nullptr;
    const DWORD deadline = GetTickCount() + 30000;
    while (!(window = VisibleWindowOf(process.dwProcessId)) && GetTickCount() < deadline &&
           WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        Sleep(1);
    if (window) WaitForInputIdle(process.hProcess, 10000);
    QueryPerformanceCounter(&end);
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!window) return -1;
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fwprintf(stderr, L"usage: startup_time ROUNDS LABEL COMMAND [LABEL COMMAND...]\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));
    std::vector<std::wstring> labels, commands;
    for (int i = 2; i + 1 < argc; i += 2) {
        labels.push_back(argv[i]);
        commands.push_back(argv[i + 1]);
    }
    // One start each first, not counted: it fills the caches.
    for (const auto& command : commands) TimeOneStart(command);
    std::vector<std::vector<double>> times(commands.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            const double ms = TimeOneStart(commands[i]);
            if (ms < 0) {
                std::fwprintf(stderr, L"%ls did not show a window\n", labels[i].c_str());
                return 1;
            }
            times[i].push_back(ms);
        }
    }
    // The fastest start is the one least disturbed by whatever else the
    // machine was doing; it is printed beside the median.
    const double base = Median(times[0]);
    const double fastestBase = *std::min_element(times[0].begin(), times[0].end());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const double median = Median(times[i]);
        const double fastest = *std::min_element(times[i].begin(), times[i].end());
        std::wprintf(L"%-15ls median %6.1f ms (%.2fx), fastest %6.1f ms (%.2fx) over %d starts\n", labels[i].c_str(), median,
                     median / base, fastest, fastest / fastestBase, rounds);
    }
    std::wprintf(L"ratios are to %ls\n", labels[0].c_str());
    return 0;
}
