#pragma once
// A header control whose sections are commands (the table builder's "列追加",
// "列削除", ...).  The mouse clicks them as on any header; the keyboard
// reaches them too — Tab brings the focus to the header, the arrow keys, Home
// and End move between sections and Space or Enter runs the current one —
// and screen readers see each section as a button with its caption that
// they can press.

#include <QHeaderView>

class CommandHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CommandHeader(QWidget* parent = nullptr);

    // The section the keyboard is on.
    int currentSection() const { return m_current; }
    void setCurrentSection(int logicalIndex);
    QString sectionCaption(int logicalIndex) const;
    // A section's place in the header's own coordinates.
    QRect sectionRect(int logicalIndex) const;
    // Runs a section's command as the keyboard does.
    void runSection(int logicalIndex);

signals:
    // A section run from the keyboard or by a screen reader.
    void sectionActivated(int logicalIndex);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    void announceCurrent();

    int m_current = 0;
};
