#include "app/program_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/configuration.h"
#include "app/session.h"
#include "support/fake_ui.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

const FolderEnvironment kHome{"/home/u/.cfg", "/home/u/.data", "/home/u"};

TEST(ProgramFolders, PlaceTheFilesOfEachKindOfCopy) {
    // A writable portable copy keeps everything; an installed share is read last.
    ProgramFolders own = resolveProgramFolders("/opt/o", ProgramFolderUse::Own, "", kHome);
    EXPECT_EQ(own.program, "/opt/o/");
    EXPECT_EQ(own.config, "/opt/o/");
    EXPECT_EQ(own.userData, "/opt/o/");
    EXPECT_EQ(own.documents, "/opt/o/");
    EXPECT_EQ(own.searchOrder(), (std::vector<std::string>{"/opt/o/"}));
    own = resolveProgramFolders("/opt/o/", ProgramFolderUse::Own, "/opt/o/../share/orvane", kHome);
    EXPECT_EQ(own.searchOrder(), (std::vector<std::string>{"/opt/o/", "/opt/share/orvane/"}));

    // An installed copy: the user's folders, then the shipped files; never bin/.
    const ProgramFolders installed = resolveProgramFolders("/usr/bin/", ProgramFolderUse::Installed,
                                                           "/usr/bin/../share/orvane", kHome);
    EXPECT_EQ(installed.config, "/home/u/.cfg/orvane/");
    EXPECT_EQ(installed.userData, "/home/u/.data/orvane/");
    EXPECT_EQ(installed.documents, "/home/u/");
    EXPECT_EQ(installed.searchOrder(),
              (std::vector<std::string>{"/home/u/.data/orvane/", "/usr/share/orvane/"}));

    // A read-only portable copy is read after the user's folder; relative XDG
    // variables are ignored for HOME's folders.
    const ProgramFolders readOnly = resolveProgramFolders("/media/o/", ProgramFolderUse::ReadOnly,
                                                          "", {"cfg", "data", "/home/u"});
    EXPECT_EQ(readOnly.config, "/home/u/.config/orvane/");
    EXPECT_EQ(readOnly.searchOrder(),
              (std::vector<std::string>{"/home/u/.local/share/orvane/", "/media/o/"}));

    // Without HOME or XDG variables there is nowhere else.
    const ProgramFolders homeless =
        resolveProgramFolders("/media/o/", ProgramFolderUse::ReadOnly, "", {});
    EXPECT_EQ(homeless.config, "/media/o/");
    EXPECT_EQ(homeless.userData, "/media/o/");
}

TEST(ProgramFolders, FilesOfReadOnlyFoldersAreWrittenToTheUsersFolder) {
    const ProgramFolders f = resolveProgramFolders("/usr/bin/", ProgramFolderUse::Installed,
                                                   "/usr/bin/../share/orvane", kHome);
    EXPECT_EQ(f.writablePath("/usr/share/orvane/ChMatrix/a.sum"),
              "/home/u/.data/orvane/ChMatrix/a.sum");
    EXPECT_EQ(f.writablePath("/usr/bin/../share/orvane/ChMatrix/a.sum"),
              "/home/u/.data/orvane/ChMatrix/a.sum");
    EXPECT_EQ(f.writablePath("/home/u/.data/orvane/ChMatrix/a.sum"),
              "/home/u/.data/orvane/ChMatrix/a.sum");
    EXPECT_EQ(f.writablePath("/usr/share/orvane2/a.sum"), "/usr/share/orvane2/a.sum");
    EXPECT_EQ(f.writablePath("/tmp/a.sum"), "/tmp/a.sum");
    EXPECT_EQ(configurationPath(f), "/home/u/.cfg/orvane/Orvane.ini");
    const ProgramFolders own = resolveProgramFolders("/opt/o/", ProgramFolderUse::Own, "", kHome);
    EXPECT_EQ(own.writablePath("/opt/o/ChMatrix/a.sum"), "/opt/o/ChMatrix/a.sum");
    EXPECT_EQ(configurationPath(own), "/opt/o/Orvane.ini");
}

// A user's and a shipped folder under a temporary folder.
struct InstalledCopy {
    test::TempDir dir;
    ProgramFolders folders = resolveProgramFolders(
        dir.file("bin"), ProgramFolderUse::Installed, dir.file("share/orvane"),
        {dir.file("home/.config"), dir.file("home/.local/share"), dir.file("home")});
    std::string user(const std::string& name) const {
        return folders.userData + "ChMatrix/" + name;
    }
    std::string shipped(const std::string& name) const {
        return folders.readOnly.back() + "ChMatrix/" + name;
    }
    void put(const std::string& path, const std::string& content) const {
        fs::create_directories(folderOf(path));
        test::writeBytes(path, content);
    }
};

TEST(ProgramFolders, AMatrixNameIsFoundInTheCurrentFolderThenInTheSearchOrder) {
    InstalledCopy copy;
    copy.put(copy.shipped("both.sum"), "s");
    copy.put(copy.shipped("shipped.sum"), "s");
    copy.put(copy.user("both.sum"), "u");
    EXPECT_EQ(findMatrixFile("both.sum", copy.folders), copy.user("both.sum"));
    EXPECT_EQ(findMatrixFile("shipped.sum", copy.folders), copy.shipped("shipped.sum"));
    EXPECT_EQ(findMatrixFile("none.sum", copy.folders), "none.sum");
    EXPECT_EQ(findMatrixFile("./shipped.sum", copy.folders), "./shipped.sum");
    // One in the current folder is taken as it is.
    const fs::path before = fs::current_path();
    fs::current_path(copy.dir.path());
    test::writeBytes("both.sum", "here");
    const std::string inCurrent = findMatrixFile("both.sum", copy.folders);
    fs::current_path(before);
    EXPECT_EQ(inCurrent, "both.sum");
}

TEST(ProgramFolders, ASavedShippedMatrixBecomesTheUsersCopy) {
    InstalledCopy copy;
    const std::string shipped = copy.shipped("font.sum");
    fs::create_directories(folderOf(shipped));
    fs::copy_file(std::string(ORVANE_SHIPPED_MATRICES) + "/dejavu-sans-bold-30.sum", shipped);
    const auto shippedBytes = fs::file_size(shipped);
    test::FakeUi ui;
    Session s(ui);
    s.setProgramFolders(copy.folders);
    ASSERT_TRUE(s.loadMatrixFile(shipped, s.matrix()));
    MatrixEntry extra = s.matrix().entry(1);
    extra.text = "new";
    ASSERT_TRUE(s.addMatrixEntry(extra));
    s.saveMatrixCommand();
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(s.matrix().fileName(), copy.user("font.sum"));
    EXPECT_FALSE(s.matrix().modified());
    EXPECT_GT(fs::file_size(copy.user("font.sum")), shippedBytes);
    EXPECT_EQ(fs::file_size(shipped), shippedBytes);
}

TEST(ProgramFolders, AnInstalledCopysDialogsAndLanguageTemplateUseTheUsersFolders) {
    InstalledCopy copy;
    fs::create_directories(copy.shipped(""));
    test::FakeUi ui;
    Session s(ui);
    s.setProgramFolders(copy.folders);
    loadConfiguration(s, copy.dir.file("none.ini"));
    // The user's matrix folder is not there yet: matrices open from the shipped one.
    EXPECT_EQ(s.settings().openDialogCharMatrix, copy.shipped(""));
    EXPECT_EQ(s.settings().saveDialogCharMatrix, copy.user(""));
    EXPECT_EQ(s.settings().openDialogVob, copy.dir.file("home") + "/");
    writeLanguageTemplate(s, {});
    EXPECT_TRUE(fs::is_regular_file(copy.folders.userData + "lang/New_LangFile.lng"));
    EXPECT_FALSE(fs::exists(copy.dir.file("bin")));
}

}  // namespace
}  // namespace orvane
