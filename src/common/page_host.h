// What every page takes from the window it sits in. The window holds one
// host and hands it to each page it builds, so the pages share one
// application, one machine, one set of file dialogs and one module-name
// cache; what only the window can do is asked of it through the pure
// functions, so no page needs the window's own declaration.
#pragma once
#include <cstdint>
#include <string>

#include "common/listing.h"
#include "platform/os.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"

namespace common {

class PageHost {
public:
    PageHost(ui::TApplication& application, platform::Os& platform);
    PageHost(const PageHost&) = delete;
    PageHost& operator=(const PageHost&) = delete;

    ui::TApplication& Application;
    platform::Os& os;
    // Program-wide values start-up sets: the executable's folder with its
    // backslash, the NT family (not 95, 98, Me), and a request to hide into
    // the notification area at the next paint.
    std::string AppDir;
    bool IsWindowsNT = false;
    bool StartMinimized = false;
    // The executable names the process lists have already read, by process.
    ModuleNameCache ModuleNames;
    // The list of normal programs, set by the settings page that shows it;
    // the process page marks its lines by it and adds to it.
    ui::TListBox* NormalPrograms = nullptr;

    // Returns once ms have passed, the window answering meanwhile; a closed
    // program waits no longer.
    void Delay(std::int32_t ms);
    // Writes a list box's lines, CR LF each, to a file the user names.
    void saveListAs(const ui::TListBox& list);
    // The questions the file dialogs ask: the path the user chose, null
    // when they cancelled, good until the next question. Each dialog opens
    // where the last choice was.
    const std::string* chooseProgram(const char* title);
    const std::string* chooseListFile();

    // The exit buttons leave the way the window's close button does.
    virtual void closeWindow() = 0;
    // Into the notification area, the icon first: the loop clear goes on unseen.
    virtual void hideToNotificationArea() = 0;
    // The loop clear was switched on its page; the menu's item follows.
    virtual void loopClearSwitched(bool on) = 0;
    // The start-up password gate went up or down: the menu holds back what
    // the panel guards while it is up.
    virtual void passwordGate(bool up) = 0;
    // The loop clear's interval was set on the settings page.
    virtual void loopIntervalSet(int seconds) = 0;
    // The process page listed every process, from a whole walk.
    virtual void processesListed() = 0;
    // The window the pages sit in, which the window list leaves out.
    virtual std::uintptr_t hostHandle() const = 0;

protected:
    ~PageHost() = default;

private:
    ui::TSaveDialog SaveDialog1;
    ui::TOpenDialog OpenDialog1;
    ui::TOpenDialog NormalAppSet;
};

// A page keeps its host, and the two parts of it every handler uses.
struct Page {
    explicit Page(PageHost& pageHost) : host(pageHost), Application(pageHost.Application), os(pageHost.os) {}
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    PageHost& host;
    ui::TApplication& Application;
    platform::Os& os;
};

}  // namespace common
