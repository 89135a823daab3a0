#pragma once
#include "app/tfmmain.h"

#include <QWidget>

class Prompts;

// The start-up splash: a 300 x 199 picture, borderless and on top.  Making
// it shows it, builds the main window behind an hourglass cursor, and starts
// the 2000 ms timer whose first tick destroys the splash.
class TFmTitle : public QWidget {
    Q_OBJECT
public:
    TFmTitle(Prompts& prompts, TFmMain::Options options);
    TFmMain* mainWindow() const { return m_main; }
    static QPixmap picture();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TFmMain* m_main = nullptr;
};
