#pragma once
// The icon a row shows for its item: the shell's icon of what the item opens,
// or of the shell folder a special-folder item stands for.
#include "launcher/ItemModel.h"
#include "platform/Handles.h"

namespace kelvo {

// An empty holder when the shell has no icon for the item (a web address
// without a favicon, a missing file).
win::UniqueIcon loadItemIcon(const TItemData& item);

} // namespace kelvo
