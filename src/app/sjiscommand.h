#pragma once
// "S-Jis変換(&S)": converts the current document from JIS or EUC-JP to
// Shift_JIS, line by line, in one undoable edit.

#include "charset/autosjisconv.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include "charset/sjis.h"
#include <optional>

class QPlainTextEdit;
class TFmMain;

// Converts every line of `text` (lines separated by '\n') with `conv`, first
// to last.  Each line goes to bytes through the lossless text layer and back;
// a line that the text layer cannot hold as Shift_JIS (a character typed
// from outside code page 932) is kept as it is and leaves the shift state
// alone.
QString convertTextToSjis(TAutoSjisConv& conv, QStringView text);

// Converts the editor's whole text and replaces it in one undoable edit;
// the caret keeps its line and, as far as the line allows, its column.
// Nothing is touched (not even the modified flag) when no line changes.
// Returns true when the text changed.
bool convertEditorToSjis(TAutoSjisConv& conv, QPlainTextEdit& edit);

// A document read in another encoding becomes a Shift_JIS one: its text
// stays, a charset its page declares is made Shift_JIS (one edit), and it is
// marked changed.  Nothing changes when Shift_JIS cannot hold a character:
// the error says where.
struct Document;
std::optional<sjis::EncodeError> makeShiftJis(Document& doc);

class SjisCommandUnit : public QObject {
    Q_OBJECT
public:
    explicit SjisCommandUnit(TFmMain& main);

    void MSjisClick();

    // The converter of the main window; its shift state lasts as long as it.
    TAutoSjisConv AutoSjisConv1;

private:
    TFmMain& m_main;
};
