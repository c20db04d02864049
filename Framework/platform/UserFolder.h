#pragma once
// Where the user's files live on this system.

#include <string>

namespace zor {

// The user's documents folder: $XDG_DOCUMENTS_DIR, else the documents entry of the XDG
// user-dirs file, else <home>/Documents, where the home folder is $HOME or, when that is
// not set, the user's entry in the password database; empty when none of them is known.
std::string documentsFolder();

// The user folder named by the environment variable ZOR_USER_DIR (tests and CI point it
// at a temporary folder); empty when it is not set.
std::string userFolderOverride();

} // namespace zor
