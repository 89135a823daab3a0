#pragma once
// Qt's own texts (message-box buttons, the file, colour, font and print
// dialogs) in Japanese, whatever the desktop's locale: the program speaks
// Japanese throughout.

class QTranslator;

// Installs Qt's Japanese catalogue into the running application once; later
// calls do nothing.  Returns the translator (owned by the application), or
// nullptr when the catalogue is not installed on this machine.
QTranslator* installQtTranslations();
