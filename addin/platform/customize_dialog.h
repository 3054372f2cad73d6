#pragma once
// The Customize Shortcuts dialog as the Customize session sees it: one modal
// run over the providers' trees, which the dialog edits in place.
#include "customize/provider_list.h"

namespace loomkeys {

class CustomizeDialog {
 public:
  virtual ~CustomizeDialog() = default;
  // Shows the dialog modally over every provider's tree in list order and
  // returns once it has closed: true when it ended with the cancel result
  // (Cancel, Esc or the close box), false after OK. The dialog's view trees
  // are gone when it returns; the providers' trees keep what was stored.
  // May throw; the caller reports the error after its clean-ups.
  virtual bool Run(ProviderList& providers) = 0;
};

}  // namespace loomkeys
