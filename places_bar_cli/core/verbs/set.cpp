#include "verbs.h"

#include "policy.h"

namespace lumbrake::cli {

// The window's apply, as a user would make it who started the window now
// and typed the given texts: a slot whose text is what it already shows
// keeps its value exactly. The plan is listed, the key backed up, the steps
// carried out, and the key read back and compared.
int Set(Session& session, const Request& request) {
    const Configuration& wanted = *request.configuration;
    const std::optional<Session::Current> current = session.ReadCurrent();
    if (!current) return kExitFailed;
    const KeyState& before = current->policy;
    Module1 module(session.host.registry, session.host.codePage);
    const Plan plan = PlanApply(BaseOf(current->reading), wanted.mode, ModeChoice::Chosen, wanted.slots, ReadNow(module));
    if (session.RefuseUnstorable(plan.steps)) return kExitFailed;
    if (!Simulate(before, session.host.codePage, plan.steps)) {
        session.Err(session.Confirmation(ApplyOutcome::Failed, wanted.mode));
        return kExitFailed;
    }
    if (plan.steps.empty()) {
        session.Out(session.Text(msg::kNothingToChange));
        return kExitDone;
    }
    session.ListChanges(plan.steps, request.dryRun);
    if (request.dryRun) return kExitDone;
    if (!session.SaveBackup(request, before)) return kExitFailed;

    const StepsReport report = session.RunSteps(plan.steps);
    // Read back: every difference from what the steps that landed were to
    // leave is a change that did not take. (A tidy-up that did not land,
    // such as the places key under a switch the dialogs obey, fails nothing.)
    std::vector<Step> landed;
    for (const StepResult& result : report.steps)
        if (result.landed) landed.push_back(result.step);
    const std::optional<KeyState> expected = Simulate(before, session.host.codePage, landed);
    const std::optional<KeyState> after = session.ReadPolicy();
    if (!after || !expected) return kExitFailed;
    if (!session.NamesNoDifference(*after, *expected) || !report.Confirmed()) {
        session.Err(session.Confirmation(ApplyOutcome::Failed, wanted.mode));
        return kExitFailed;
    }
    session.Out(session.Confirmation(ApplyOutcome::Confirmed, wanted.mode));
    return kExitDone;
}

}  // namespace lumbrake::cli
