// Every child-window id of the main window, for tools that find controls by
// number. Each page keeps its own range in its own folder and namespace; a
// radio group's buttons take the ids right after the group's own.
#pragma once

#include "about/ids.h"
#include "app/frame_ids.h"
#include "autostart/ids.h"
#include "process/ids.h"
#include "restriction/ids.h"
#include "settings/ids.h"
#include "window/ids.h"
