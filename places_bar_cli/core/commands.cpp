#include "commands.h"

#include "session.h"
#include "verbs/verbs.h"

#include <iterator>

#ifndef LUMBRAKE_VERSION
#define LUMBRAKE_VERSION "0"
#endif

namespace lumbrake::cli {

namespace {

std::wstring Usage(const Session& session, const UsageError& error) {
    static constexpr const Message* kTexts[] = {
        &msg::kNoCommand,   &msg::kUnknownCommand, &msg::kUnknownOption, &msg::kOptionNotHere, &msg::kMissingOptionValue,
        &msg::kUnknownFormat, &msg::kMissingFile,  &msg::kExtraArgument, &msg::kMissingMode,   &msg::kUnknownMode,
        &msg::kNoPlaces,    &msg::kTooManyPlaces,  &msg::kUnknownPlace,
    };
    static_assert(std::size(kTexts) == static_cast<std::size_t>(UsageProblem::UnknownPlace) + 1, "one text per problem");
    return session.Text(*kTexts[static_cast<int>(error.problem)], {error.detail});
}

int Command(Session& session, const std::vector<std::wstring>& arguments) {
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        session.Err(Usage(session, *error));
        static_cast<void>(session.host.console.Write(Stream::Err, session.Text(msg::kSeeHelp)));
        return kExitUsage;
    }
    const Request& request = std::get<Request>(parsed);
    switch (request.verb) {
    case Verb::Help: session.Write(session.Text(msg::kUsage)); return kExitDone;
    case Verb::Version: session.Out(L"lumbrake-cli " LUMBRAKE_VERSION); return kExitDone;
    case Verb::Show: return Show(session, request);
    case Verb::Check: return Check(session, request);
    case Verb::Set: return Set(session, request);
    case Verb::Backup: return Backup(session, request);
    case Verb::Restore: return Restore(session, request);
    case Verb::Export: return Export(session, request);
    case Verb::Preview: return Preview(session, request);
    }
    return kExitFailed;
}

}  // namespace

// An output that could not be written whole is a failure, whatever the
// command did: a script would take a cut file for the whole one.
int Run(const std::vector<std::wstring>& arguments, const Host& host) {
    Session session(host);
    const int code = Command(session, arguments);
    if (!session.OutputFailed()) return code;
    session.Err(session.Text(msg::kOutputFailed));
    return code == kExitDone ? kExitFailed : code;
}

}  // namespace lumbrake::cli
