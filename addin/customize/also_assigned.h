#pragma once
// The notice under PowerPoint's in the Customize dialog: which other command
// of the dialog already holds the key in the key field. Two commands may hold
// one key in one mode, and both run on a press; the notice tells the user so
// before the key is stored. It stores and changes nothing.
#include <cstdint>
#include <string>

#include "customize/provider_list.h"
#include "customize/ui_data.h"

namespace loomkeys {

// `Also assigned to "<command>" (<category>)`, with ` and N more` when more
// commands match, or empty. A command matches when it is in any provider's
// tree (whatever the view shows), is not `selected` (the provider's command
// being edited), has the key field's virtual key and the shift keys that the
// field's flags store as (MOD_WIN ignored), and is live in one of `modes`
// (the check boxes' mode bits). The first match in provider, category and
// command order is named. Empty when the field holds no key.
std::u16string AlsoAssignedNotice(const ProviderList& providers, const Command* selected, uint16_t hotKey,
                                  uint16_t modes);

}  // namespace loomkeys
