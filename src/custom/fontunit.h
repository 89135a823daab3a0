#pragma once
// "ﾌｫﾝﾄ設定(&F)" (MFont): the editors' font and colours, edited in TFmFont
// and, when a document is open, given to every editor and saved.  The
// setting itself and its [Font] keys belong to the main window.

#include "custom/tfmfont.h"

#include <QObject>
#include <QPointer>

class EditorHost;
class QAction;

class FontUnit : public QObject {
    Q_OBJECT
public:
    // `mFont`: the Settings menu's "ﾌｫﾝﾄ設定(&F)".
    FontUnit(EditorHost& host, QAction* mFont);
    ~FontUnit() override;

    TFmFont* dialog() const { return m_dialog; }

    void MFontClick();

private:
    EditorHost& m_host;
    QPointer<TFmFont> m_dialog;
};
