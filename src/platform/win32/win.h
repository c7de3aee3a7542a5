// <windows.h> for code that also uses os.h: the Win32 headers define as macros
// the very names os.h declares as constants (HKEY_CURRENT_USER, REG_SZ,
// TH32CS_SNAPPROCESS...), which would break every platform:: use after them. This
// header includes the system headers and drops those macros; spell them platform::X.
// Include it instead of <windows.h> wherever os.h is in sight.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#undef TH32CS_SNAPPROCESS
#undef TH32CS_SNAPMODULE
#undef PROCESS_TERMINATE
#undef PROCESS_ALL_ACCESS
#undef STILL_ACTIVE
#undef FILE_ATTRIBUTE_READONLY
#undef FILE_ATTRIBUTE_HIDDEN
#undef FILE_ATTRIBUTE_SYSTEM
#undef FILE_ATTRIBUTE_DIRECTORY
#undef FILE_ATTRIBUTE_ARCHIVE
#undef GW_HWNDFIRST
#undef GW_HWNDNEXT
#undef VER_PLATFORM_WIN32_WINDOWS
#undef VER_PLATFORM_WIN32_NT
#undef HKEY_CLASSES_ROOT
#undef HKEY_CURRENT_USER
#undef HKEY_LOCAL_MACHINE
#undef HKEY_USERS
#undef KEY_READ
#undef KEY_ALL_ACCESS
#undef REG_NONE
#undef REG_SZ
#undef REG_EXPAND_SZ
#undef REG_BINARY
#undef REG_DWORD
#undef REG_MULTI_SZ
#undef ERROR_SUCCESS
#undef ERROR_FILE_NOT_FOUND
#undef ERROR_PATH_NOT_FOUND
#undef ERROR_ACCESS_DENIED
#undef ERROR_INVALID_HANDLE
#undef ERROR_NOT_ENOUGH_MEMORY
#undef ERROR_NO_MORE_FILES
#undef ERROR_GEN_FAILURE
#undef ERROR_SHARING_VIOLATION
#undef ERROR_DISK_FULL
#undef ERROR_CALL_NOT_IMPLEMENTED
#undef ERROR_PROC_NOT_FOUND
#undef ERROR_BAD_PATHNAME
#undef ERROR_ALREADY_EXISTS
#undef ERROR_FILE_TOO_LARGE
#undef ERROR_MORE_DATA
#undef ERROR_NO_MORE_ITEMS
#undef ERROR_INVALID_WINDOW_HANDLE
#undef ERROR_TIMEOUT
#undef ERROR_PRIVILEGE_NOT_HELD
#undef NIM_ADD
#undef NIM_MODIFY
#undef NIM_DELETE
#undef NIF_MESSAGE
#undef NIF_ICON
#undef NIF_TIP
#undef EWX_LOGOFF
#undef EWX_SHUTDOWN
#undef EWX_REBOOT

#include "platform/os.h"
