// Every child-window id of the main window, for tools that find controls by
// number. Each page keeps its own range in its own folder; a radio group's
// buttons take the ids right after the group's own.
#pragma once

#include "app/frame_ids.h"
#include "autostart/ids.h"
#include "process/ids.h"
#include "restriction/ids.h"
#include "window/ids.h"
