#pragma once
#include "app/tfmmain.h"

#include <QPixmap>
#include <QWidget>

#include <memory>

class Prompts;

// The start-up splash: a 300 x 199 picture, borderless and on top.  Making
// it shows it, builds the main window behind an hourglass cursor, and starts
// the 2000 ms timer whose first tick destroys the splash.
class TFmTitle : public QWidget {
    Q_OBJECT
public:
    TFmTitle(Prompts& prompts, TFmMain::Options options);
    // The main window it built, handed to the caller, who owns it.
    std::unique_ptr<TFmMain> takeMainWindow() { return std::move(m_main); }
    static QPixmap picture();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::unique_ptr<TFmMain> m_main;
    QPixmap m_picture;
};
