// The system's standard file dialogs: open a file, save a file, pick a folder (Common Item
// Dialog on Windows, GtkFileChooserDialog on Linux). Each is modal, owned by the active window.
#pragma once

#include "shared/Text.h"

#include <optional>
#include <vector>

namespace Velmora::Platform {

struct TFileType {
    Shared::Text DisplayName; // "Text files"
    Shared::Text Mask;        // "*.txt"
};

struct TFileDialogOptions {
    Shared::Text FileName;            // empty: none set
    Shared::Text Title;               // empty: the system's own caption
    std::vector<TFileType> FileTypes; // empty: no filter
    int FileTypeIndex = 1;            // 1-based, used when FileTypes is not empty
    bool OverwritePrompt = false;     // save only: the dialog confirms replacing a file
};

// The chosen path, or none when the user cancelled or the dialog could not appear. A folder
// ends with the platform's separator.
std::optional<Shared::Text> ShowOpenFileDialog(const TFileDialogOptions& Options);
std::optional<Shared::Text> ShowSaveFileDialog(const TFileDialogOptions& Options);
std::optional<Shared::Text> ShowSelectFolderDialog(const TFileDialogOptions& Options);

} // namespace Velmora::Platform
