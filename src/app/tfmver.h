#pragma once
#include <QDialog>

// The version window: white, blue, red, grey and yellow bold labels on black.
class TFmVer : public QDialog {
    Q_OBJECT
public:
    explicit TFmVer(QWidget* parent = nullptr);
};
