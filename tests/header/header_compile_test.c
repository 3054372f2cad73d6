/* loomkeys.h as a C11 client sees it. Built with -Wall -Wextra -Werror
   -pedantic: a header that stops compiling cleanly as C breaks the build.
   The calls below go through the DLL's import library, in C's own layout
   of the provider record. */
#include "loomkeys.h"

int CClientUsesTheHeader(void);

static void LOOMKEYS_CALL OnCreateUI(TUIDataHandle* lpSlot) { *lpSlot = CreateUIData(); }

static void LOOMKEYS_CALL OnDestroyUI(TUIDataHandle uiData, uint16_t uCancelled) {
  (void)uCancelled;
  DestroyUIData(uiData);
}

/* 0 when every call answered as documented, else the number of the first
   call that did not. */
int CClientUsesTheHeader(void) {
  TUIProvider provider = {0};
  TUIProviderHandle handle = NULL;
  TUIDataHandle tree;
  uint16_t key = 0, shift = 0;

  provider.Native.Version = LOOMKEYS_PROVIDER_NATIVE;
  provider.Native.OnCreateUI = OnCreateUI;
  provider.Native.OnDestroyUI = OnDestroyUI;
  if (RegisterUIProvider(&provider, &handle) != LOOMKEYS_OK || handle == NULL) return 1;
  if (UnregisterUIProvider(handle) != LOOMKEYS_OK) return 2;

  tree = CreateUIData();
  if (tree == NULL) return 3;
  if (AddCommand(tree, "Editing", "Bold", "Makes the selection bold", 'B', LOOMKEYS_MOD_CONTROL) != LOOMKEYS_OK)
    return 4;
  if (GetCommand(tree, "Editing", "Bold", &key, &shift) != LOOMKEYS_OK || key != 'B' || shift != LOOMKEYS_MOD_CONTROL)
    return 5;
  DestroyUIData(tree);
  return 0;
}
