#pragma once
// What the command line asks for, checked before anything is read or written.
#include <places_bar/apply.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lumbrake::cli {

enum class Verb { Help, Version, Show, Check, Set, Backup, Restore, Export, Preview };

// A mode and, in the custom mode, the slot texts as the window would hold them.
struct Configuration {
    std::int16_t mode = 0;
    SlotTexts slots;
};

struct Request {
    Verb verb = Verb::Help;
    bool json = false;
    bool dryRun = false;
    bool noBackup = false;
    bool list = false;
    bool gpp = false;
    std::optional<std::wstring> output;
    std::wstring file;                           // backup, restore
    std::optional<Configuration> configuration;  // set, and export when given
};

enum class UsageProblem {
    NoCommand,
    UnknownCommand,
    UnknownOption,
    OptionNotHere,
    MissingOptionValue,
    UnknownFormat,
    MissingFile,
    ExtraArgument,
    MissingMode,
    UnknownMode,
    NoPlaces,
    TooManyPlaces,
    UnknownPlace,
};

struct UsageError {
    UsageProblem problem;
    std::wstring detail;  // the argument at fault
};

// The arguments after the program's name.
std::variant<Request, UsageError> ParseCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace lumbrake::cli
