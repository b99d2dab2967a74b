#pragma once
// The help viewer: help files in the program folder with their fixed names ("aq_oh.HLP",
// "desc.HLP", "ex.HLP", "zozezu.hlp"), opened at a topic identifier or at a help context.
#include <QString>

namespace platform {

// The application's help file (a full path); the context help of screens and boxes uses it.
void setApplicationHelpFile(const QString& path);
QString applicationHelpFile();

void showHelpTopic(const QString& helpFile, const QString& topic);
void showHelpContext(const QString& helpFile, int context);
inline void showHelpContext(int context) { showHelpContext(applicationHelpFile(), context); }

}  // namespace platform
