#pragma once
// "ﾀｸﾞｵﾌﾟｼｮﾅｰ(T.O.)": an always-on-top tool window that names the tag under
// the caret and lists the options the tag accepts; a double-click, Enter or
// the popup item inserts the chosen option at the caret.

#include <QString>
#include <QTableWidget>
#include <QWidget>
#include <vector>

class EditorPort;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;

// The option list: reports mouse presses after it has moved its selection,
// and key presses before handling them.
class TagOptionList : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;

signals:
    void mousePressed(QMouseEvent* event);
    void keyPressed(QKeyEvent* event, bool* handled);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

class TFmTO : public QWidget {
    Q_OBJECT
public:
    // `launchers` are disabled while the window shows; `mainWindow` is its
    // parent, whose screen it is first centred on.
    TFmTO(EditorPort& editor, std::vector<QAction*> launchers, QWidget* mainWindow);

    QLabel* TagPanel = nullptr;
    TagOptionList* TagList = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* MoPaste = nullptr;

    // MTo, MTo2, ToolTo and FTO.
    void MToClick();
    // Runs at the end of every UpdateCaret, shown or not.
    void Refresh(const QString& caretTagText);

    void TagListDblClick();
    void TagListKeyDown(QKeyEvent* event, bool* handled);
    void TagListMouseDown(QMouseEvent* event);
    void PopupMenu1Popup();
    void MOPasteClick();
    void FormClose();

    const QString& ShownTagText() const { return m_shownTagText; }
    // Times the panel and list were rebuilt (the refresh is skipped when the
    // caret's tag has not changed).
    int rebuildCount() const { return m_rebuilds; }
    // Selected option name, or empty.
    QString selectedOption() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void insertOption(const QString& text);
    void setCommandsEnabled(bool on);

    EditorPort& m_editor;
    std::vector<QAction*> m_launchers;
    QString m_shownTagText;
    QString m_pasteText;            // what MoPaste inserts; empty for "(なし)"
    bool m_rebuildForced = false;   // closed since the last rebuild
    bool m_placed = false;
    int m_rebuilds = 0;
};
