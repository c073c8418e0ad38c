// One side of a comparison.
#pragma once

#include "support/Text.h"

namespace velmora {

struct TFileInfo {
  Text FileFromPVCS;  // the file the side stands for: PVCS's file, or the working file
  Text CaptionForBC;  // the caption Beyond Compare shows
  Text Version;       // shown right after the caption: revision, label, " (workfile)" or empty
  Text FileForBC;     // the file Beyond Compare is given
  bool ReadOnly = true;
  bool UseHelper = false;  // deletion is handed to the deferred-deletion server
  bool Moved = false;      // Velmora moved FileFromPVCS to FileForBC, so it must go back
};

}  // namespace velmora
