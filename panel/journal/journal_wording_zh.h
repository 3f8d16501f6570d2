#pragma once

#include "journal/journal_wording.h"

namespace lq {

// The journal's texts in the panel's language, through Qt's translation.
JournalWording PanelJournalWording();

} // namespace lq
