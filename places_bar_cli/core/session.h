#pragma once
// One run of a command over its host: the messages in the user's language,
// the two streams, and what several commands do alike (read the policy as
// the window reads it, list and carry out steps, keep a backup).
#include "command_line.h"
#include "host.h"
#include "json.h"
#include "key_tree.h"
#include "messages.h"

#include <places_bar/apply.h>
#include <places_bar/startup.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrake::cli {

class Session {
public:
    explicit Session(const Host& host) : host(host), m_chinese(host.console.Chinese()) {}

    const Host& host;

    bool Chinese() const { return m_chinese; }
    // A message in the user's language, "{0}"... filled in.
    std::wstring Text(const Message& message) const;
    std::wstring Text(const Message& message, std::initializer_list<std::wstring_view> arguments) const;

    // Standard output; what could not be written whole fails the command.
    void Write(std::wstring_view text);
    void Out(std::wstring_view line) { Write(std::wstring(line) + L"\n"); }
    void Print(const Json& json) { Write(json.Text()); }
    void WriteFile(std::string_view bytes, std::wstring_view text);
    bool OutputFailed() const { return m_outputFailed; }
    // What cannot be said on standard error cannot be said anywhere.
    void Err(std::wstring_view line);

    std::wstring ModeName(std::int16_t mode) const;
    static std::wstring_view ModeWord(std::int16_t mode);  // "default", "hidden", "custom"
    // "REG_SZ "C:\x"", or that it could not be read.
    std::wstring ValueText(const std::optional<platform::RegValue>& read) const;
    static std::wstring ValuePath(const std::wstring& keyPath, const std::wstring& name);
    static void JsonValue(Json& json, const platform::RegValue& value);
    std::wstring Describe(const Step& step) const;
    void ListChanges(const std::vector<Step>& steps, bool dryRun);
    // In Chinese, the window's own message box text.
    std::wstring Confirmation(ApplyOutcome outcome, std::int16_t mode) const;

    // What the window would show at start-up, or nothing after naming each
    // value or key that is there but could not be read.
    std::optional<PlacesReading> ReadShown();
    // The whole policy key, or nothing after saying why it cannot be read.
    std::optional<KeyState> ReadPolicy();
    // Both, or nothing after saying what could not be read.
    struct Current {
        PlacesReading reading;
        KeyState policy;
    };
    std::optional<Current> ReadCurrent();
    // Names each way the policy key read back differs from what was expected; whether none does.
    bool NamesNoDifference(const KeyState& after, const KeyState& expected);
    // Carries the steps out, naming each one that did not land.
    [[nodiscard]] StepsReport RunSteps(const std::vector<Step>& steps);
    // Saves the key as it is before the first change; false when it cannot.
    bool SaveBackup(const Request& request, const KeyState& before);
    // The texts that the steps would store through the code page and that it
    // cannot hold, named; true when there were any.
    bool RefuseUnstorable(const std::vector<Step>& steps);

private:
    bool m_chinese;
    bool m_outputFailed = false;
};

}  // namespace lumbrake::cli
