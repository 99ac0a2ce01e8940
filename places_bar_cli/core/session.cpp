#include "session.h"

#include "policy.h"
#include "reg_file.h"
#include "text.h"

#include <platform/reg_value.h>

namespace lumbrake::cli {

using namespace platform;

std::wstring Session::Text(const Message& message) const { return std::wstring(m_chinese ? message.chinese : message.english); }

std::wstring Session::Text(const Message& message, std::initializer_list<std::wstring_view> arguments) const {
    return Format(Text(message), arguments);
}

void Session::Write(std::wstring_view text) { m_outputFailed |= !host.console.Write(Stream::Out, text); }

void Session::WriteFile(std::string_view bytes, std::wstring_view text) { m_outputFailed |= !host.console.WriteFileToOutput(bytes, text); }

void Session::Err(std::wstring_view line) { static_cast<void>(host.console.Write(Stream::Err, std::wstring(line) + L"\n")); }

std::wstring Session::ModeName(std::int16_t mode) const {
    return Text(mode == kModeNoPlacesBar ? msg::kModeHidden : mode == kModeCustom ? msg::kModeCustom : msg::kModeDefault);
}

std::wstring_view Session::ModeWord(std::int16_t mode) {
    return mode == kModeNoPlacesBar ? L"hidden" : mode == kModeCustom ? L"custom" : L"default";
}

std::wstring Session::ValueText(const std::optional<RegValue>& read) const {
    if (!read) return Text(msg::kUnreadable);
    const RegValue& value = *read;
    std::wstring data = DataText(value.type, value.data);
    if (IsTextType(value.type)) data = L"\"" + data + L"\"";
    else if (value.data.empty()) data = Text(msg::kEmpty);
    return RegTypeName(value.type) + L" " + data;
}

std::wstring Session::ValuePath(const std::wstring& keyPath, const std::wstring& name) {
    return L"HKEY_CURRENT_USER\\" + keyPath + L"\\" + (name.empty() ? L"@" : name);
}

void Session::JsonValue(Json& json, const RegValue& value) {
    json.Object().Key("type").String(RegTypeName(value.type)).Key("data").String(DataText(value.type, value.data));
    json.Key("bytes").String(HexBytes(value.data)).End();
}

std::wstring Session::Describe(const Step& step) const {
    const std::wstring key = L"HKEY_CURRENT_USER\\" + step.keyPath;
    const std::wstring value = ValuePath(step.keyPath, step.valueName);
    switch (step.kind) {
    case Step::Kind::CreateKey: return Text(msg::kCreateKey, {key});
    case Step::Kind::DeleteKey: return Text(step.exact ? msg::kDeleteKey : msg::kDeleteKeyAlone, {key});
    case Step::Kind::DeleteEmptyKey: return Text(msg::kDeleteEmptyKey, {key});
    case Step::Kind::DeleteValue: return Text(msg::kDeleteValue, {value, ValueText(step.before)});
    case Step::Kind::SetValue:
        if (step.before) return Text(msg::kReplaceValue, {value, ValueText(step.after), ValueText(step.before)});
        return Text(msg::kSetValue, {value, ValueText(step.after)});
    }
    return {};
}

void Session::ListChanges(const std::vector<Step>& steps, bool dryRun) {
    Out(Text(dryRun ? msg::kWouldChange : msg::kChanges));
    for (const Step& step : steps) Out(L"  " + Describe(step));
}

std::wstring Session::Confirmation(ApplyOutcome outcome, std::int16_t mode) const {
    if (m_chinese) return std::wstring(MessageFor(outcome, mode).text);
    return outcome == ApplyOutcome::Confirmed ? Text(msg::kSetDone, {ModeName(mode)}) : Text(msg::kSetFailed);
}

std::optional<PlacesReading> Session::ReadShown() {
    Module1 module(host.registry, host.codePage);
    PlacesReading reading = ReadPlaces(module);
    for (const ReadFailure& failure : reading.failures)
        Err(Text(msg::kCannotRead, {L"HKEY_CURRENT_USER\\" + failure.keyPath + (failure.valueName.empty() ? L"" : L"\\" + failure.valueName),
                                    host.console.ErrorText(failure.error)}));
    if (!reading.failures.empty()) return std::nullopt;
    return reading;
}

std::optional<KeyState> Session::ReadPolicy() {
    ReadOutcome read = ReadKeyTree(host.registry, kHkeyCurrentUser, kPolicyPath);
    if (read.rc == kErrorSuccess) return std::move(read.state);
    Err(Text(msg::kCannotRead, {L"HKEY_CURRENT_USER\\" + read.failedPath, host.console.ErrorText(read.rc)}));
    return std::nullopt;
}

std::optional<Session::Current> Session::ReadCurrent() {
    std::optional<PlacesReading> reading = ReadShown();
    if (!reading) return std::nullopt;
    std::optional<KeyState> policy = ReadPolicy();
    if (!policy) return std::nullopt;
    return Current{std::move(*reading), std::move(*policy)};
}

StepsReport Session::RunSteps(const std::vector<Step>& steps) {
    Module1 module(host.registry, host.codePage);
    StepsReport report = Execute(module, steps);
    for (const StepResult& result : report.steps)
        if (!result.landed && !result.step.tidyUp) Err(Text(msg::kNotDone, {Describe(result.step), host.console.ErrorText(result.code)}));
    return report;
}

bool Session::NamesNoDifference(const KeyState& after, const KeyState& expected) {
    const std::vector<Step> missing = Diff(kPolicyPath, after, expected);
    for (const Step& step : missing) Err(Text(msg::kNotAsExpected, {Describe(step)}));
    return missing.empty();
}

bool Session::SaveBackup(const Request& request, const KeyState& before) {
    if (request.noBackup) return true;
    long error = 0;
    const std::optional<std::wstring> path = host.files.SaveBackup(RegFileBytes(SectionsOfTree(kPolicyFullPath, before, true)), error);
    if (!path) {
        Err(Text(msg::kBackupFailed, {host.console.ErrorText(error)}));
        return false;
    }
    Out(Text(msg::kBackupSaved, {*path}));
    return true;
}

bool Session::RefuseUnstorable(const std::vector<Step>& steps) {
    bool refused = false;
    for (const Step& step : steps) {
        if (step.exact || step.kind != Step::Kind::SetValue || step.after.type != kRegSz) continue;
        if (host.codePage.ToAnsi(StringOf(step.after))) continue;
        Err(Text(msg::kNotInCodePage, {StringOf(step.after)}));
        refused = true;
    }
    return refused;
}

}  // namespace lumbrake::cli
