#pragma once
// The whole form kit, for the windows.

#include "platform/ui/common_dialog.h"
#include "platform/ui/control.h"
#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/menu.h"
#include "platform/ui/property.h"
#include "platform/ui/types.h"
