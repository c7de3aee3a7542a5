// Every platform call failing in turn: each user action is run once to count
// the calls it makes, then once more for every call with that one failing
// (and once with the power cut right after it), and what the user is left
// with is checked.
//   fault_sweep          every injection point of the small scenarios, an
//                        even sample of the big ones (make test)
//   fault_sweep --all    every injection point of every scenario (make faults)
//   --family NAME        only calls of that family fail: registry-writes,
//                        file-writes, processes, windows, dialogs, all (the default)
// Prints one table row per scenario; exits 1 when any run broke a rule.
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
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

struct Outcome {
    std::uint64_t calls = 0;
    bool faulted = false;
    std::string faultedCall;
    Stored before, after;
    bool told = false;                // a box was shown during the action
    std::vector<std::string> broken;  // the rules this run broke
    std::shared_ptr<const sim::StoredState> cut;
};

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
    const bool startIsAction = !sc.action;
    std::size_t shown = 0;
    TfrmMain* w = nullptr;
    try {
        if (startIsAction) {
            o.before = flatten(*f.machine.stored());
            f.machine.setFaultPlan(plan);
            w = &f.start();
        } else {
            w = &f.start();
            if (sc.prepare) sc.prepare(f, *w);
            shown = f.application.messages().size();
            o.before = flatten(*f.machine.stored());
            f.machine.setFaultPlan(plan);
            sc.action(f, *w);
        }
    } catch (const std::exception& e) {
        o.broken.push_back(std::string("an exception escaped: ") + e.what());
    } catch (...) {
        o.broken.push_back("an exception escaped");
    }
    o.calls = f.machine.plannedCalls();
    o.faulted = f.machine.faultHappened();
    o.faultedCall = f.machine.faultedCall();
    o.cut = plan.powerCut && o.faulted ? f.machine.stored() : nullptr;
    o.after = flatten(*f.machine.stored());
    if (!w) return o;
    o.told = f.application.messages().size() > shown;
    if (f.application.terminated() && !sc.endsProgram) o.broken.push_back("the program ended");
    if (sc.passwordStays && !w->Panel2.visible() && !f.application.terminated())
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

struct Row {
    std::string name;
    std::uint64_t calls = 0;
    int runs = 0;
    std::vector<std::string> violations;
};

Row sweep(const Scenario& sc, sim::CallFamily family, bool all) {
    Row row{sc.name};
    sim::FaultPlan counting;
    counting.family = family;
    counting.at = ~0ull;
    const Outcome clean = runOnce(sc, counting);
    row.calls = clean.calls;
    for (const std::string& b : clean.broken) row.violations.push_back("without a fault: " + b);
    // Small scenarios: every call; big ones: an even sample of 60.
    const std::uint64_t step = all || clean.calls <= 60 ? 1 : (clean.calls + 59) / 60;
    for (std::uint64_t k = 1; k <= clean.calls; k += step) {
        for (bool cut : {false, true}) {
            sim::FaultPlan plan;
            plan.family = family;
            plan.at = k;
            plan.powerCut = cut;
            const Outcome o = runOnce(sc, plan);
            ++row.runs;
            const std::string where = std::string(cut ? "power cut after" : "failing") + " call " +
                                      std::to_string(k) + ": ";
            for (const std::string& b : o.broken) row.violations.push_back(where + b);
            for (const std::string& b : storedBreaks(o.before, clean.after, o.after))
                row.violations.push_back(where + b);
            if (!cut && !sc.silent && o.after != clean.after && !o.told)
                row.violations.push_back(where + "not stored as meant, and nobody was told");
            // A dialog that failed took no choice of the user's, stored or not.
            if (!cut && !sc.silent && endsWith(o.faultedCall, "FileNameA") && !o.told)
                row.violations.push_back(where + "the file dialog failed, and nobody was told");
            if (cut && o.cut) {
                // The next start runs on what the disk and registry kept.
                sim::FaultPlan none;
                const Outcome next = runOnce(Scenario{sc.name, sc.family, sc.setup}, none, o.cut);
                for (const std::string& b : next.broken)
                    row.violations.push_back(where + "the next start: " + b);
            }
        }
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

    // Closing, the password, the end of the session.
    s.push_back({"close: save", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.ListApp.add("NEW.EXE"); },
                 [](AppFixture&, TfrmMain& w) { w.BtnExit.userClick(); }, true});
    s.push_back({"close: unread list, changed", Family::NT, setting("KillTime", "abc"),
                 [](AppFixture&, TfrmMain& w) { w.ListApp.add("NEW.EXE"); },
                 [](AppFixture&, TfrmMain& w) { w.BtnExit.userClick(); }, true});
    s.push_back({"password: set", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) {
                     w.PageControl1.userSelect(4);
                     w.Button5.userClick();
                     w.Edit2.setText("secret");
                     w.Edit3.setText("secret");
                 },
                 [](AppFixture&, TfrmMain& w) { w.Button12.userClick(); }});
    s.push_back({"password: the panel's OK", Family::NT, setting("RunByPass", "yes"),
                 [](AppFixture&, TfrmMain& w) { w.Edit1.setText("wrong"); },
                 [](AppFixture&, TfrmMain& w) { w.BitBtn1.userClick(); }, false, true});
    s.push_back({"session end", Family::NT, nullptr,
                 [](AppFixture&, TfrmMain& w) { w.ListApp.add("NEW.EXE"); },
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.sendMessage(w.handle(), 0x11, 0, 0);
                     f.application.sendMessage(w.handle(), 0x16, 1, 0);
                 },
                 false, false, true});

    // The process page, both modes and both families.
    for (Family fam : {Family::NT, Family::Win9x}) {
        const std::string tag = fam == Family::NT ? " (NT)" : " (9x)";
        s.push_back({"process: end one" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) { w.List1.userSelect(3); },
                     [](AppFixture&, TfrmMain& w) { w.BtnKill.userClick(); }});
        s.push_back({"process: end checked" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) {
                         w.RadioGroup1.userSelect(1);
                         w.ChkList1.userToggle(2);
                         w.ChkList1.userToggle(3);
                     },
                     [](AppFixture&, TfrmMain& w) { w.BtnKill.userClick(); }});
        // The delete button is off on NT: the click there must do nothing.
        s.push_back({"process: delete checked" + tag, fam,
                     [fam](sim::SimOs& m) {
                         const bool nt = fam == Family::NT;
                         m.addFile(nt ? "editor.exe" : "C:\\APPS\\EDITOR.EXE", "MZ");
                         m.addFile(nt ? "tool.exe" : "C:\\APPS\\TOOL.EXE", "MZ");
                     },
                     [](AppFixture&, TfrmMain& w) {
                         w.RadioGroup1.userSelect(1);
                         w.ChkList1.userToggle(2);
                         w.ChkList1.userToggle(3);
                     },
                     [](AppFixture&, TfrmMain& w) { w.BtnDelApp.userClick(); }});
        s.push_back({"process: add to the normal list" + tag, fam, nullptr,
                     [](AppFixture&, TfrmMain& w) { w.List1.userSelect(2); },
                     [](AppFixture&, TfrmMain& w) { w.BtnAddNormalAppList.userClick(); }});
        s.push_back({"process: save the list" + tag, fam, nullptr, nullptr,
                     [](AppFixture& f, TfrmMain& w) {
                         f.application.answerDialog(std::string(kUserList));
                         w.BtnSave.userClick();
                     }});
    }
    s.push_back({"process: delete a file (9x)", Family::Win9x,
                 [](sim::SimOs& m) { m.addFile("C:\\APPS\\TOOL.EXE", "MZ"); },
                 [](AppFixture&, TfrmMain& w) { w.List1.userSelect(3); },
                 [](AppFixture&, TfrmMain& w) { w.BtnDelApp.userClick(); }});

    s.push_back({"process: delete a chosen file (9x)", Family::Win9x,
                 [](sim::SimOs& m) { m.addFile("C:\\APPS\\OLD.EXE", "MZ"); }, nullptr,
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\APPS\\OLD.EXE"));
                     w.BtnDelApp.userClick();
                 }});

    // The normal-program page.
    auto normal = [](AppFixture&, TfrmMain& w) {
        w.PageControl1.userSelect(4);
        w.PageControl2.userSelect(1);
    };
    s.push_back({"normal: add", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.BtnAdd.userClick();
                 }});
    s.push_back({"normal: delete, clear", Family::NT, nullptr, normal, [](AppFixture&, TfrmMain& w) {
                     w.ListApp.userSelect(0);
                     w.BtnDel.userClick();
                     w.BtnClear.userClick();
                 }});
    s.push_back({"normal: save", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string(kUserList));
                     w.BtnSaveAppList.userClick();
                 }});
    s.push_back({"normal: load", Family::NT, nullptr, normal, [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string(kUserList));
                     w.BtnOpenAppList.userClick();
                 }});

    // The restriction page and one pass of each mode on both families.
    s.push_back({"restrict: edit the lists", Family::NT, nullptr, page(2), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.Button8.userClick();
                     w.List3.userSelect(0);
                     w.Button9.userClick();
                     w.Button10.userClick();
                     w.RadioGroup2.userSelect(1);
                     w.Button16.userClick();
                 }});
    s.push_back({"restrict: save, load", Family::NT, nullptr, page(2), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Lists\\allow.txt"));
                     w.Button6.userClick();
                     f.application.answerDialog(std::string(kUserList));
                     w.Button7.userClick();
                 }});
    for (Family fam : {Family::NT, Family::Win9x})
        s.push_back({std::string("restrict: add all, switch the mode") + (fam == Family::NT ? " (NT)" : " (9x)"),
                     fam, nullptr, page(2), [](AppFixture&, TfrmMain& w) {
                         w.Button10.userClick();
                         w.RadioGroup2.userSelect(1);
                         w.Button10.userClick();
                         w.RadioGroup2.userSelect(0);
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
                                 w.RadioGroup2.userSelect(1);
                                 w.List3.setItems({fam == Family::NT ? "TOOL.EXE" : "C:\\APPS\\TOOL.EXE"});
                             } else {
                                 w.List3.remove(w.List3.count() - 1);
                             }
                             w.SpeedButton1.userClick();
                         },
                         [](AppFixture& f, TfrmMain& w) {
                             const std::uint32_t t0 = f.machine.getTickCount();
                             while (f.machine.getTickCount() - t0 < w.Timer1.interval() + 100)
                                 f.application.processMessages();
                         }});
        }

    // The window page.
    s.push_back({"windows: refresh", Family::NT, nullptr, page(1),
                 [](AppFixture&, TfrmMain& w) { w.Button1.userClick(); }});
    s.push_back({"windows: save", Family::NT, nullptr, page(1), [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Lists\\windows.txt"));
                     w.Button2.userClick();
                 }});
    s.push_back({"windows: close, quit", Family::NT, nullptr, page(1), [](AppFixture&, TfrmMain& w) {
                     w.List2.userSelect(0);
                     w.Button3.userClick();
                     w.List2.userSelect(0);
                     w.Button15.userClick();
                 }});

    // The autostart page.
    for (Family fam : {Family::NT, Family::Win9x}) {
        const std::string tag = fam == Family::NT ? "" : " (9x)";
        s.push_back({"autostart: new, change, delete, apply" + tag, fam, nullptr, page(3),
                     [](AppFixture&, TfrmMain& w) {
                         w.Edit5.setText("Mine");
                         w.Edit6.setText("mine.exe");
                         w.Button18.userClick();
                         w.ListView1.userClick(0);
                         w.Edit5.setText("Renamed");
                         w.Button21.userClick();
                         w.ListView1.userClick(1);
                         w.Button19.userClick();
                         w.Button17.userClick();
                     }});
        s.push_back({"autostart: refresh" + tag, fam, nullptr, page(3),
                     [](AppFixture&, TfrmMain& w) { w.Button14.userClick(); }});
    }
    s.push_back({"autostart: browse, new, apply", Family::NT, nullptr, page(3),
                 [](AppFixture& f, TfrmMain& w) {
                     f.application.answerDialog(std::string("C:\\Apps\\new.exe"));
                     w.Button20.userClick();
                     w.Button18.userClick();
                     w.Button17.userClick();
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
             {ids::N1, Family::NT}, {ids::N3, Family::NT}, {ids::N4, Family::NT}, {ids::N5, Family::NT},
             {ids::N5, Family::Win9x}, {ids::N8, Family::NT}, {ids::N7, Family::NT}}) {
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
                     item == ids::N7});
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
    bool all = false;
    const char* familyName = "all";
    sim::CallFamily family = sim::CallFamily::All;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--all") == 0) {
            all = true;
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
            std::fprintf(stderr, "usage: fault_sweep [--all] [--family all|registry-writes|file-writes|"
                                 "processes|windows|dialogs]\n");
            return 2;
        }
    }
    int violations = 0, runs = 0;
    std::printf("%-44s %6s %6s %5s   (%s calls)\n", "scenario", "calls", "runs", "viol.", familyName);
    for (const Scenario& sc : scenarios()) {
        const Row row = sweep(sc, family, all);
        runs += row.runs;
        violations += static_cast<int>(row.violations.size());
        std::printf("%-44s %6llu %6d %5zu\n", row.name.c_str(),
                    static_cast<unsigned long long>(row.calls), row.runs, row.violations.size());
        for (std::size_t i = 0; i < row.violations.size() && i < 4; ++i)
            std::printf("    %s\n", row.violations[i].c_str());
    }
    std::printf("fault sweep (%s, %s calls): %d injected runs, %d violations\n",
                all ? "every call" : "sampled", familyName, runs, violations);
    return violations ? 1 : 0;
}
