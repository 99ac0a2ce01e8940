#include <places_bar/execute.h>

#include <algorithm>

namespace lumbrake {

using namespace platform;

namespace {

long AbsentIsDone(long rc) { return rc == kErrorFileNotFound ? kErrorSuccess : rc; }

long RunStep(Module1& module, const Step& step) {
    Registry& registry = module.Registry();
    UniqueRegKey key(registry);
    switch (step.kind) {
    case Step::Kind::CreateKey:
        if (!step.exact) return module.CreateKey(kHkeyCurrentUser, step.keyPath);
        return registry.CreateKeyExW(kHkeyCurrentUser, step.keyPath, kKeyQueryValue, key.put());
    case Step::Kind::SetValue:
        if (!step.exact) {
            if (const std::optional<std::uint32_t> number = DwordOf(step.after))
                return module.SetKeyValue(kHkeyCurrentUser, step.keyPath, step.valueName, static_cast<std::int32_t>(*number), kRegDword);
            return module.SetKeyValue(kHkeyCurrentUser, step.keyPath, step.valueName, StringOf(step.after), kRegSz);
        }
        if (long rc = registry.OpenKeyExW(kHkeyCurrentUser, step.keyPath, kKeySetValue, key.put()); rc != kErrorSuccess) return rc;
        return SetValueExactly(registry, key.get(), step.valueName, step.after);
    case Step::Kind::DeleteValue:
        if (!step.exact) return AbsentIsDone(module.DeleteKeyValue(kHkeyCurrentUser, step.keyPath, step.valueName));
        if (long rc = registry.OpenKeyExW(kHkeyCurrentUser, step.keyPath, kKeySetValue, key.put()); rc != kErrorSuccess) return AbsentIsDone(rc);
        return AbsentIsDone(registry.DeleteValueW(key.get(), step.valueName));
    case Step::Kind::DeleteKey:
        if (!step.exact) return AbsentIsDone(module.DeleteKey(kHkeyCurrentUser, step.keyPath));
        return DeleteTree(registry, kHkeyCurrentUser, step.keyPath);
    case Step::Kind::DeleteEmptyKey: {
        // Other policies kept in the key (an administrator's, another
        // program's) keep it, even ones written since the plan was made.
        std::uint32_t subKeys = 0, values = 0;
        if (long rc = registry.OpenKeyExW(kHkeyCurrentUser, step.keyPath, kKeyRead, key.put()); rc != kErrorSuccess) return AbsentIsDone(rc);
        if (long rc = registry.QueryInfoKey(key.get(), &subKeys, &values); rc != kErrorSuccess) return rc;
        key.reset();
        return subKeys == 0 && values == 0 ? AbsentIsDone(module.DeleteKey(kHkeyCurrentUser, step.keyPath)) : kErrorSuccess;
    }
    }
    return kErrorInvalidParameter;
}

}  // namespace

bool StepsReport::Confirmed() const {
    return std::all_of(steps.begin(), steps.end(), [](const StepResult& result) { return result.landed || result.step.tidyUp; });
}

StepsReport Execute(Module1& module, const std::vector<Step>& steps) {
    StepsReport report;
    report.steps.reserve(steps.size());
    for (const Step& step : steps) {
        const bool afterALanding = report.steps.empty() || report.steps.back().landed;
        StepResult& result = report.steps.emplace_back(StepResult{step});
        if (step.tidyUp && !afterALanding) continue;
        result.code = RunStep(module, step);
        result.landed = result.code == kErrorSuccess;
    }
    return report;
}

}  // namespace lumbrake
