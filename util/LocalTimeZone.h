#pragma once

namespace md::util {

// Names the workstation's own zone file in TZ when TZ is unset, so that the C library reads the
// zone once instead of looking at /etc/localtime again for every date converted to local time
// (with TZ unset glibc checks the file on each conversion, which a grid of dates or a batch
// of date writes pays for thousands of times). The zone is the same one either way; a zone
// changed on the workstation while the program runs is taken at its next start. Call first in
// main, before any thread starts.
void PinLocalTimeZone();

}  // namespace md::util
