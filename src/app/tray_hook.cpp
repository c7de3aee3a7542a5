#include "app/main_form.h"

// The notification icon is not built yet; hiding at the first paint then
// leaves no icon behind.
void TfrmMain::AddTrayIcon() {}
