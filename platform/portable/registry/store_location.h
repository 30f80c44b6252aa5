// Where the store lives when no other file was chosen. It is settled once:
// later changes of the environment or of the current directory (Auto find
// moves to "/") never move it, so that one run keeps one store.
#pragma once

#include <string>

namespace corvant::registry {

// $XDG_DATA_HOME/corvant/registry.reg where that is an absolute path, else
// <home>/.local/share/corvant/registry.reg: the home folder is $HOME (below
// the current directory if it is relative) or, where HOME is unset or
// empty, the user's entry in the password database. False, with the reason
// in problem, when there is no home folder at all.
bool defaultStorePath(std::string &path, std::string &problem);

}  // namespace corvant::registry

// Settles the default store path for the rest of the run, as the program
// does before anything else. False when no home folder can be found;
// registryStoreProblem() then says so.
bool settleRegistryStorePath();
