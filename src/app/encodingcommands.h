#pragma once
// "文字コード(&E)" under the File menu: reopening the current document in an
// encoding the user names, saving a copy of it in another, and the encoding
// new documents get.  The status bar's last panel names the current
// document's encoding.

#include "app/settingsclient.h"
#include "charset/encodings.h"

#include <QObject>

class TFmMain;
struct Document;

class EncodingCommands : public QObject, public SettingsClient {
    Q_OBJECT
public:
    explicit EncodingCommands(TFmMain& main);

    // Reads the current document's file again in `e`, in the same tab,
    // after asking whether its changes may go.  False when nothing was
    // reopened.
    bool reopenIn(charset::Encoding e);
    // Writes the current document's text in `e` under a name the user
    // gives; the document itself stays as it is.
    bool saveCopyIn(charset::Encoding e);

    void load(const Settings& settings) override;
    void store(Settings& settings) const override;

private:
    void showMenu();
    void warn(const QString& text);
    TFmMain& m_main;
};
