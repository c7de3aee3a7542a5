// Empty process-page operations, so the window links until they are written.
#include "app/main_form.h"

void TfrmMain::RefreshProcessList() {}
void TfrmMain::RefreshHideList() {}
void TfrmMain::Delay(std::int32_t) {}
void TfrmMain::KillTask(const std::string&) {}
void TfrmMain::KillTaskA(std::int32_t) {}
void TfrmMain::KillTaskB(std::int32_t) {}
void TfrmMain::BtnRefreshClick() {}
void TfrmMain::BtnSaveClick() {}
void TfrmMain::RadioGroup1Click() {}
void TfrmMain::List1Click() {}
void TfrmMain::ChkList1Click() {}
void TfrmMain::BtnKillClick() {}
void TfrmMain::BtnNormalAppShowClick() {}
void TfrmMain::BtnAddNormalAppListClick() {}
void TfrmMain::BtnAddClick() {}
void TfrmMain::ListAppClick() {}
void TfrmMain::BtnDelClick() {}
void TfrmMain::BtnClearClick() {}
void TfrmMain::BtnSaveAppListClick() {}
void TfrmMain::BtnOpenAppListClick() {}
