// Keeps Windows from asking the user to insert a disk while the program only
// looks at drives: with critical errors failed quietly, a query on an empty
// floppy or card reader just fails instead of stopping everything with a
// system box. The previous mode comes back when the scope ends.
#pragma once

#include "platform/os.h"

namespace kelvra {

class QuietDriveErrors {
  public:
    explicit QuietDriveErrors(Os& os)
        : os_(os), previous_(os.SetErrorMode(kSemFailCriticalErrors)) {
        // SetErrorMode replaces the whole mode; keep the bits others set.
        if (previous_ & ~kSemFailCriticalErrors)
            os_.SetErrorMode(previous_ | kSemFailCriticalErrors);
    }
    ~QuietDriveErrors() { os_.SetErrorMode(previous_); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    Os& os_;
    uint32_t previous_;
};

}  // namespace kelvra
