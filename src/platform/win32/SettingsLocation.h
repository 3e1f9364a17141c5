#pragma once

#include <cstdint>
#include <string>

#include "data/FilePath.h"
#include "data/ProfileStorage.h"
#include "platform/Services.h"

namespace hk {

// The settings file that belongs beside the program, where this system lets
// it be kept. Beside the program whenever writes can go there, so a copy
// carried on a stick and every settings file already in use stay as they
// are. From a folder that takes no new file (Program Files, a read-only
// share, a CD), for a file whose permissions refuse writes, and from the
// user's temporary folder (where a zip opened without unpacking puts the
// program, to be thrown away later) it is the user's own copy in the user's
// application-data folder, under a folder of the program's name, started
// from the file beside the program. When no such copy can be had, the file
// beside the program is read and this run saves nothing.
SettingsPlace SettingsLocation(const FilePath& besideProgram, const std::wstring& programName,
                               ProfileStorage& storage);

// The user's copy in userFolder: found there, or made from besideProgram when
// it is not there yet; with nothing beside the program, the first write makes
// it. Only the making takes the writers' lock (so that a second copy of the
// program starting at the same moment finds it whole): a lock held elsewhere
// never keeps the program from a copy that is there. Storage must be the
// system's own, which tells the reason of a failure.
struct UserCopyOutcome {
  FilePath file;            // empty when no copy could be had
  std::uint32_t error = 0;  // then the system's code of why
};
UserCopyOutcome UserCopy(const FilePath& besideProgram, const FilePath& userFolder,
                         ProfileStorage& storage);

// Whether path is folder or lies inside it, both resolved full paths; letters
// compare without case, as the system's names do. A drive's or a share's root
// holds no path this way: a temporary folder set to one must not claim the
// whole disk.
bool LiesInside(const std::wstring& path, const std::wstring& folder);

}  // namespace hk
