// <windows.h> first, then every platform header: a platform name that is
// also a Win32 macro would be rewritten here and fail to compile.
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include "platform/files.h"
#include "platform/os.h"
#include "platform/process_query.h"
#include "platform/registry.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_os.h"

static_assert(platform::RootKey::CurrentUser == 0x80000001u);
static_assert(platform::Error::Timeout == ERROR_TIMEOUT);
