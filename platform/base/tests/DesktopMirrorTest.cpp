#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/base/DesktopMirror.h"
#include "platform/base/File.h"
#include "platform/base/ProgramPaths.h"
#include "platform/base/TextFile.h"
#include "platform/testing/DoneSignal.h"
#include "platform/testing/XdgSandbox.h"

using namespace wb;

namespace {

const auto CR = RegRoot::ClassesRoot;

std::string Read(const std::string& path) { return ReadWholeFile(path).value_or("<missing>"); }

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

void WritePieceType(Registry& reg) {
    reg.SetString(CR, ".brk", "", "brkfile");
    reg.SetString(CR, "brkfile", "", "Parvex File-Piece");
    reg.SetString(CR, "brkfile\\shell", "", "join");
    reg.SetString(CR, "brkfile\\shell\\join", "", "&Reassemble the File");
    reg.SetString(CR, "brkfile\\shell\\join\\command", "", "\"/opt/my tools/parvex\" \"%1\"");
    reg.SetString(CR, "brkfile\\DefaultIcon", "", "/opt/my tools/share/icons/parvex.svg");
}

} // namespace

TEST(DesktopMirror, CommandLinesBecomeExecValues) {
    EXPECT_EQ(SplitCommandLine("\"/a b/parvex\"  Tamrel \"%1\""),
              (std::vector<std::string>{"/a b/parvex", "Tamrel", "%1"}));
    EXPECT_EQ(SplitCommandLine("x \"\" y"), (std::vector<std::string>{"x", "", "y"}));
    EXPECT_EQ(DesktopExec("/opt/parvex %1"), "/opt/parvex %f");
    EXPECT_EQ(DesktopExec("\"/opt/my tools/parvex\" Tamrel \"%1\""),
              "\"/opt/my tools/parvex\" Tamrel %f");
    // Characters the Exec rules reserve are quoted, '%' doubled, and the
    // backslashes of the quoting doubled again by the entry's own escaping.
    EXPECT_EQ(DesktopExec("\"/a/$x\" 50%"), "\"/a/\\\\$x\" \"50%%\"");
}

TEST(DesktopMirror, PieceTypeBecomesMimeTypeAndDefaultApplication) {
    test::XdgSandbox xdg;
    std::string data = xdg.DataHome();
    // Another program's default must survive our edits.
    MakeFolders(data + "/applications");
    WriteFileReplacing(data + "/applications/mimeapps.list",
                       "[Default Applications]\ntext/plain=editor.desktop;\n\n[Added Associations]\n"
                       "image/png=viewer.desktop;\n");
    Registry reg = Registry::User();
    WritePieceType(reg);

    std::string xml = Read(data + "/mime/packages/wb-brkfile.xml");
    EXPECT_TRUE(Contains(xml, "<mime-type type=\"application/x-wb-brkfile\">"));
    EXPECT_TRUE(Contains(xml, "<comment>Parvex File-Piece</comment>"));
    EXPECT_TRUE(Contains(xml, "<glob pattern=\"*.brk\"/>"));
    // A MIME type names its icon by theme name; the entry takes the file.
    EXPECT_TRUE(Contains(xml, "<icon name=\"parvex\"/>"));

    std::string entry = Read(data + "/applications/wb-brkfile.desktop");
    EXPECT_TRUE(Contains(entry, "Name=Reassemble the File\n"));
    EXPECT_TRUE(Contains(entry, "Exec=\"/opt/my tools/parvex\" %f\n"));
    EXPECT_TRUE(Contains(entry, "MimeType=application/x-wb-brkfile;\n"));
    EXPECT_TRUE(Contains(entry, "Icon=/opt/my tools/share/icons/parvex.svg\n"));

    std::string apps = Read(data + "/applications/mimeapps.list");
    EXPECT_TRUE(Contains(apps, "[Default Applications]\ntext/plain=editor.desktop;\n"
                               "application/x-wb-brkfile=wb-brkfile.desktop;\n"));
    EXPECT_TRUE(Contains(apps, "image/png=viewer.desktop;"));

    // Where the desktop's own tool exists, the type is really known to it.
    if (FileExists("/usr/bin/update-mime-database")) {
        EXPECT_TRUE(Contains(Read(data + "/mime/globs2"), "application/x-wb-brkfile:*.brk"));
    }

    // Removing the type removes its files and its default, nothing else.
    reg.DeleteKey(CR, ".brk");
    EXPECT_FALSE(FileExists(data + "/mime/packages/wb-brkfile.xml"));
    EXPECT_FALSE(FileExists(data + "/applications/wb-brkfile.desktop"));
    apps = Read(data + "/applications/mimeapps.list");
    EXPECT_FALSE(Contains(apps, "brkfile"));
    EXPECT_TRUE(Contains(apps, "text/plain=editor.desktop;"));
}

TEST(DesktopMirror, FileVerbsForAllFilesOrUnknownOnes) {
    test::XdgSandbox xdg;
    std::string data = xdg.DataHome();
    Registry reg = Registry::User();
    const std::string cmd = "\"/opt/parvex\" Tamrel \"%1\"";
    reg.SetString(CR, "*\\shell\\Cut Using Parvex\\command", "", cmd);

    std::string menu = data + "/kio/servicemenus/wb-all-cut-using-parvex.desktop";
    std::string script = data + "/nautilus/scripts/Cut Using Parvex";
    EXPECT_TRUE(Contains(Read(menu), "MimeType=all/allfiles;"));
    EXPECT_TRUE(Contains(Read(menu), "Name=Cut Using Parvex\nExec=/opt/parvex Tamrel %f\n"));
    EXPECT_EQ(ModeOf(menu), 0755u);  // Dolphin runs only executable menus
    EXPECT_TRUE(Contains(Read(script), "'/opt/parvex' 'Tamrel' \"$f\""));
    EXPECT_FALSE(Contains(Read(script), "octet-stream"));
    EXPECT_EQ(ModeOf(script), 0755u);

    // Option two's shape: the verb moves to files of no known type.
    reg.DeleteKey(CR, "*\\Shell\\Cut Using Parvex");
    reg.SetString(CR, "Unknown\\shell\\Cut Using Parvex\\command", "", cmd);
    EXPECT_FALSE(FileExists(menu));
    std::string unknownMenu = data + "/kio/servicemenus/wb-unknown-cut-using-parvex.desktop";
    EXPECT_TRUE(Contains(Read(unknownMenu), "MimeType=application/octet-stream;"));
    EXPECT_TRUE(Contains(Read(script), "application/octet-stream"));

    // Option three's shape: nothing left on the desktop.
    reg.DeleteKey(CR, "Unknown\\Shell\\Cut Using Parvex");
    EXPECT_FALSE(FileExists(unknownMenu));
    EXPECT_FALSE(FileExists(script));
}

TEST(DesktopMirror, NautilusScriptHandsEachFileToTheCommand) {
    test::XdgSandbox xdg;
    TempDir dir;
    // A stand-in program that records its arguments, one per line.
    std::string fake = dir / "record";
    wb::test::DoneSignal done;
    WriteFileReplacing(fake, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done >> \"" + (dir / "log") +
                                 "\"\n" + done.Command() + "\n", 0755);
    Registry reg = Registry::User();
    reg.SetString(CR, "*\\shell\\Cut Using Parvex\\command", "", "\"" + fake + "\" Tamrel \"%1\"");
    std::string script = xdg.DataHome() + "/nautilus/scripts/Cut Using Parvex";
    std::string arg = dir / "a file with 'quotes' and $signs";
    ::setenv("WB_ARG", arg.c_str(), 1);
    ASSERT_EQ(std::system(("'" + script + "' \"$WB_ARG\"").c_str()), 0) << arg;
    // The script starts the command in the background.
    std::string expected = "Tamrel\n" + arg + "\n";
    EXPECT_TRUE(done.Wait());
    EXPECT_EQ(Read(dir / "log"), expected);
}
