#pragma once
#include <string>
#include <vector>

#include "platform/base/CommandLine.h"
#include "platform/base/Registry.h"

namespace wb {

// Carries the file types and file-manager verbs of the settings store's
// classes root into the freedesktop desktop, under the user's XDG data
// folder, so the Linux file managers offer them:
//   ".ext" -> ProgId with ProgId\shell\<verb>\command and ProgId\DefaultIcon
//       a MIME type (mime/packages) with the ProgId's text as comment, and a
//       desktop entry (applications) that runs the default verb and is the
//       type's default application (applications/mimeapps.list), both with
//       the icon;
//   "*\shell\<verb>\command", "Unknown\shell\<verb>\command"
//       a Dolphin service menu (kio/servicemenus) and a Nautilus script
//       (nautilus/scripts), for all files or for files of no known type.
// The files written are listed in a manifest, so a verb or type removed
// from the store takes its files with it at the next Sync.
struct MirrorFile {
    std::string path;     // below the data folder, e.g. "mime/packages/wb-brkfile.xml"
    std::string content;
    unsigned mode = 0644;
};

// A stored command line (see CommandLine.h) as a desktop entry's Exec
// value, "%1" becoming %f.
std::string DesktopExec(const std::string& commandLine);

class DesktopMirror {
public:
    static DesktopMirror ForUser();  // $XDG_DATA_HOME
    explicit DesktopMirror(std::string dataHome);

    // What the classes root should look like on the desktop.
    static std::vector<MirrorFile> Plan(const Registry::Key& classesRoot);
    // Writes the planned files, removes those of an earlier Sync that are no
    // longer planned, keeps mimeapps.list's other lines, and refreshes the
    // MIME and desktop databases when their files changed. Throws IoError.
    void Sync(const Registry::Key& classesRoot);

    const std::string& DataHome() const { return dataHome_; }

private:
    std::string dataHome_;
};

} // namespace wb
