#include "builders/list/listbuilder.h"

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
