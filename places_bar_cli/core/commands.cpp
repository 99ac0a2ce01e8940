#include "commands.h"

#include "command_line.h"
#include "json.h"
#include "messages.h"
#include "place_names.h"
#include "policy.h"
#include "text.h"

#include <places_bar/startup.h>
#include <platform/ansi.h>
#include <platform/reg_value.h>

#include <algorithm>
#include <iterator>

#ifndef LUMBRAKE_VERSION
#define LUMBRAKE_VERSION "0"
#endif

namespace lumbrake::cli {

using namespace platform;

namespace {

std::wstring Decimal(long long number) { return std::to_wstring(number); }

class Commands {
public:
    explicit Commands(Host& host) : m_host(host), m_chinese(host.Chinese()) {}

    // An output that could not be written whole is a failure, whatever the
    // command did: a script would take a cut file for the whole one.
    int Run(const std::vector<std::wstring>& arguments) {
        const int code = Command(arguments);
        if (!m_outputFailed) return code;
        Err(T(msg::kOutputFailed));
        return code == kExitDone ? kExitFailed : code;
    }

private:
    int Command(const std::vector<std::wstring>& arguments) {
        const auto parsed = ParseCommandLine(arguments);
        if (const auto* error = std::get_if<UsageError>(&parsed)) {
            Err(Usage(*error));
            static_cast<void>(m_host.Write(Stream::Err, T(msg::kSeeHelp)));
            return kExitUsage;
        }
        const Request& request = std::get<Request>(parsed);
        switch (request.verb) {
        case Verb::Help: Write(T(msg::kUsage)); return kExitDone;
        case Verb::Version: Out(L"lumbrake-cli " LUMBRAKE_VERSION); return kExitDone;
        case Verb::Show: return Show(request);
        case Verb::Check: return Check(request);
        case Verb::Set: return Set(request);
        case Verb::Backup: return Backup(request);
        case Verb::Restore: return Restore(request);
        case Verb::Export: return Export(request);
        case Verb::Preview: return Preview(request);
        }
        return kExitFailed;
    }

    std::wstring T(const Message& message) const { return std::wstring(m_chinese ? message.chinese : message.english); }
    std::wstring F(const Message& message, std::initializer_list<std::wstring_view> arguments) const { return Format(T(message), arguments); }
    void Write(std::wstring_view text) { m_outputFailed |= !m_host.Write(Stream::Out, text); }
    void Out(std::wstring_view line) { Write(std::wstring(line) + L"\n"); }
    // What cannot be said on standard error cannot be said anywhere.
    void Err(std::wstring_view line) { static_cast<void>(m_host.Write(Stream::Err, std::wstring(line) + L"\n")); }
    void Print(const Json& json) { Write(json.Text()); }

    std::wstring Usage(const UsageError& error) const {
        static constexpr const Message* kTexts[] = {
            &msg::kNoCommand,   &msg::kUnknownCommand, &msg::kUnknownOption, &msg::kOptionNotHere, &msg::kMissingOptionValue,
            &msg::kUnknownFormat, &msg::kMissingFile,  &msg::kExtraArgument, &msg::kMissingMode,   &msg::kUnknownMode,
            &msg::kNoPlaces,    &msg::kTooManyPlaces,  &msg::kUnknownPlace,
        };
        static_assert(std::size(kTexts) == static_cast<std::size_t>(UsageProblem::UnknownPlace) + 1, "one text per problem");
        return F(*kTexts[static_cast<int>(error.problem)], {error.detail});
    }

    std::wstring ModeName(std::int16_t mode) const {
        return T(mode == kModeNoPlacesBar ? msg::kModeHidden : mode == kModeCustom ? msg::kModeCustom : msg::kModeDefault);
    }
    static std::wstring_view ModeWord(std::int16_t mode) {
        return mode == kModeNoPlacesBar ? L"hidden" : mode == kModeCustom ? L"custom" : L"default";
    }

    std::wstring ValueText(const std::optional<RegValue>& read) const {
        if (!read) return T(msg::kUnreadable);
        const RegValue& value = *read;
        std::wstring data = DataText(value.type, value.data);
        if (IsTextType(value.type)) data = L"\"" + data + L"\"";
        else if (value.data.empty()) data = T(msg::kEmpty);
        return RegTypeName(value.type) + L" " + data;
    }
    static std::wstring ValuePath(const std::wstring& keyPath, const std::wstring& name) {
        return L"HKEY_CURRENT_USER\\" + keyPath + L"\\" + (name.empty() ? L"@" : name);
    }

    std::wstring Describe(const Step& step) const {
        const std::wstring key = L"HKEY_CURRENT_USER\\" + step.keyPath;
        const std::wstring value = ValuePath(step.keyPath, step.valueName);
        switch (step.kind) {
        case Step::Kind::CreateKey: return F(msg::kCreateKey, {key});
        case Step::Kind::DeleteKey: return F(step.exact ? msg::kDeleteKey : msg::kDeleteKeyAlone, {key});
        case Step::Kind::DeleteEmptyKey: return F(msg::kDeleteEmptyKey, {key});
        case Step::Kind::DeleteValue: return F(msg::kDeleteValue, {value, ValueText(step.before)});
        case Step::Kind::SetValue:
            if (step.before) return F(msg::kReplaceValue, {value, ValueText(step.after), ValueText(step.before)});
            return F(msg::kSetValue, {value, ValueText(step.after)});
        }
        return {};
    }

    void ListChanges(const std::vector<Step>& steps, bool dryRun) {
        Out(T(dryRun ? msg::kWouldChange : msg::kChanges));
        for (const Step& step : steps) Out(L"  " + Describe(step));
    }

    // Carries the steps out, naming each one that failed; true when all were done.
    bool RunSteps(const std::vector<Step>& steps) {
        Module1 module(m_host.Registry(), m_host.CodePage());
        const StepsReport report = Execute(module, steps);
        for (const StepResult& result : report.steps)
            if (!result.landed && !result.step.tidyUp) Err(F(msg::kNotDone, {Describe(result.step), m_host.ErrorText(result.code)}));
        return report.Confirmed();
    }

    // What the window would show at start-up, or nothing after naming each
    // value or key that is there but could not be read.
    std::optional<PlacesReading> ReadShown() {
        Module1 module(m_host.Registry(), m_host.CodePage());
        PlacesReading reading = ReadPlaces(module);
        for (const ReadFailure& failure : reading.failures)
            Err(F(msg::kCannotRead, {L"HKEY_CURRENT_USER\\" + failure.keyPath + (failure.valueName.empty() ? L"" : L"\\" + failure.valueName),
                                     m_host.ErrorText(failure.error)}));
        if (!reading.failures.empty()) return std::nullopt;
        return reading;
    }

    // The whole policy key, or nothing after saying why it cannot be read.
    std::optional<KeyState> ReadPolicy() {
        ReadOutcome read = ReadKeyTree(m_host.Registry(), kHkeyCurrentUser, kPolicyPath);
        if (read.rc == kErrorSuccess) return std::move(read.state);
        Err(F(msg::kCannotRead, {L"HKEY_CURRENT_USER\\" + read.failedPath, m_host.ErrorText(read.rc)}));
        return std::nullopt;
    }

    // Saves the key as it is before the first change; false when it cannot.
    bool SaveBackup(const Request& request, const KeyState& before) {
        if (request.noBackup) return true;
        long error = 0;
        const std::optional<std::wstring> path = m_host.SaveBackup(RegFileBytes(SectionsOfTree(kPolicyFullPath, before, true)), error);
        if (!path) {
            Err(F(msg::kBackupFailed, {m_host.ErrorText(error)}));
            return false;
        }
        Out(F(msg::kBackupSaved, {*path}));
        return true;
    }

    // The texts that the plan would store through the code page and that it
    // cannot hold, named; true when there were any.
    bool RefuseUnstorable(const std::vector<Step>& steps) {
        bool refused = false;
        for (const Step& step : steps) {
            if (step.exact || step.kind != Step::Kind::SetValue || step.after.type != kRegSz) continue;
            if (m_host.CodePage().ToAnsi(StringOf(step.after))) continue;
            Err(F(msg::kNotInCodePage, {StringOf(step.after)}));
            refused = true;
        }
        return refused;
    }

    // --- show

    // The three labels of a slot, padded alike so that what follows them
    // lines up; a Chinese character takes two columns of a console.
    std::wstring Label(const Message& label) const {
        auto columns = [](std::wstring_view text) {
            std::size_t width = 0;
            for (wchar_t c : text) width += c >= 0x2E80 ? 2 : 1;
            return width;
        };
        std::size_t width = 0;
        for (const Message* each : {&msg::kShownAs, &msg::kStored, &msg::kMeans}) width = std::max(width, columns(T(*each)));
        const std::wstring text = T(label);
        return text + std::wstring(width - columns(text) + 2, L' ');
    }

    struct Meaning {
        std::wstring_view kind;
        std::wstring text;
    };

    Meaning MeaningOf(const NamedValue* stored) {
        if (!stored) return {L"empty", T(msg::kNothingStored)};
        const RegValue& value = stored->value;
        if (const std::optional<std::uint32_t> number = DwordOf(value)) {
            const auto id = static_cast<std::int32_t>(*number);
            if (const auto entry = EntryOfFolderId(id))
                return {L"folderId", F(msg::kFolderIdListed, {Decimal(id), kEnglishPlaceNames[*entry], ListedName(*entry)})};
            const Resolution found = m_host.ResolveFolderId(static_cast<std::uint32_t>(id));
            return {L"folderId", found.resolved ? F(msg::kFolderIdOther, {Decimal(id), found.displayName}) : F(msg::kFolderIdUnknown, {Decimal(id)})};
        }
        const std::wstring text = StringOf(value);
        if (IsTextType(value.type) && !HasControlCharacter(text)) return {L"path", F(msg::kFolderPath, {text})};
        return {L"other", F(msg::kNotAPlace, {RegTypeName(value.type)})};
    }

    struct OtherValue {
        std::wstring keyPath;
        const NamedValue* value;
    };

    // Everything in the policy key but the switch, the places key and its five slots.
    static void CollectOthers(const std::wstring& path, const KeyNode& node, int depth, std::vector<OtherValue>& values,
                              std::vector<std::wstring>& keys) {
        const bool places = depth == 1 && SameName(node.name, kPlacesName);
        if (depth == 1 && !places) keys.push_back(path);
        for (const NamedValue& value : node.values) {
            bool known = depth == 0 && SameName(value.name, kNoPlacesBar);
            for (int slot = 0; places && slot < kSlotCount; ++slot) known = known || SameName(value.name, ReadSlotValueName(slot));
            if (!known) values.push_back({path, &value});
        }
        for (const KeyNode& key : node.keys) {
            if (depth >= 1) keys.push_back(path + L"\\" + key.name);
            CollectOthers(path + L"\\" + key.name, key, depth + 1, values, keys);
        }
    }

    static void JsonValue(Json& json, const RegValue& value) {
        json.Object().Key("type").String(RegTypeName(value.type)).Key("data").String(DataText(value.type, value.data));
        json.Key("bytes").String(HexBytes(value.data)).End();
    }

    int Show(const Request& request) {
        const std::optional<PlacesReading> reading = ReadShown();
        if (!reading) return kExitFailed;
        const std::optional<KeyState> policy = ReadPolicy();
        if (!policy) return kExitFailed;
        const std::int16_t mode = reading->mode;
        const SlotTexts shownTexts = ShownTexts(*reading);
        std::vector<OtherValue> others;
        std::vector<std::wstring> otherKeys;
        if (*policy) CollectOthers(kPolicyFullPath, **policy, 0, others, otherKeys);
        const NamedValue* noPlacesBar = *policy ? (*policy)->FindValue(kNoPlacesBar) : nullptr;

        if (request.json) {
            Json json;
            json.Object().Key("mode").String(ModeWord(mode));
            json.Key("policyKey").String(kPolicyFullPath).Key("policyKeyExists").Bool(policy->has_value());
            json.Key("noPlacesBar");
            if (noPlacesBar) JsonValue(json, noPlacesBar->value);
            else json.Null();
            json.Key("slots").Array();
            for (int slot = 0; slot < kSlotCount; ++slot) {
                const NamedValue* stored = StoredPlace(*policy, slot);
                const Meaning meaning = MeaningOf(stored);
                json.Object().Key("value").String(ReadSlotValueName(slot)).Key("shown").String(shownTexts[static_cast<std::size_t>(slot)]);
                json.Key("stored");
                if (stored) JsonValue(json, stored->value);
                else json.Null();
                json.Key("kind").String(meaning.kind);
                json.Key("meaning").String(meaning.text).End();
            }
            json.End().Key("otherValues").Array();
            for (const OtherValue& other : others) {
                json.Object().Key("key").String(other.keyPath).Key("name").String(other.value->name).Key("value");
                JsonValue(json, other.value->value);
                json.End();
            }
            json.End().Key("otherKeys").Array();
            for (const std::wstring& key : otherKeys) json.String(key);
            json.End().End();
            Print(json);
            return kExitDone;
        }

        Out(F(msg::kPlacesBarIs, {ModeName(mode)}));
        Out(F(*policy ? msg::kPolicyKeyIs : msg::kPolicyKeyAbsent, {kPolicyFullPath}));
        if (noPlacesBar) Out(std::wstring(kNoPlacesBar) + L"  " + ValueText(noPlacesBar->value));
        const bool placesKey = *policy && (*policy)->FindKey(kPlacesName);
        if (placesKey) {
            Out({});
            for (int slot = 0; slot < kSlotCount; ++slot) {
                const NamedValue* stored = StoredPlace(*policy, slot);
                const std::wstring name = ReadSlotValueName(slot);
                if (!stored) {
                    Out(name + L"  " + T(msg::kNothingStored));
                    continue;
                }
                const std::wstring& shown = shownTexts[static_cast<std::size_t>(slot)];
                const std::wstring indent(name.size() + 2, L' ');
                Out(name + L"  " + Label(msg::kShownAs) + (shown.empty() ? T(msg::kEmpty) : shown));
                Out(indent + Label(msg::kStored) + ValueText(stored->value));
                Out(indent + Label(msg::kMeans) + MeaningOf(stored).text);
            }
            if (mode == kModeNoPlacesBar) Out(T(msg::kNotShownWhileHidden));
        }
        if (!others.empty() || !otherKeys.empty()) {
            Out({});
            Out(T(msg::kOtherValues));
            for (const OtherValue& other : others) Out(L"  " + other.keyPath + L"\\" + (other.value->name.empty() ? L"@" : other.value->name) + L" = " + ValueText(other.value->value));
            for (const std::wstring& key : otherKeys) Out(F(msg::kOtherKey, {key}));
        }
        return kExitDone;
    }

    // --- check

    // Why the dialogs leave a place out.
    std::wstring Reason(const PlaceCheck& check) {
        const std::wstring code = Hex32(static_cast<std::uint32_t>(check.found.code));
        switch (check.reason) {
        case DropReason::UnknownFolderId:
            return F(msg::kUnknownFolderId, {Decimal(static_cast<std::int32_t>(*DwordOf(check.stored))), code, m_host.ErrorText(check.found.code)});
        case DropReason::PathNotFound: return F(msg::kPathNotFound, {code, m_host.ErrorText(check.found.code)});
        case DropReason::WrongDwordSize: return F(msg::kWrongDwordSize, {Decimal(static_cast<long long>(check.stored.data.size()))});
        case DropReason::WrongType: return F(msg::kWrongType, {RegTypeName(check.stored.type)});
        case DropReason::None: break;
        }
        return {};
    }

    int Check(const Request& request) {
        const std::optional<PlacesReading> reading = ReadShown();
        if (!reading) return kExitFailed;
        const std::optional<KeyState> policy = ReadPolicy();
        if (!policy) return kExitFailed;
        const std::int16_t mode = reading->mode;

        std::array<StoredValue, kSlotCount> stored;
        for (int slot = 0; slot < kSlotCount; ++slot)
            if (const NamedValue* value = StoredPlace(*policy, slot)) stored[static_cast<std::size_t>(slot)] = {Presence::Present, value->value, 0};
        const std::vector<PlaceCheck> results = CheckPlaces(stored, m_host);
        std::size_t dropped = 0;
        for (const PlaceCheck& result : results) dropped += !result.found.resolved;

        if (request.json) {
            Json json;
            json.Object().Key("mode").String(ModeWord(mode));
            json.Key("places").Array();
            for (const PlaceCheck& result : results) {
                json.Object().Key("value").String(ReadSlotValueName(result.slot)).Key("stored");
                JsonValue(json, result.stored);
                json.Key("found").Bool(result.found.resolved);
                if (result.found.resolved) json.Key("shownAs").String(result.found.displayName);
                else json.Key("reason").String(Reason(result));
                json.End();
            }
            json.End().Key("dropped").Number(static_cast<long long>(dropped)).End();
            Print(json);
        } else {
            Out(F(msg::kPlacesBarIs, {ModeName(mode)}));
            if (results.empty()) Out(T(msg::kNoStoredPlaces));
            for (const PlaceCheck& result : results) {
                const std::wstring verdict =
                    result.found.resolved ? F(msg::kFound, {result.found.displayName}) : F(msg::kDropped, {Reason(result)});
                Out(ReadSlotValueName(result.slot) + L"  " + ValueText(result.stored) + L"  " + verdict);
            }
            if (!results.empty() && dropped == 0) Out(F(msg::kAllFound, {Decimal(static_cast<long long>(results.size()))}));
            if (dropped) Out(F(msg::kSomeDropped, {Decimal(static_cast<long long>(dropped)), Decimal(static_cast<long long>(results.size()))}));
        }
        return dropped ? kExitFailed : kExitDone;
    }

    // --- set

    // The window's apply, as a user would make it who started the window
    // now and typed the given texts: a slot whose text is what it already
    // shows keeps its value exactly. The plan is listed, the key backed up,
    // the steps carried out, and the key read back and compared.
    int Set(const Request& request) {
        const Configuration& wanted = *request.configuration;
        const std::optional<PlacesReading> reading = ReadShown();
        if (!reading) return kExitFailed;
        const std::optional<KeyState> before = ReadPolicy();
        if (!before) return kExitFailed;
        Module1 module(m_host.Registry(), m_host.CodePage());
        const Plan plan = PlanApply(BaseOf(*reading), wanted.mode, wanted.slots, ReadNow(module));
        if (RefuseUnstorable(plan.steps)) return kExitFailed;
        const std::optional<KeyState> expected = Simulate(*before, m_host.CodePage(), plan.steps);
        if (!expected) {
            Err(Confirmation(ApplyOutcome::Failed, wanted.mode));
            return kExitFailed;
        }
        if (plan.steps.empty()) {
            Out(T(msg::kNothingToChange));
            return kExitDone;
        }
        ListChanges(plan.steps, request.dryRun);
        if (request.dryRun) return kExitDone;
        if (!SaveBackup(request, *before)) return kExitFailed;

        const bool done = RunSteps(plan.steps);
        // Read back: every difference from what the steps were to leave is a
        // change that did not take.
        const std::optional<KeyState> after = ReadPolicy();
        if (!after) return kExitFailed;
        const std::vector<Step> missing = Diff(kPolicyPath, *after, *expected);
        for (const Step& step : missing) Err(F(msg::kNotAsExpected, {Describe(step)}));
        if (!done || !missing.empty()) {
            Err(Confirmation(ApplyOutcome::Failed, wanted.mode));
            return kExitFailed;
        }
        Out(Confirmation(ApplyOutcome::Confirmed, wanted.mode));
        return kExitDone;
    }

    // In Chinese, the window's own message box text.
    std::wstring Confirmation(ApplyOutcome outcome, std::int16_t mode) const {
        if (m_chinese) return std::wstring(MessageFor(outcome, mode).text);
        return outcome == ApplyOutcome::Confirmed ? F(msg::kSetDone, {ModeName(mode)}) : T(msg::kSetFailed);
    }

    // --- backup and restore

    int Backup(const Request& request) {
        const std::optional<KeyState> policy = ReadPolicy();
        if (!policy) return kExitFailed;
        if (long rc = m_host.WriteFile(request.file, RegFileBytes(SectionsOfTree(kPolicyFullPath, *policy, true))); rc != kErrorSuccess) {
            Err(F(msg::kCannotWriteFile, {request.file, m_host.ErrorText(rc)}));
            return kExitFailed;
        }
        Out(F(msg::kBackupWritten, {kPolicyFullPath, request.file}));
        if (!*policy) Out(T(msg::kBackupOfAbsentKey));
        return kExitDone;
    }

    std::wstring Problem(RegFileProblem problem) const {
        static constexpr const Message* kTexts[] = {
            &msg::kNotARegistryFile, &msg::kOddLength,    &msg::kNotInFileCodePage, &msg::kNulCharacter, &msg::kBadKeyLine,
            &msg::kValueWithoutKey,  &msg::kBadValueName, &msg::kBadEscape,         &msg::kBadData,      &msg::kUnknownLine,
        };
        static_assert(std::size(kTexts) == static_cast<std::size_t>(RegFileProblem::UnknownLine) + 1, "one text per problem");
        return T(*kTexts[static_cast<int>(problem)]);
    }

    int Restore(const Request& request) {
        long error = 0;
        const std::optional<std::string> bytes = m_host.ReadFile(request.file, error);
        if (!bytes) {
            Err(F(msg::kCannotReadFile, {request.file, m_host.ErrorText(error)}));
            return kExitUsage;
        }
        const auto parsed = ParseRegFile(*bytes, m_host.CodePage());
        if (const auto* bad = std::get_if<RegFileError>(&parsed)) {
            Err(F(msg::kBadFile, {request.file, Decimal(bad->line), Problem(bad->problem)}));
            return kExitUsage;
        }
        const std::vector<RegOperation>& operations = std::get<RegFile>(parsed).operations;
        if (operations.empty()) {
            Err(F(msg::kNoKeyInFile, {request.file}));
            return kExitUsage;
        }
        const auto target = StateAfter(kPolicyFullPath, operations);
        if (const auto* outside = std::get_if<KeyOutside>(&target)) {
            Err(F(msg::kOutsideKey, {request.file, Decimal(outside->line), outside->keyPath, kPolicyFullPath}));
            return kExitFailed;
        }
        const KeyState& wanted = std::get<KeyState>(target);
        const std::optional<KeyState> before = ReadPolicy();
        if (!before) return kExitFailed;
        const std::vector<Step> changes = Diff(kPolicyPath, *before, wanted);
        if (changes.empty()) {
            Out(F(msg::kAlreadyRestored, {request.file}));
            return kExitDone;
        }
        ListChanges(changes, request.dryRun);
        if (request.dryRun) return kExitDone;
        if (!SaveBackup(request, *before)) return kExitFailed;

        static_cast<void>(RunSteps(changes));
        const std::optional<KeyState> after = ReadPolicy();
        if (!after) return kExitFailed;
        const std::vector<Step> missing = Diff(kPolicyPath, *after, wanted);
        for (const Step& step : missing) Err(F(msg::kNotAsExpected, {Describe(step)}));
        if (!missing.empty()) {
            Err(F(msg::kRestoreFailed, {request.file}));
            return kExitFailed;
        }
        Out(F(msg::kRestored, {request.file}));
        return kExitDone;
    }

    // --- export and preview

    int Export(const Request& request) {
        std::int16_t mode = 0;
        KeyState policy;
        if (const auto& given = request.configuration) {
            // The apply on an empty registry: what `set` stores, exactly.
            const Plan onEmpty = PlanApply({}, given->mode, given->slots, RegistryNow{});
            if (RefuseUnstorable(onEmpty.steps)) return kExitFailed;
            std::optional<KeyState> stored = Simulate(std::nullopt, m_host.CodePage(), onEmpty.steps);
            if (!stored) {
                Err(Confirmation(ApplyOutcome::Failed, given->mode));
                return kExitFailed;
            }
            mode = given->mode;
            policy = std::move(*stored);
        } else {
            const std::optional<PlacesReading> reading = ReadShown();
            if (!reading) return kExitFailed;
            std::optional<KeyState> current = ReadPolicy();
            if (!current) return kExitFailed;
            mode = reading->mode;
            policy = std::move(*current);
        }
        const PlacesPolicy plan = PolicyOf(mode, policy);
        std::wstring text;
        std::string bytes;
        if (request.gpp) {
            const std::vector<GppItem> items = PolicyItems(plan);
            std::vector<std::wstring> uids;
            for (std::size_t i = 0; i < items.size(); ++i) uids.push_back(m_host.NewGuid());
            auto xml = RegistryXml(items, uids, m_host.UtcNow());
            if (const auto* unfit = std::get_if<GppUnfit>(&xml)) {
                Err(F(msg::kGppUnfit, {L"HKEY_CURRENT_USER\\" + unfit->keyPath, unfit->valueName}));
                return kExitFailed;
            }
            text = std::get<std::wstring>(xml);
            bytes = platform::ToUtf8(text);
        } else {
            const std::vector<RegSection> sections = PolicySections(plan);
            text = RegFileText(sections);
            bytes = RegFileBytes(sections);
        }
        if (!request.output) {
            m_outputFailed |= !m_host.WriteFileToOutput(bytes, text);
            return kExitDone;
        }
        if (long rc = m_host.WriteFile(*request.output, bytes); rc != kErrorSuccess) {
            Err(F(msg::kCannotWriteFile, {*request.output, m_host.ErrorText(rc)}));
            return kExitFailed;
        }
        Out(F(msg::kExportWritten, {*request.output}));
        return kExitDone;
    }

    int Preview(const Request& request) {
        const PreviewResult result = m_host.Preview(request.list);
        if (!result.opened) {
            Err(F(msg::kPreviewFailed, {m_host.ErrorText(result.error)}));
            return kExitFailed;
        }
        if (!request.list) return kExitDone;
        for (const std::wstring& place : result.places) Out(place);
        if (!result.placesBar) Err(T(msg::kNoPlacesBar));
        return kExitDone;
    }

    Host& m_host;
    bool m_chinese;
    bool m_outputFailed = false;
};

}  // namespace

int Run(const std::vector<std::wstring>& arguments, Host& host) { return Commands(host).Run(arguments); }

}  // namespace lumbrake::cli
