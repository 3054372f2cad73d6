#pragma once
// The Windows Customize Shortcuts dialog behind the CustomizeDialog interface.
#include <windows.h>

#include <memory>

#include "platform/customize_dialog.h"

namespace loomkeys {

// A dialog owned by `owner` (PowerPoint's window in front, or null): the
// owner takes no input while the dialog is open.
std::unique_ptr<CustomizeDialog> MakeCustomizeDialog(HWND owner);

}  // namespace loomkeys
