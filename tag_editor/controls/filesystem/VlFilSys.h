#pragma once
// The file-system controls as one unit: the file list, the drive box, the
// directory list, and the directory tree with its change watcher.
#include "tag_editor/controls/filesystem/VlDirNotificationThread.h"
#include "tag_editor/controls/filesystem/VlDirectoryListBox.h"
#include "tag_editor/controls/filesystem/VlDirectoryTree.h"
#include "tag_editor/controls/filesystem/VlDriveComboBox.h"
#include "tag_editor/controls/filesystem/VlFileListBox.h"
#include "tag_editor/controls/filesystem/VlShell.h"
