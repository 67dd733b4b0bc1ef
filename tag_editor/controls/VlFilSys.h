#pragma once
// The file-system controls as one unit: the file list, the drive box, the
// directory list, and the directory tree with its change watcher.
#include "tag_editor/controls/VlDirNotificationThread.h"
#include "tag_editor/controls/VlDirectoryListBox.h"
#include "tag_editor/controls/VlDirectoryTree.h"
#include "tag_editor/controls/VlDriveComboBox.h"
#include "tag_editor/controls/VlFileListBox.h"
#include "tag_editor/controls/VlShell.h"
