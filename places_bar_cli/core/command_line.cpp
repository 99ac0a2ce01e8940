#include "command_line.h"

#include "place_names.h"
#include "text.h"

#include <places_bar/places.h>

#include <algorithm>
#include <array>

namespace lumbrake::cli {

using platform::SameName;

namespace {

struct VerbName {
    std::wstring_view name;
    Verb verb;
    std::wstring_view options;  // the options it takes, each followed by a space
};

constexpr std::array<VerbName, 7> kVerbs = {{
    {L"show", Verb::Show, L"--json "},
    {L"check", Verb::Check, L"--json "},
    {L"set", Verb::Set, L"--dry-run --no-backup "},
    {L"backup", Verb::Backup, L""},
    {L"restore", Verb::Restore, L"--dry-run --no-backup "},
    {L"export", Verb::Export, L"--format --output "},
    {L"preview", Verb::Preview, L"--list "},
}};

bool IsHelp(std::wstring_view argument) { return argument == L"--help" || argument == L"-h" || argument == L"/?"; }

std::optional<UsageError> ReadConfiguration(const std::vector<std::wstring>& positional, Configuration& configuration) {
    if (positional.empty()) return UsageError{UsageProblem::MissingMode, {}};
    const std::wstring& mode = positional.front();
    if (SameName(mode, L"default")) configuration.mode = kModeSystemDefault;
    else if (SameName(mode, L"hidden")) configuration.mode = kModeNoPlacesBar;
    else if (SameName(mode, L"custom")) configuration.mode = kModeCustom;
    else return UsageError{UsageProblem::UnknownMode, mode};
    if (configuration.mode != kModeCustom) {
        if (positional.size() > 1) return UsageError{UsageProblem::ExtraArgument, positional[1]};
        return std::nullopt;
    }
    if (positional.size() < 2) return UsageError{UsageProblem::NoPlaces, {}};
    if (positional.size() > 1 + kSlotCount) return UsageError{UsageProblem::TooManyPlaces, positional[1 + kSlotCount]};
    for (std::size_t i = 1; i < positional.size(); ++i) {
        std::optional<std::wstring> text = SlotTextFor(positional[i]);
        if (!text) return UsageError{UsageProblem::UnknownPlace, positional[i]};
        configuration.slots[i - 1] = std::move(*text);
    }
    return std::nullopt;
}

}  // namespace

std::variant<Request, UsageError> ParseCommandLine(const std::vector<std::wstring>& arguments) {
    Request request;
    if (arguments.empty()) return UsageError{UsageProblem::NoCommand, {}};
    if (std::any_of(arguments.begin(), arguments.end(), IsHelp)) return request;
    if (arguments.front() == L"--version") {
        if (arguments.size() > 1) return UsageError{UsageProblem::ExtraArgument, arguments[1]};
        request.verb = Verb::Version;
        return request;
    }
    auto verb = std::find_if(kVerbs.begin(), kVerbs.end(), [&](const VerbName& v) { return SameName(v.name, arguments.front()); });
    if (verb == kVerbs.end()) return UsageError{UsageProblem::UnknownCommand, arguments.front()};
    request.verb = verb->verb;

    std::vector<std::wstring> positional;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (optionsEnded || !argument.starts_with(L"--")) {
            positional.push_back(argument);
            continue;
        }
        if (argument == L"--") {
            optionsEnded = true;
            continue;
        }
        // "--output FILE" or "--output=FILE".
        const std::size_t equals = argument.find(L'=');
        const std::wstring option = argument.substr(0, equals);
        std::optional<std::wstring> value;
        if (equals != std::wstring::npos) value = argument.substr(equals + 1);
        const bool known = option == L"--json" || option == L"--dry-run" || option == L"--no-backup" || option == L"--list" ||
                           option == L"--format" || option == L"--output";
        if (!known) return UsageError{UsageProblem::UnknownOption, argument};
        if (verb->options.find(option + L' ') == std::wstring_view::npos) return UsageError{UsageProblem::OptionNotHere, option};
        const bool takesValue = option == L"--format" || option == L"--output";
        if (takesValue && !value) {
            if (i + 1 == arguments.size()) return UsageError{UsageProblem::MissingOptionValue, option};
            value = arguments[++i];
        } else if (!takesValue && value) {
            return UsageError{UsageProblem::UnknownOption, argument};
        }
        if (option == L"--json") request.json = true;
        else if (option == L"--dry-run") request.dryRun = true;
        else if (option == L"--no-backup") request.noBackup = true;
        else if (option == L"--list") request.list = true;
        else if (option == L"--output") request.output = *value;
        else if (SameName(*value, L"gpp")) request.gpp = true;
        else if (!SameName(*value, L"reg")) return UsageError{UsageProblem::UnknownFormat, *value};
    }

    switch (request.verb) {
    case Verb::Backup:
    case Verb::Restore:
        if (positional.empty() || positional.front().empty()) return UsageError{UsageProblem::MissingFile, {}};
        if (positional.size() > 1) return UsageError{UsageProblem::ExtraArgument, positional[1]};
        request.file = positional.front();
        break;
    case Verb::Set:
    case Verb::Export:
        if (request.verb == Verb::Export && positional.empty()) break;
        if (auto error = ReadConfiguration(positional, request.configuration.emplace())) return *error;
        break;
    default:
        if (!positional.empty()) return UsageError{UsageProblem::ExtraArgument, positional.front()};
    }
    if (request.output && request.output->empty()) return UsageError{UsageProblem::MissingOptionValue, L"--output"};
    return request;
}

}  // namespace lumbrake::cli
