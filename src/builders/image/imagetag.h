#pragma once
// The image builder's values for the run: the current picture, its natural
// size, the display size (WIDTH, HEIGHT) and the details (BORDER, ALIGN,
// VSPACE, HSPACE, ALT), each "(なし)" or a value, and the <IMG> tags made
// from them.  Nothing is escaped: values go into the tag as typed.

#include <QSize>
#include <QString>
#include <array>
#include <optional>

class ImageTag {
public:
    enum SizeValue { Width, Height };
    // In the order of the detail dialog's confirm step.
    enum Detail { Border, Align, Alt, VSpace, HSpace };
    static constexpr int kDetailCount = 5;

    ImageTag();

    // A picture was read from `path`: it becomes the image file, its size the
    // natural size, and the display size returns to "(なし)".  The details
    // stay.
    void pictureLoaded(const QString& path, QSize natural);
    // Empties the image file (the window opened from its own command).
    void clearImageFile() { m_imageFile.clear(); }

    const QString& imageFile() const { return m_imageFile; }
    QString fileName() const;                 // without the folder
    QSize naturalSize() const { return m_natural; }
    // The natural width and height as the size dialog shows them (empty
    // until a picture has been read).
    QString naturalWidthText() const;
    QString naturalHeightText() const;

    const QString& size(SizeValue v) const { return m_size[v]; }
    const QString& detail(Detail d) const { return m_details[d]; }

    // ` <IMG SRC="name">`
    QString shortTag() const;
    // ` <IMG SRC="name"` + WIDTH HEIGHT BORDER ALIGN VSPACE HSPACE ALT + `>`
    QString fullTag() const;

    // The size dialog's confirm step: WIDTH and HEIGHT, each "(なし)" or a
    // whole number.  Returns the first entry that is not a whole number, and
    // then stores nothing; otherwise stores both.
    std::optional<QString> confirmSize(const QString& width, const QString& height);
    // The detail dialog's confirm step: BORDER, ALIGN, ALT, VSPACE, HSPACE
    // (BORDER, VSPACE and HSPACE whole numbers).  Returns the first entry
    // refused, and then stores nothing; otherwise stores all five.
    std::optional<QString> confirmDetails(const std::array<QString, kDetailCount>& entries);

    // The empty tag the window shows with no picture.
    static QString emptyTag() { return QStringLiteral("<IMG SRC=\"\">"); }

private:
    QString m_imageFile;
    QSize m_natural;
    bool m_hasNatural = false;
    std::array<QString, 2> m_size;
    std::array<QString, kDetailCount> m_details;
};
