#pragma once

#include <string>
#include <vector>

namespace orvane {

// The folder the program's files live in (ChMatrix/, lang/, the
// configuration), ending with '/': $ORVANE_HOME when set, else the folder
// of the running executable.
std::string defaultProgramFolder();

// "/a/b/c.sum" -> "c.sum".
std::string fileNameOf(const std::string& path);
// "/a/b/c.sum" -> "/a/b/".
std::string folderOf(const std::string& path);

// How the program folder may be used.
enum class ProgramFolderUse {
    Own,        // a writable portable copy or $ORVANE_HOME: everything lives there
    ReadOnly,   // a portable copy in a read-only folder: its files are read, never written
    Installed,  // the bin folder of an installed copy: nothing of ours lives there
};

// Where Orvane keeps and looks for its files. Every folder ends with '/'.
struct ProgramFolders {
    std::string program;    // $ORVANE_HOME or the executable's folder
    std::string config;     // the folder of Orvane.ini
    std::string userData;   // where matrices and language files are written (ChMatrix/, lang/)
    std::string documents;  // start folder of dialogs that default to the program folder
    // Folders read after userData, in this order, each holding ChMatrix/ and
    // lang/: a read-only program folder, then the installed share/orvane/.
    std::vector<std::string> readOnly;

    // userData, then readOnly: the order in which matrices and language
    // files are looked for (a file in an earlier folder hides its namesakes).
    std::vector<std::string> searchOrder() const;
    // Where a file read from `path` is written back: in the user's folder
    // under the same relative name when `path` lies in a read-only folder,
    // else `path` itself.
    std::string writablePath(const std::string& path) const;
};

// The parts of the environment that place the user's folders.
struct FolderEnvironment {
    std::string configHome;  // $XDG_CONFIG_HOME
    std::string dataHome;    // $XDG_DATA_HOME
    std::string home;        // $HOME
    static FolderEnvironment fromProcess();
};

// The folders for a program folder used as `use`; `installedData` is the
// installed share/orvane/ folder, empty when there is none. Relative XDG
// variables are ignored, as the XDG rules say; without them and without
// HOME the program folder stays the only place.
ProgramFolders resolveProgramFolders(const std::string& program, ProgramFolderUse use,
                                     const std::string& installedData,
                                     const FolderEnvironment& env);

// The folders of the running program with `program` as its program folder:
// an executable with share/orvane/ beside its bin folder is an installed
// copy; otherwise the program folder is Own when writable.
ProgramFolders programFolders(const std::string& program);

// The file a matrix argument names: a name with a folder, or one that exists
// as given, is taken as it is; a bare name is looked for in ChMatrix/ of each
// folder of the search order. An unknown name is returned unchanged, so that
// opening it reports it.
std::string findMatrixFile(const std::string& name, const ProgramFolders& folders);

}  // namespace orvane
