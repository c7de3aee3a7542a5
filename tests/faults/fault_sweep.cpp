// Every platform call failing in turn: each user action is run once to count
// the calls it makes, then once more for every call with that one failing,
// for every pair of calls with both failing, and with the power cut right
// after each call (the next start, and a close after it, then run on what
// was kept, with each of their calls failing in turn). A step of a process,
// module or window walk fails with each code Windows gives besides the end
// of the list. What the user is left with is checked after every run.
//   fault_sweep          every call and every pair of the small scenarios, a
//                        fixed sample of the big ones (make test)
//   fault_sweep --all    every call and every pair of every scenario (make faults)
//   --family NAME        only calls of that family fail: registry-writes,
//                        file-writes, processes, windows, dialogs, all (the default)
//   --verbose            every violation, not the first few of each row
// Prints one table row per scenario; exits 1 when any run broke a rule.
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "base/text.h"
#include "platform/sim/sim_state.h"
#include "unit/app_fixture.h"

// Scenarios name only the parts they use.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using sim::Family;
const platform::HKey HKCU = platform::RootKey::CurrentUser;
const platform::HKey HKLM = platform::RootKey::LocalMachine;
const char* const kSettings = "Software\\Zentrek";
const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char* const kList = "C:\\Morvane\\Napplst.dat";
const char* const kUserList = "C:\\Lists\\list.txt";
constexpr std::uint32_t kTray = 0x0464;

// A user action on a machine set up for it.
struct Scenario {
    std::string name;
    Family family = Family::NT;
    std::function<void(sim::SimOs&)> setup;
    // After the start and before the action; not counted.
    std::function<void(AppFixture&, TfrmMain&)> prepare;
    // The action itself; null: the start is the action.
    std::function<void(AppFixture&, TfrmMain&)> action;
    bool endsProgram = false;      // the action may end the program
    bool passwordStays = false;    // the panel is up before and must stay
    bool silent = false;           // by design the action shows no box
    bool countStart = false;       // the start comes first in the action: its calls count too
};

// Everything that outlives the program, one text per item.
using Stored = std::map<std::string, std::string>;

bool endsWith(const std::string& s, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// The replacement's own files (the new text before its rename, the old one
// put aside on Windows 95 to Me) are no stored item of their own; a file
// put aside stands for the one it was, as the next start reads it.
Stored flatten(const sim::StoredState& s) {
    Stored out;
    for (const auto& [path, f] : s.files) {
        if (f.directory || endsWith(path, "~new")) continue;
        if (!endsWith(path, "~old")) out["file " + path] = f.bytes;
        else if (!s.files.count(path.substr(0, path.size() - 4))) out["file " + path.substr(0, path.size() - 4)] = f.bytes;
    }
    for (const auto& [root, keys] : s.hive)
        for (const auto& [id, key] : keys)
            for (const auto& [name, v] : key.values)
                out["value " + std::to_string(root) + "\\" + id + "\\" + name] =
                    std::to_string(v.type) + ":" + v.data;
    return out;
}

using Lines = std::vector<std::string>;

struct Outcome {
    std::uint64_t calls = 0;
    std::vector<std::string> callNames;  // the family's calls, in order
    std::vector<sim::Call> faults;       // the calls that failed (or the cut's)
    Stored before, after;
    bool told = false;                // a box that is no question was shown during the action
    std::vector<std::string> broken;  // the rules this run broke
    std::shared_ptr<const sim::StoredState> cut;
    std::optional<Lines> allowAtStart;  // List3 as start-up left it, when the start counted
    Lines processesBefore, processesAfter, windowsBefore, windowsAfter;  // List1, List2
    std::set<std::uint32_t> ended;      // the processes ended during the action
};

bool isWalkStep(const std::string& call) {
    return call == "Process32First" || call == "Process32Next" || call == "Module32First" ||
           call == "GetWindow";
}

// A step of a walk that is taken again whole when it fails (a module list
// that cannot be read has a stand-in instead).
bool isRetriedWalkStep(const std::string& call) { return isWalkStep(call) && call != "Module32First"; }

// The codes a walk step fails with on Windows, besides the end of the list.
const std::uint32_t kWalkErrors[] = {platform::Error::AccessDenied, platform::Error::NotEnoughMemory,
                                     platform::Error::GeneralFailure};

void baseMachine(sim::SimOs& m, Family family) {
    const bool nt = family == Family::NT;
    m.addProcess(nt ? "[System Process]" : "C:\\WINDOWS\\KERNEL32.DLL");
    m.addProcess(nt ? "Morvane.exe" : "C:\\MORVANE\\MORVANE.EXE", nt ? "C:\\Morvane\\Morvane.exe" : "");
    m.addProcess(nt ? "editor.exe" : "C:\\APPS\\EDITOR.EXE", nt ? "C:\\Apps\\editor.exe" : "");
    m.addProcess(nt ? "tool.exe" : "C:\\APPS\\TOOL.EXE", nt ? "C:\\Apps\\tool.exe" : "");
    m.addWindow("Editor");
    m.addWindow("Tool window");
    m.addDirectory("C:\\Lists");
    m.addFile(kList, "OLD.EXE\r\nKEEP.EXE\r\n");
    m.addFile(kUserList, "A.EXE\r\nB.EXE\r\n");
    m.setString(HKCU, kSettings, "KillTime", "5");
    m.setString(HKLM, kRun, "Theirs", "theirs.exe");
    m.setString(HKLM, kRun, "Other", "other.exe /q");
    m.setString(HKLM, kOnce, "Setup", "setup.exe");
}

Outcome runOnce(const Scenario& sc, const sim::FaultPlan& plan,
                const std::shared_ptr<const sim::StoredState>& startFrom = nullptr) {
    Outcome o;
    AppFixture f(sc.family);
    baseMachine(f.machine, sc.family);
    if (sc.setup) sc.setup(f.machine);
    if (startFrom) f.machine.restore(*startFrom);
    const bool startCounts = !sc.action || sc.countStart;
    std::size_t shown = 0;
    bool counting = false;
    f.machine.onTerminate([&](sim::SimOs&, const sim::Process& p) {
        if (counting) o.ended.insert(p.id);
    });
    TfrmMain* w = nullptr;
    try {
        if (startCounts) {
            o.before = flatten(*f.machine.stored());
            counting = true;
            f.machine.setFaultPlan(plan);
            w = &f.start();
            o.allowAtStart = w->restriction.List3.items();
        } else {
            w = &f.start();
            if (sc.prepare) sc.prepare(f, *w);
            shown = f.application.messages().size();
            o.before = flatten(*f.machine.stored());
            o.processesBefore = w->process.List1.items();
            o.windowsBefore = w->window.List2.items();
            counting = true;
            f.machine.setFaultPlan(plan);
        }
        if (sc.action) sc.action(f, *w);
    } catch (const std::exception& e) {
        o.broken.push_back(std::string("an exception escaped: ") + e.what());
    } catch (...) {
        o.broken.push_back("an exception escaped");
    }
    o.calls = f.machine.plannedCalls();
    o.callNames = f.machine.plannedCallNames();
    o.faults = f.machine.faultedCalls();
    o.cut = plan.powerCut && !o.faults.empty() ? f.machine.stored() : nullptr;
    o.after = flatten(*f.machine.stored());
    counting = false;
    if (!w) return o;
    o.processesAfter = w->process.List1.items();
    o.windowsAfter = w->window.List2.items();
    // A question asked before a failure tells nothing of it.
    const auto& boxes = f.application.messages();
    for (std::size_t i = shown; i < boxes.size(); ++i)
        o.told = o.told || (boxes[i].flags & ui::mb::YesNo) != ui::mb::YesNo;
    if (f.application.terminated() && !sc.endsProgram) o.broken.push_back("the program ended");
    if (sc.passwordStays && !w->passwordPanel.Panel2.visible() && !f.application.terminated())
        o.broken.push_back("the password panel opened without the password");
    if (!w->visible() && !f.application.terminated() && f.machine.trayIcons().empty() &&
        !w->TrayRetry.enabled())
        o.broken.push_back("the window is hidden with no notification icon and no retry");
    if (f.machine.openHandles() != 0) o.broken.push_back("a handle was left open");
    if (f.machine.openKeys() != 0) o.broken.push_back("a registry key was left open");
    return o;
}

// Each stored item is as it was or as the action means to leave it.
std::vector<std::string> storedBreaks(const Stored& before, const Stored& intended, const Stored& now) {
    std::set<std::string> items;
    for (const auto* m : {&before, &intended, &now})
        for (const auto& [k, v] : *m) items.insert(k);
    std::vector<std::string> out;
    auto at = [](const Stored& m, const std::string& k) {
        auto it = m.find(k);
        return it == m.end() ? std::string("<none>") : it->second;
    };
    for (const std::string& k : items) {
        const std::string v = at(now, k);
        if (v != at(before, k) && v != at(intended, k)) out.push_back(k + " is neither as before nor as meant");
    }
    return out;
}

// The one save a stored item belongs to: a file, with the copies its
// replacement makes beside it; the five autostart keys, which "应用" writes
// as one and puts back as one; a key stands for every value below it.
std::string saveOf(std::string item) {
    item = base::asciiUpper(item);
    for (const char* tail : {"~NEW", "~OLD"})
        if (endsWith(item, tail)) item.resize(item.size() - 4);
    if (item.compare(0, 5, "FILE ") == 0) return item;
    if (item.find("\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN") != std::string::npos)
        return "AUTOSTART";
    if (item.compare(0, 4, "KEY ") == 0) return "VALUE " + item.substr(4) + "\\";
    return item;
}

// A failed call that reaches no stored item (a walk, a dialog) may stop any
// save; one that reaches a stored item may stop only that item's own.
bool concerns(const sim::Call& failed, const std::string& item) {
    if (failed.target.empty()) return true;
    const std::string mine = saveOf(item), theirs = saveOf(failed.target);
    return mine == theirs || (endsWith(theirs, "\\") && mine.compare(0, theirs.size(), theirs) == 0);
}

// The rules one run keeps, judged against the same action without a fault.
std::vector<std::string> judge(const Scenario& sc, const Outcome& clean, const Outcome& o,
                               const sim::FaultPlan& plan) {
    std::vector<std::string> out = o.broken;
    for (const std::string& b : storedBreaks(o.before, clean.after, o.after)) out.push_back(b);
    if (plan.powerCut || o.faults.empty()) return out;
    if (!sc.silent && o.after != clean.after && !o.told)
        out.push_back("not stored as meant, and nobody was told");
    // Every item on its own: one not as meant had a failure of its own, so
    // an item whose save could go through went through, box or no box.
    std::set<std::string> items;
    for (const Stored* m : {&clean.after, &o.after})
        for (const auto& [item, v] : *m) items.insert(item);
    for (const std::string& item : items) {
        const auto meant = clean.after.find(item), now = o.after.find(item);
        if ((meant == clean.after.end()) == (now == o.after.end()) &&
            (now == o.after.end() || now->second == meant->second))
            continue;
        bool own = false;
        for (const sim::Call& c : o.faults) own = own || concerns(c, item);
        if (!own)
            out.push_back(item + " was not saved, though only " + o.faults.front().name + " of " +
                          o.faults.front().target + " failed");
    }
    bool dialogFailed = false, walkFailed = false, onlyWalks = true;
    for (const sim::Call& c : o.faults) {
        dialogFailed = dialogFailed || endsWith(c.name, "FileNameA");
        walkFailed = walkFailed || isWalkStep(c.name);
        onlyWalks = onlyWalks && isWalkStep(c.name);
    }
    // A dialog that failed took no choice of the user's, stored or not.
    if (!sc.silent && dialogFailed && !o.told) out.push_back("the file dialog failed, and nobody was told");
    // A walk that ended early looks whole to anyone; Windows never ends one so.
    if (walkFailed && !plan.walkError) return out;
    // One step that failed once is taken again with its whole walk: nobody
    // is told, and everything comes out as without it.
    if (o.faults.size() == 1 && isRetriedWalkStep(o.faults.front().name) &&
        (o.told != clean.told || o.allowAtStart != clean.allowAtStart || o.ended != clean.ended ||
         o.processesAfter != clean.processesAfter || o.windowsAfter != clean.windowsAfter))
        out.push_back("a walk step that failed once was not taken again, silently");
    // Nothing is enforced that is not whole, told or not: the allow list at
    // start-up comes from a whole walk or stays empty (and is then enforced
    // by no pass), and every program ended is one a whole walk would have
    // ended. A list shown is whole, as it was, or the user is told; so is a
    // program a whole walk would have ended and that still runs (lists are
    // judged where nothing but walk steps failed: a process that would not
    // end changes them too).
    if (o.allowAtStart && *o.allowAtStart != *clean.allowAtStart && !o.allowAtStart->empty())
        out.push_back("the allow list at start-up is part of a walk");
    for (std::uint32_t id : o.ended)
        if (!clean.ended.count(id))
            out.push_back("process " + std::to_string(id) + " was ended, which a whole walk would have kept");
    if (onlyWalks && !o.told) {
        if (o.processesAfter != clean.processesAfter && o.processesAfter != o.processesBefore)
            out.push_back("the process list shows part of a walk");
        if (o.windowsAfter != clean.windowsAfter && o.windowsAfter != o.windowsBefore)
            out.push_back("the window list shows part of a walk");
        for (std::uint32_t id : clean.ended)
            if (!o.ended.count(id))
                out.push_back("process " + std::to_string(id) + " runs on, which a whole walk would have ended");
    }
    return out;
}

struct Row {
    std::string name;
    std::uint64_t calls = 0;
    int failing = 0, walk = 0, pairs = 0, cuts = 0, nextStart = 0;
    std::vector<std::string> violations;
};

// Every n-th of `count` when only `budget` runs are wanted.
std::uint64_t strideFor(std::uint64_t count, bool all, std::uint64_t budget) {
    return all || count <= budget ? 1 : (count + budget - 1) / budget;
}

std::string callAt(const Outcome& clean, std::uint64_t k) {
    return k <= clean.callNames.size() ? clean.callNames[k - 1] : "?";
}

// "failing call 7 (FindFirstFileA)", "failing calls 3 (X) and 9 (Y)" or
// "power cut after call 4 (Z)": what the run did, with " error N" after a
// walk step that failed with a code.
std::string describe(const sim::FaultPlan& plan, const Outcome& o) {
    std::string text = plan.powerCut ? "power cut after call " : plan.alsoAt ? "failing calls " : "failing call ";
    const std::uint64_t at[] = {plan.at, plan.alsoAt};
    for (std::size_t i = 0; i < (plan.alsoAt ? 2u : 1u); ++i) {
        if (i) text += " and ";
        text += std::to_string(at[i]) + " (";
        if (i >= o.faults.size()) {
            text += "not reached)";
            continue;
        }
        text += o.faults[i].name;
        if (isWalkStep(o.faults[i].name) && plan.walkError) text += " error " + std::to_string(plan.walkError);
        text += ")";
    }
    return text;
}

// The next start on what a power cut kept, and a close after it.
Scenario nextStartOf(const Scenario& sc) {
    Scenario next{sc.name, sc.family, sc.setup};
    next.countStart = true;
    next.endsProgram = true;
    next.action = [](AppFixture&, TfrmMain& w) { w.close(); };
    return next;
}

std::string keyOf(const sim::StoredState& s) {
    std::string key;
    for (const auto& [path, f] : s.files)
        key += path + '\0' + f.bytes + '\0' + std::to_string(f.attributes) + '\n';
    for (const auto& [root, keys] : s.hive)
        for (const auto& [id, k] : keys)
            for (const auto& [name, v] : k.values)
                key += std::to_string(root) + id + '\0' + name + '\0' + v.data + '\n';
    return key;
}

struct AfterCut {
    int runs = 0;
    std::vector<std::string> violations;
};

// The next start and a close on what a cut kept: once as they are, then with
// each of their calls failing. Cuts that kept the same are judged once.
const AfterCut& afterCut(const Scenario& sc, sim::CallFamily family, bool all,
                         const std::shared_ptr<const sim::StoredState>& kept,
                         std::map<std::string, AfterCut>& judged) {
    const std::string key = sc.name + '\0' + keyOf(*kept);
    if (auto it = judged.find(key); it != judged.end()) return it->second;
    AfterCut& a = judged[key];
    const Scenario next = nextStartOf(sc);
    sim::FaultPlan counting;
    counting.family = family;
    counting.at = ~0ull;
    const Outcome clean = runOnce(next, counting, kept);
    for (const std::string& b : clean.broken) a.violations.push_back("the next start: " + b);
    for (std::uint64_t j = 1; j <= clean.calls; j += strideFor(clean.calls, all, 4)) {
        sim::FaultPlan plan;
        plan.family = family;
        plan.at = j;
        const Outcome o = runOnce(next, plan, kept);
        ++a.runs;
        for (const std::string& b : judge(next, clean, o, plan))
            a.violations.push_back("the next start " + describe(plan, o) + ": " + b);
    }
    return a;
}

Row sweep(const Scenario& sc, sim::CallFamily family, bool all, std::map<std::string, AfterCut>& judged) {
    Row row{sc.name};
    sim::FaultPlan counting;
    counting.family = family;
    counting.at = ~0ull;
    const Outcome clean = runOnce(sc, counting);
    row.calls = clean.calls;
    for (const std::string& b : clean.broken) row.violations.push_back("without a fault: " + b);
    auto check = [&](const sim::FaultPlan& plan) {
        Outcome o = runOnce(sc, plan);
        for (const std::string& b : judge(sc, clean, o, plan))
            row.violations.push_back(describe(plan, o) + ": " + b);
        return o;
    };
    const std::uint64_t n = clean.calls;
    for (std::uint64_t k = 1; k <= n; k += strideFor(n, all, 60)) {
        sim::FaultPlan plan;
        plan.family = family;
        plan.at = k;
        check(plan);
        ++row.failing;
        if (isWalkStep(callAt(clean, k)))
            for (std::uint32_t code : kWalkErrors) {
                plan.walkError = code;
                check(plan);
                ++row.walk;
            }
        plan.walkError = 0;
        plan.powerCut = true;
        const Outcome o = check(plan);
        ++row.cuts;
        if (!o.cut) continue;
        const AfterCut& next = afterCut(sc, family, all, o.cut, judged);
        row.nextStart += next.runs;
        for (const std::string& b : next.violations) row.violations.push_back(describe(plan, o) + ", " + b);
    }
    // Two at once, the second often in what the program does about the first.
    // Sampled: calls on an even grid, each paired with the rest of the grid
    // and with the call right after it.
    const std::uint64_t stride = strideFor(n, all, 12);
    for (std::uint64_t j = 1; j <= n; j += stride)
        for (std::uint64_t k = j + 1; k <= n; ++k) {
            if (k != j + 1 && (k - 1) % stride != 0) continue;
            sim::FaultPlan plan;
            plan.family = family;
            plan.at = j;
            plan.alsoAt = k;
            plan.walkError = kWalkErrors[(j + k) % 3];
            check(plan);
            ++row.pairs;
        }
    return row;
}

// --- The scenarios.

std::vector<Scenario> scenarios() {
    std::vector<Scenario> s;
    auto page = [](int p) { return [p](AppFixture&, TfrmMain& w) { w.PageControl1.userSelect(p); }; };
    auto setting = [](const char* name, const char* value) {
        return [=](sim::SimOs& m) { m.setString(HKCU, kSettings, name, value); };
    };

    // Start-up along each path.
    s.push_back({"start: plain"});
    s.push_back({"start: password", Family::NT, setting("RunByPass", "yes"), nullptr, nullptr, false, true});
    s.push_back({"start: minimised, autostart", Family::NT, [](sim::SimOs& m) {
                     m.setString(HKCU, kSettings, "RunAutoMin", "yes");
                     m.setString(HKLM, kRun, "Zentrek", "C:\\Morvane\\Morvane.exe");
                 }});
    s.push_back({"start: bad KillTime", Family::NT, setting("KillTime", "abc")});
    s.push_back({"start: odd Napplst.dat", Family::NT, [](sim::SimOs& m) {
                     m.addFile(kList, std::string("A.EXE\rB.EXE\n\n\xB3\xCC.EXE", 18));
                 }});
    s.push_back({"start: 9x family", Family::Win9x});
    s.push_back({"start: password, minimised", Family::NT, [](sim::SimOs& m) {
                     m.setString(HKCU, kSettings, "RunByPass", "yes");
                     m.setString(HKCU, kSettings, "RunAutoMin", "yes");
                 }, nullptr, nullptr, false, true});
    s.push_back({"start: password (9x)", Family::Win9x, setting("RunByPass", "yes"), nullptr, nullptr,
                 false, true});
    s.push_back({"start: no Napplst.dat", Family::NT, [](sim::SimOs& m) {
                     sim::StoredState st = *m.stored();
                     st.files.erase(kList);
                     m.restore(st);
                 }});
    s.push_back({"start: unreadable Napplst.dat", Family::NT,
                 [](sim::SimOs& m) { m.file(kList)->unreadable = true; }});
    // What start-up read, and what it did not, decides what the close may
    // write; the allow list it takes decides what the loop clear ends.
    Scenario startThenClose{"start, then close"};
    startThenClose.countStart = true;
    startThenClose.endsProgram = true;
    startThenClose.action = [](AppFixture&, TfrmMain& w) { w.close(); };
    s.push_back(startThenClose);
    for (Family fam : {Family::NT, Family::Win9x}) {
        Scenario loop{std::string("start, then loop clear (allow") + (fam == Family::NT ? ")" : ", 9x)"), fam};
        loop.countStart = true;
        loop.action = [fam](AppFixture& f, TfrmMain& w) {
            f.machine.addProcess(fam == Family::NT ? "late.exe" : "C:\\APPS\\LATE.EXE");
            w.PageControl1.userSelect(2);
            w.restriction.SpeedButton1.userClick();
            const std::uint32_t t0 = f.machine.getTickCount();
            while (f.machine.getTickCount() - t0 < w.restriction.Timer1.interval() + 100) f.application.processMessages();
        };
        s.push_back(loop);
    }

    // Closing, the password, the end of the session.
    s.push_back({"close: save", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.programSettings.normalPrograms.ListApp.add("NEW.EXE"); },
                 [](AppFixture&, TfrmMain& w) { w.process.BtnExit.userClick(); }, true});
    s.push_back({"close: save (9x)", Family::Win9x, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.programSettings.normalPrograms.ListApp.add("NEW.EXE"); },
                 [](AppFixture&, TfrmMain& w) { w.process.BtnExit.userClick(); }, true});
    s.push_back({"close: unread list, changed", Family::NT, [](sim::SimOs& m) { m.file(kList)->unreadable = true; },
                 [](AppFixture&, TfrmMain& w) { w.programSettings.normalPrograms.ListApp.add("NEW.EXE"); },
                 [](AppFixture&, TfrmMain& w) { w.process.BtnExit.userClick(); }, true});
    s.push_back({"password: set", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) {
                     w.PageControl1.userSelect(4);
                     w.programSettings.generalSettings.Button5.userClick();
                     w.programSettings.passwordSettings.Edit2.setText("secret");
                     w.programSettings.passwordSettings.Edit3.setText("secret");
                 },
                 [](AppFixture&, TfrmMain& w) { w.programSettings.passwordSettings.Button12.userClick(); }});
    s.push_back({"password: the panel's OK", Family::NT, setting("RunByPass", "yes"),
                 [](AppFixture&, TfrmMain& w) { w.passwordPanel.Edit1.setText("wrong"); },
                 [](AppFixture&, TfrmMain& w) { w.passwordPanel.BitBtn1.userClick(); }, false, true});
    s.push_back({"session end", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.programSettings.normalPrograms.ListApp.add("NEW.EXE"); },
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.sendMessage(w.handle(), 0x11, 0, 0);
                     f.application.sendMessage(w.handle(), 0x16, 1, 0);
                 },
                 false, false, true});

    // The boxes of "通用设置" store themselves.
    auto general = [](AppFixture&, TfrmMain& w) { w.PageControl1.userSelect(4); };
    s.push_back({"settings: untick autostart", Family::NT,
                 [](sim::SimOs& m) { m.setString(HKLM, kRun, "Zentrek", "C:\\Morvane\\Morvane.exe"); }, general,
                 [](AppFixture&, TfrmMain& w) { w.programSettings.generalSettings.ChkAutoRun.userClick(); }});
    s.push_back({"settings: tick the three boxes", Family::NT, nullptr, general, [](AppFixture&, TfrmMain& w) {
                     w.programSettings.generalSettings.ChkAutoRun.userClick();
                     w.programSettings.generalSettings.ChkMin.userClick();
                     w.programSettings.generalSettings.ChkRunByPass.userClick();
                 }});

    // The process page, both modes and both families.
    for (Family fam : {Family::NT, Family::Win9x}) {
        const std::string tag = fam == Family::NT ? " (NT)" : " (9x)";
        s.push_back({"process: end one" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) { w.process.List1.userSelect(3); },
                     [](AppFixture&, TfrmMain& w) { w.process.BtnKill.userClick(); }});
        s.push_back({"process: end checked" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) {
                         w.process.RadioGroup1.userSelect(1);
                         w.process.ChkList1.userToggle(2);
                         w.process.ChkList1.userToggle(3);
                     },
                     [](AppFixture&, TfrmMain& w) { w.process.BtnKill.userClick(); }});
        // The delete button is off on NT: the click there must do nothing.
        s.push_back({"process: delete checked" + tag, fam,
                     [fam](sim::SimOs& m) {
                         const bool nt = fam == Family::NT;
                         m.addFile(nt ? "editor.exe" : "C:\\APPS\\EDITOR.EXE", "MZ");
                         m.addFile(nt ? "tool.exe" : "C:\\APPS\\TOOL.EXE", "MZ");
                     },
                     [](AppFixture&, TfrmMain& w) {
                         w.process.RadioGroup1.userSelect(1);
                         w.process.ChkList1.userToggle(2);
                         w.process.ChkList1.userToggle(3);
                     },
                     [](AppFixture&, TfrmMain& w) { w.process.BtnDelApp.userClick(); }});
        s.push_back({"process: add to the normal list" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) { w.process.List1.userSelect(2); },
                     [](AppFixture&, TfrmMain& w) { w.process.BtnAddNormalAppList.userClick(); }});
        s.push_back({"process: save the list" + tag, fam, nullptr, nullptr,
                     [](AppFixture& f, TfrmMain& w) {
                         f.application.answerDialog(std::string(kUserList));
                         w.process.BtnSave.userClick();
                     }});
    }
    s.push_back({"process: delete a file (9x)", Family::Win9x,
                 [](sim::SimOs& m) { m.addFile("C:\\APPS\\TOOL.EXE", "MZ"); },
                 [](AppFixture&, TfrmMain& w) { w.process.List1.userSelect(3); },
                 [](AppFixture&, TfrmMain& w) { w.process.BtnDelApp.userClick(); }});

    s.push_back({"process: delete a chosen file (9x)", Family::Win9x,
                 [](sim::SimOs& m) { m.addFile("C:\\APPS\\OLD.EXE", "MZ"); }, nullptr,
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\APPS\\OLD.EXE"));
                     w.process.BtnDelApp.userClick();
                 }});

    // The normal-program page.
    auto normal = [](AppFixture&, TfrmMain& w) {
        w.PageControl1.userSelect(4);
        w.programSettings.PageControl2.userSelect(1);
    };
    s.push_back({"normal: add", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.programSettings.normalPrograms.BtnAdd.userClick();
                 }});
    s.push_back({"normal: delete, clear", Family::NT, nullptr, normal, [](AppFixture&, TfrmMain& w) {
                     w.programSettings.normalPrograms.ListApp.userSelect(0);
                     w.programSettings.normalPrograms.BtnDel.userClick();
                     w.programSettings.normalPrograms.BtnClear.userClick();
                 }});
    s.push_back({"normal: save", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string(kUserList));
                     w.programSettings.normalPrograms.BtnSaveAppList.userClick();
                 }});
    s.push_back({"normal: load", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string(kUserList));
                     w.programSettings.normalPrograms.BtnOpenAppList.userClick();
                 }});

    // The restriction page and one pass of each mode on both families.
    s.push_back({"restrict: edit the lists", Family::NT, nullptr, page(2), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.restriction.Button8.userClick();
                     w.restriction.List3.userSelect(0);
                     w.restriction.Button9.userClick();
                     w.restriction.Button10.userClick();
                     w.restriction.RadioGroup2.userSelect(1);
                     w.restriction.Button16.userClick();
                 }});
    s.push_back({"restrict: save, load", Family::NT, nullptr, page(2), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Lists\\allow.txt"));
                     w.restriction.Button6.userClick();
                     f.application.answerDialog(std::string(kUserList));
                     w.restriction.Button7.userClick();
                 }});
    for (Family fam : {Family::NT, Family::Win9x})
        s.push_back({std::string("restrict: add all, switch the mode") + (fam == Family::NT ? " (NT)" : " (9x)"),
                     fam, nullptr, page(2), [](AppFixture&, TfrmMain& w) {
                         w.restriction.Button10.userClick();
                         w.restriction.RadioGroup2.userSelect(1);
                         w.restriction.Button10.userClick();
                         w.restriction.RadioGroup2.userSelect(0);
                     }});
    for (Family fam : {Family::NT, Family::Win9x})
        for (bool forbid : {false, true}) {
            const std::string name = std::string("loop clear: ") + (forbid ? "forbid" : "allow") +
                                     (fam == Family::NT ? " (NT)" : " (9x)");
            s.push_back({name, fam,
                         [fam](sim::SimOs& m) {
                             m.addProcess(fam == Family::NT ? "late.exe" : "C:\\APPS\\LATE.EXE");
                         },
                         [forbid, fam](AppFixture&, TfrmMain& w) {
                             w.PageControl1.userSelect(2);
                             if (forbid) {
                                 w.restriction.RadioGroup2.userSelect(1);
                                 w.restriction.List3.setItems({fam == Family::NT ? "TOOL.EXE" : "C:\\APPS\\TOOL.EXE"});
                             } else {
                                 w.restriction.List3.remove(w.restriction.List3.count() - 1);
                             }
                             w.restriction.SpeedButton1.userClick();
                         },
                         [](AppFixture& f, TfrmMain& w) {
                             const std::uint32_t t0 = f.machine.getTickCount();
                             while (f.machine.getTickCount() - t0 < w.restriction.Timer1.interval() + 100)
                                 f.application.processMessages();
                         }});
        }

    // The window page.
    s.push_back({"windows: refresh", Family::NT, nullptr, page(1),
                 [](AppFixture&, TfrmMain& w) { w.window.Button1.userClick(); }});
    s.push_back({"windows: save", Family::NT, nullptr, page(1), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Lists\\windows.txt"));
                     w.window.Button2.userClick();
                 }});
    s.push_back({"windows: close, quit", Family::NT, nullptr, page(1), [](AppFixture&, TfrmMain& w) {
                     w.window.List2.userSelect(0);
                     w.window.Button3.userClick();
                     w.window.List2.userSelect(0);
                     w.window.Button15.userClick();
                 }});

    // The autostart page.
    for (Family fam : {Family::NT, Family::Win9x}) {
        const std::string tag = fam == Family::NT ? "" : " (9x)";
        s.push_back({"autostart: new, change, delete, apply" + tag, fam, nullptr, page(3),
                     [](AppFixture&, TfrmMain& w) {
                         w.autostart.Edit5.setText("Mine");
                         w.autostart.Edit6.setText("mine.exe");
                         w.autostart.Button18.userClick();
                         w.autostart.ListView1.userClick(0);
                         w.autostart.Edit5.setText("Renamed");
                         w.autostart.Button21.userClick();
                         w.autostart.ListView1.userClick(1);
                         w.autostart.Button19.userClick();
                         w.autostart.Button17.userClick();
                     }});
        s.push_back({"autostart: refresh" + tag, fam, nullptr, page(3),
                     [](AppFixture&, TfrmMain& w) { w.autostart.Button14.userClick(); }});
    }
    s.push_back({"autostart: browse, new, apply", Family::NT, nullptr, page(3),
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.autostart.Button20.userClick();
                     w.autostart.Button18.userClick();
                     w.autostart.Button17.userClick();
                 }});

    // The notification icon and its menu.
    s.push_back({"tray: minimise, restore", Family::NT, nullptr, nullptr, [](AppFixture& f, TfrmMain& w) {
                     w.peerMinimize();
                     f.application.postMessage(w.handle(), kTray, 3, 0x0201);
                     f.application.processMessages();
                 }});
    s.push_back({"tray: shell restarted", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.peerMinimize(); },
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.sendMessage(w.handle(), f.application.registerMessage("TaskbarCreated"));
                 }});
    // N2 and N6 are separators; N3, N4 and N5 ask Windows to end the
    // session, which the simulated machine only records.
    for (const auto& choice : std::vector<std::pair<int, Family>>{
             {app::ids::N1, Family::NT}, {app::ids::N3, Family::NT}, {app::ids::N4, Family::NT}, {app::ids::N5, Family::NT},
             {app::ids::N5, Family::Win9x}, {app::ids::N8, Family::NT}, {app::ids::N7, Family::NT}}) {
        const int item = choice.first;
        const Family fam = choice.second;
        const std::string name = "tray: menu item " + std::to_string(item) +
                                 (fam == Family::NT ? "" : " (9x)");
        s.push_back({name, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) { w.peerMinimize(); },
                     [item](AppFixture& f, TfrmMain& w) {
                         f.application.chooseMenuItem(item);
                         f.application.postMessage(w.handle(), kTray, 3, 0x0204);
                         f.application.processMessages();
                     },
                     item == app::ids::N7});
    }
    return s;
}

const std::pair<const char*, sim::CallFamily> kFamilies[] = {
    {"all", sim::CallFamily::All},
    {"registry-writes", sim::CallFamily::RegistryWrites},
    {"file-writes", sim::CallFamily::FileWrites},
    {"processes", sim::CallFamily::Processes},
    {"windows", sim::CallFamily::Windows},
    {"dialogs", sim::CallFamily::Dialogs},
};

}  // namespace

int main(int argc, char** argv) {
    bool all = false, verbose = false;
    const char* familyName = "all";
    sim::CallFamily family = sim::CallFamily::All;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0 || std::strcmp(argv[i], "--verbose") == 0) {
            (argv[i][2] == 'a' ? all : verbose) = true;
            continue;
        }
        bool known = false;
        if (std::strcmp(argv[i], "--family") == 0 && i + 1 < argc) {
            ++i;
            for (const auto& [name, f] : kFamilies)
                if (std::strcmp(argv[i], name) == 0) {
                    familyName = name;
                    family = f;
                    known = true;
                }
        }
        if (!known) {
            std::fprintf(stderr, "usage: fault_sweep [--all] [--verbose] [--family all|registry-writes|file-writes|"
                                 "processes|windows|dialogs]\n");
            return 2;
        }
    }
    int violations = 0, runs = 0, pairs = 0, walks = 0;
    std::map<std::string, AfterCut> judged;
    std::printf("%-44s %5s %7s %5s %7s %5s %7s %5s   (%s calls)\n", "scenario", "calls", "failing",
                "walk", "2 fail", "cut", "next", "viol.", familyName);
    for (const Scenario& sc : scenarios()) {
        const Row row = sweep(sc, family, all, judged);
        runs += row.failing + row.walk + row.pairs + row.cuts + row.nextStart;
        pairs += row.pairs;
        walks += row.walk;
        violations += static_cast<int>(row.violations.size());
        std::printf("%-44s %5llu %7d %5d %7d %5d %7d %5zu\n", row.name.c_str(),
                    static_cast<unsigned long long>(row.calls), row.failing, row.walk, row.pairs, row.cuts,
                    row.nextStart, row.violations.size());
        for (std::size_t i = 0; i < row.violations.size() && (verbose || i < 4); ++i)
            std::printf("    %s\n", row.violations[i].c_str());
    }
    std::printf("fault sweep (%s, %s calls): %d injected runs (%d with two faults, %d walk failures "
                "with a code), %d violations\n",
                all ? "every call" : "sampled", familyName, runs, pairs, walks, violations);
    return violations ? 1 : 0;
}
