#pragma once
// A panel that shows one text: the tag a builder makes, a description, a
// state.  Screen readers read what it shows, not its name: the accessible
// name is the caption of its strip (if any) followed by the whole text, and
// every change of the text is announced.
//
// A panel that elides keeps to the width its window gives it: what does not
// fit is cut with "…" and the whole text stays in the tool tip and the
// accessible name.  A panel can also be a command (a colour panel opening
// its menu): it then takes the keyboard focus, and Space, Enter, the menu key
// or Shift+F10 — or a screen reader's press — run it.

#include <QLabel>

class TextPanel : public QLabel {
    Q_OBJECT
public:
    explicit TextPanel(const QString& objectName, QWidget* parent = nullptr,
                       const QString& text = QString());

    // The caption that leads the accessible name.
    void setCaption(const QString& caption);
    QString caption() const { return m_caption; }
    // What a screen reader reads: the caption, then the whole text.
    QString spokenText() const;

    // Qt::ElideNone (the default) asks for room for the whole text.
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const { return m_elide; }
    // The text as painted now (cut when the panel is too narrow).
    QString shownText() const;
    bool isElided() const { return shownText() != text(); }

    void setCommand(bool command);
    bool isCommand() const { return m_command; }
    // Runs the command, as a key or a screen reader does.
    void activate();

signals:
    void activated();

protected:
    QSize minimumSizeHint() const override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect textRect() const;

    QString m_caption;
    Qt::TextElideMode m_elide = Qt::ElideNone;
    bool m_command = false;
};

// The sunken, left-aligned, plain-text panel of the builders' strips and bars.
TextPanel* sunkenPanel(const QString& objectName, QWidget* parent = nullptr,
                       const QString& text = QString());
