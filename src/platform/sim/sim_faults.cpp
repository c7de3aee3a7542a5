// Faults by plan: which family a call belongs to, the k-th call of it
// failing, and the power cut that keeps the disk and registry as they stood.
#include "platform/sim/sim_state.h"

#include <cstring>

namespace sim {

namespace {

// Calls that do not fail on Windows in any way the program could meet:
// closing what it opened, reading the clock, its own path (which fails
// only for a path too long, a machine set up so).
bool neverFails(const char* name) {
    for (const char* n : {"CloseHandle", "RegCloseKey", "GetTickCount", "GetModuleFileNameA",
                          "ToolhelpAvailable"})
        if (std::strcmp(name, n) == 0) return true;
    return false;
}

bool inFamily(const char* name, CallFamily family) {
    auto any = [name](std::initializer_list<const char*> names) {
        for (const char* n : names)
            if (std::strcmp(name, n) == 0) return true;
        return false;
    };
    switch (family) {
    case CallFamily::All: return true;
    case CallFamily::RegistryWrites:
        return any({"RegCreateKeyExA", "RegSetValueExA", "RegDeleteValueA", "RegDeleteKeyA"});
    case CallFamily::FileWrites:
        return any({"WriteFile", "MoveFileA", "MoveFileExA", "DeleteFileA", "SetFileAttributesA"});
    case CallFamily::Processes:
        return any({"CreateToolhelp32Snapshot", "Process32First", "Process32Next", "Module32First",
                    "OpenProcess", "GetExitCodeProcess", "TerminateProcess"});
    case CallFamily::Windows:
        return any({"GetWindow", "GetWindowTextA", "FindWindowA", "SendMessageA", "PostMessageA"});
    case CallFamily::Dialogs: return any({"GetOpenFileNameA", "GetSaveFileNameA"});
    }
    return false;
}

}  // namespace

bool SimOs::State::log(const char* name, std::string args, std::string target) {
    calls.push_back({name, std::move(args), std::move(target)});
    if (cutPending) {
        cutPending = false;
        cut = storedNow();
    }
    if (!plan.at || cut || cutPending || neverFails(name) || !inFamily(name, plan.family)) return false;
    plannedNames.push_back(name);
    ++planned;
    if (planned != plan.at && planned != plan.alsoAt) return false;
    if (!faulted) faultedCall = name;
    faulted = true;
    faults.push_back(calls.back());
    if (!plan.powerCut) return true;
    cutPending = true;
    return false;
}

std::shared_ptr<const StoredState> SimOs::State::storedNow() const {
    auto s = std::make_shared<StoredState>();
    s->files = files;
    s->hive = hive;
    return s;
}

void SimOs::setFaultPlan(const FaultPlan& plan) {
    s_->plan = plan;
    s_->planned = 0;
    s_->plannedNames.clear();
    s_->faulted = false;
    s_->faultedCall.clear();
    s_->faults.clear();
    s_->cut.reset();
    s_->cutPending = false;
}

std::uint64_t SimOs::plannedCalls() const { return s_->planned; }

bool SimOs::faultHappened() const { return s_->faulted; }

const std::string& SimOs::faultedCall() const { return s_->faultedCall; }

const std::vector<Call>& SimOs::faultedCalls() const { return s_->faults; }

const std::vector<std::string>& SimOs::plannedCallNames() const { return s_->plannedNames; }

// FNERR_BUFFERTOOSMALL: the dialog closed on the user's choice but could not
// hand it back, the failure that looks most like a choice.
std::uint32_t SimOs::fileDialog(bool save) {
    return s_->log(save ? "GetSaveFileNameA" : "GetOpenFileNameA", "") ? 0x3003u : 0u;
}

std::shared_ptr<const StoredState> SimOs::stored() const {
    if (s_->cut) return s_->cut;
    return s_->storedNow();
}

void SimOs::restore(const StoredState& state) {
    s_->files = state.files;
    s_->hive = state.hive;
    s_->keys.clear();
}

}  // namespace sim
