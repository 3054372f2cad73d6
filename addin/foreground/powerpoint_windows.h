#pragma once
// Tests that tell PowerPoint's windows apart by class name and title. All
// comparisons are exact and case-sensitive.
#include <cstdint>
#include <string_view>

#include "common/active_mode.h"
#include "platform/foreground_window.h"

namespace loomkeys {

// PowerPoint's editing window: "PPTFrameClass", or "PP9FrameClass" to "PP12FrameClass".
bool IsPowerPointFrameClass(std::u16string_view className);
// The slide show window.
bool IsSlideShowClass(std::u16string_view className);
// The presenter view, recognised by its title.
bool IsPresenterViewCaption(std::u16string_view caption);
// The main window of PowerPoint with several main windows, in any process.
bool IsMultipleMainWindowClass(std::u16string_view className);

// The active mode for the window in front: slide show for this process's
// slide show or presenter view, slide design for its editing window or for
// any process's multiple-window main window, otherwise none.
uint16_t ActiveModeOf(const ForegroundWindow& window);

}  // namespace loomkeys
