#pragma once
// Opening a page of the program's HTML manual in the system's viewer. The
// manual lives in the help folder of the system definitions (SystemDef.HELP):
// its start pages directly there, every other page in "olm.files" below it.

#include <QString>

// The file of a manual page; empty for an empty page name. The page name is
// compared with the start-page names exactly (letter case counts).
QString fnHtmlHelpPath(const QString& APage);

// Opens the page with the desktop's viewer; an empty name opens nothing.
// What the viewer makes of a missing page is its own affair: always 0.
int fnHtmlHelpOpen(const QString& APage);
