#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, context menus, the command-line help) in French, whatever the
// operator's locale: the tool speaks French, while the locale still decides how numbers are read.
// Looks in Qt's translations directory, then in "translations" beside the program (a Windows deployment).
// False when no French catalogue was found: Qt's texts then stay in English, nothing else changes.
bool installerTraductionsQt(QCoreApplication& application);
