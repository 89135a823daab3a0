#include "builders/list/listbuilder.h"

#include <algorithm>

ListTexts listTexts(ListKind kind, const QString& type, const QString& start)
{
    switch (kind) {
    case ListKind::Numbered:
        return {QStringLiteral("<OL Type=") + type + QStringLiteral(" Start=") + start + QLatin1Char('>'),
                QStringLiteral("</OL>"), {}};
    case ListKind::Definition:
        return {QStringLiteral("<DL>"), QStringLiteral("</DL>"), QStringLiteral("  <DD>定義された項目")};
    case ListKind::Plain:
    default:
        return {QStringLiteral("<UL>"), QStringLiteral("</UL>"), {}};
    }
}

QString listHtml(ListKind kind, const QString& type, const QString& start, const QStringList& items)
{
    const ListTexts texts = listTexts(kind, type, start);
    const bool definition = kind == ListKind::Definition;
    const QLatin1String lineBreak("\r\n");
    const QLatin1String prefix(definition ? "  <DT>" : "  <LI>");

    qsizetype size = texts.opening.size() + texts.closing.size() + 4;
    const qsizetype perItem = prefix.size() + 2 + (definition ? texts.definition.size() + 2 : 0);
    for (const QString& item : items)
        size += item.size() + perItem;

    QString out;
    out.reserve(size);
    out += texts.opening;
    out += lineBreak;
    for (const QString& item : items) {
        out += prefix;
        out += item;
        out += lineBreak;
        if (definition) {
            out += texts.definition;
            out += lineBreak;
        }
    }
    out += texts.closing;
    out += lineBreak;
    return out;
}

QString listItemTag(ListKind kind, const QString* selectedItem)
{
    QString caption = kind == ListKind::Definition ? QStringLiteral("<DT>") : QStringLiteral("<LI>");
    if (selectedItem)
        caption += *selectedItem;
    return caption;
}

void joinLines(QString& text, int* pos)
{
    const auto isBreak = [](QChar c) {
        return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    if (std::none_of(text.cbegin(), text.cend(), isBreak))
        return;
    const qsizetype n = text.size();
    const qsizetype oldPos = pos ? *pos : -1;
    QString out;
    out.reserve(n);
    qsizetype newPos = -1;   // -1: at the end
    for (qsizetype i = 0; i < n; ++i) {
        if (i == oldPos)
            newPos = out.size();
        const QChar c = text[i];
        if (!isBreak(c)) {
            out += c;
            continue;
        }
        out += u' ';
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            ++i;
            if (i == oldPos)   // between CR and LF
                newPos = out.size();
        }
    }
    if (pos)
        *pos = int(newPos < 0 ? out.size() : newPos);
    text = out;
}
