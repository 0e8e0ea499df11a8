// Set-up shared by every test executable, done before any test runs, as the
// program's entry does it.

#include "dsp/tools.h"

namespace {

struct GslErrorsReturned {
    GslErrorsReturned() { disableGslAbort(); }
} gslErrorsReturned;

} // namespace
