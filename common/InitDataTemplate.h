// The template backups from which new company data is created: one per
// data system, named by AccDataInitFile, looked up in a folder without
// regard to the letter case of the stored file names.
#pragma once

#include <QString>

// Template number of a data kind and code kind: data kind 1 gives 11, data
// kind 2 with code kinds 1 to 4 gives 21 to 24, data kind 3 gives 31; any
// other combination has no template (0).
int fnAccDataInitNo(int ADataKbn, int ACodeKbn);

// File name of a template number (11, 21 to 24, 31) as AccDataInitFile
// holds it; empty for any other number.
QString fnAccDataInitFileName(int ATemplateNo);

// Path of the template of the kinds as it lies in AFolder: the file of the
// exact name when there is one, else the first file (by name) whose name
// equals it without regard to case. Empty when the combination has no
// template or no such file is in the folder.
QString fnFindAccDataInitFile(const QString& AFolder, int ADataKbn, int ACodeKbn);
