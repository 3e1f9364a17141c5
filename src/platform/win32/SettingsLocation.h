#pragma once

#include <string>

#include "data/FilePath.h"

#include "data/ProfileStorage.h"

namespace hk {

// The settings file that belongs beside the program, where this system lets
// it be kept. Beside the program whenever writes can go there, so a copy
// carried on a stick and every settings file already in use stay as they
// are. From a folder that takes no file (Program Files, a read-only share, a
// CD) it is the user's own copy in the user's application-data folder,
// under a folder of the program's name, started from the file beside the
// program; beside the program again when no such copy can be had.
FilePath SettingsLocation(const FilePath& besideProgram, const std::wstring& programName,
                          ProfileStorage& storage);

// The user's copy in userFolder, made from besideProgram when it is not
// there yet (under the writers' lock, so a second copy of the program
// starting at the same moment finds it whole). Nothing when it cannot be
// made.
FilePath UserCopy(const FilePath& besideProgram, const FilePath& userFolder,
                  ProfileStorage& storage);

}  // namespace hk
