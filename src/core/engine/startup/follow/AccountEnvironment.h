#pragma once
// Environment variables as a given account would see them. The running program has only its
// own user's environment; a text read from another account's profile (a shortcut in its
// start-up folder) means that account's folders by %USERPROFILE%, %APPDATA% and their kin.
#include <string>

#include "platform/System.h"

namespace zorvik {

// The text with its variables expanded by the system's environment; as written where the
// system has none.
std::string ExpandVariables(platform::System& sys, const std::string& text);

// The same for the account whose profile folder is given: the variables that name places of a
// user's profile (USERPROFILE, HOMEPATH, APPDATA, LOCALAPPDATA) name them below that folder,
// as far as the running program's own values tell where they lie in a profile; USERNAME is
// the folder's name. An empty profile folder: ExpandVariables.
std::string ExpandForAccount(platform::System& sys, const std::string& text,
                             const std::string& profileFolder);

}  // namespace zorvik
