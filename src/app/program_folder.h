#pragma once

#include <string>

namespace orvane {

// The folder the program's files live in (ChMatrix/, lang/, the
// configuration), ending with '/': $ORVANE_HOME when set, else the folder
// of the running executable.
std::string defaultProgramFolder();

// "/a/b/c.sum" -> "c.sum".
std::string fileNameOf(const std::string& path);
// "/a/b/c.sum" -> "/a/b/".
std::string folderOf(const std::string& path);

}  // namespace orvane
