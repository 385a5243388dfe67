#pragma once
// The two cursors the edition ships in its cursor folder: "Pointer" (a hand over clickable
// parts) and the animated "Wait".

#include "platform/CursorFile.h"

namespace skin {

// The hand pointer, 32 x 32, with its hot spot at the tip of the index finger.
CCursorImage PaintPointerCursor();

// The busy cursor: a turning ring, 32 x 32, hot spot in the middle, a full turn per second.
CCursorFile PaintWaitCursor();

}  // namespace skin
