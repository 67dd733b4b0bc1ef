#pragma once
// The rules of the file-system controls that need no window: drive kinds and
// file attributes as the controls filter them, mask matching, the orders the
// lists sort in, and the names a folder may be given.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/base/Volumes.h"
#include "tag_editor/controls/VlCommon.h"

namespace velmora {

// Drive kinds in the order of the platform's drive-type codes 0 to 6.
enum TDriveType { dtUnknown, dtNoDrive, dtFloppy, dtFixed, dtNetwork, dtCDROM, dtRAM };

using TDriveTypes = TVlSet<TDriveType>;

TDriveType DriveTypeOf(wb::VolumeKind kind);

// The drives each control offers: the tree every drive of a chosen type and
// those without a root, the box removable to RAM drives of a chosen type.
bool TreeShowsDrive(wb::VolumeKind kind, TDriveTypes types);
bool BoxListsDrive(wb::VolumeKind kind, TDriveTypes types);
// Whether the tree looks for a drive's subfolders before the drive is
// opened: not on removable media and discs, which are touched only then.
bool LooksAheadOnDrive(wb::VolumeKind kind);
// A network form "//server/share/rest" split into the share with its
// trailing '/' and the rest from its leading '/'; false for other paths.
bool SplitNetworkPath(const std::string& path, std::string& share, std::string& rest);

// File attributes as the list filters them. On Linux: hidden is a leading
// dot, read-only is "not writable by this user", system is anything neither
// a regular file nor a folder (devices, sockets, pipes); volume id and
// archive are never set.
enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

using TFileType = TVlSet<TFileAttr>;

constexpr uint32_t faReadOnly = 1, faHidden = 2, faSysFile = 4, faVolumeID = 8, faDirectory = 16,
                   faArchive = 32;

// The attribute bits a file type asks for.
uint32_t AttrMaskOf(TFileType type);
// Whether an entry with these attributes is listed for the file type: hidden,
// system, volume and folder entries only when asked for, and without
// ftNormal only entries that carry an attribute asked for.
bool FileTypeLists(TFileType type, uint32_t attr);

// True when a name matches a pattern of '*' and '?', without regard to case;
// "*.*" matches every name. '?' stands for one character, not one byte.
bool MatchesMask(const std::string& name, const std::string& pattern);
// The patterns of a mask such as "*.mp3;*.wav", empty ones left out.
std::vector<std::string> SplitMask(const std::string& mask);

// The file list's order: folders first, then names without regard to case.
int CompareFileEntries(bool aIsDir, const std::string& a, bool bIsDir, const std::string& b);
// The folder lists' order: names without regard to case, names that differ
// only in case in their byte order, so the order never depends on reading.
bool FolderNameLess(const std::string& a, const std::string& b);

// A name a folder may be renamed to: not empty, not "." or "..", and none of
// the characters \ / : * ? " < > |.
bool ValidFolderName(const std::string& name);

// A volume label as the drive controls show it: lower case with a capital
// first letter.
std::string CapitalizedLabel(const std::string& label);

// A local time packed as date and time words (seconds in steps of two);
// 0 before 1980.
uint32_t PackedDateTime(const std::tm& local);

// The lower-case extension with its dot; empty when there is none (a leading
// dot starts a hidden name, not an extension).
std::string LowerExtension(const std::string& name);
// Extensions whose files each carry an icon of their own, never cached.
bool PerFileIconExtension(const std::string& ext);

std::string WithSlash(std::string path);
std::string WithoutSlash(std::string path);

} // namespace velmora
