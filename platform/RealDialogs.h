#pragma once
// The boxes and file dialogs as the user sees them (the seam in Dialogs.cpp decides when).
#include <QString>
#include <optional>
#include <vector>

#include "platform/Dialogs.h"

namespace platform::detail {

Button runMessageBox(BoxKind kind, const QString& caption, const QString& text,
                     const std::vector<Button>& buttons, int helpContext);

enum class FileDialogKind { Open, Save };
std::optional<QString> runFileDialog(FileDialogKind kind, const FileDialogOptions& options);
std::optional<QString> runDirectoryDialog(const QString& title, const QString& initialDir);

// The button that Escape or the window's close button gives: Cancel, else No, else OK.
Button escapeAnswer(const std::vector<Button>& buttons);

}  // namespace platform::detail
