// Update: NewMPAKs\<the archive's file name> made from the archive and a folder of edited files
// without a full repack, with the log, progress and status line of a pack.
#pragma once

#include "shell/outcome.h"
#include "update/update_plan.h"

struct Form;

// Done when the archive was written, or when nothing differs (which is said, and nothing is
// written); failed with the error box's text otherwise, NewMPAKs as it was.
Outcome UpdateMPAK(Form& form, const UpdateRequest& request);
