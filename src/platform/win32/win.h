// <windows.h> with the shell and Toolhelp declarations the real layer uses.
// The platform's own names are not Win32's macro spellings, so this and the
// platform headers may come in any order.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>
