// Placeholders for routines whose home area is not built yet (see pending.h).
// Each reports a clear error and never fakes a result. Delete a placeholder
// when its real routine lands. None is left at present: a new one reports
// through report_error_message(47, "... is not available in this build.").
#include "interpreter/pending.h"
