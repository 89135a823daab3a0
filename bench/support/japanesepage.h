#pragma once
// The text of the codec benchmarks: a 32 MB page of hand-written HTML.
#include <QString>

#include <random>

namespace benchpage {

inline constexpr qsizetype kTargetSize = 32 * 1024 * 1024;

// A page of hand-written HTML: tags and attributes in ASCII, running text in
// kanji and kana with some half-width katakana, CR LF line ends.
inline const QString& japaneseSource()
{
    static const QString source = [] {
        const QString kanji = QStringLiteral(
            "日本語文章漢字表示作成編集保存開始終了設定画面選択入力出力情報管理機能"
            "会社案内製品紹介最新更新履歴連絡先問合住所電話番号地図写真一覧今月予定");
        const QString hira = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん");
        const QString kata = QStringLiteral("アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモ");
        const QString hankaku = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ");
        const QString punct = QStringLiteral("、。「」・（）！？①②～");
        const QString tags[] = {
            QStringLiteral("<P>"), QStringLiteral("</P>"), QStringLiteral("<BR>"),
            QStringLiteral("<FONT COLOR=\"#FF0000\">"), QStringLiteral("</FONT>"),
            QStringLiteral("<A HREF=\"index.html\">"), QStringLiteral("</A>"),
            QStringLiteral("<TD ALIGN=\"center\">"), QStringLiteral("<B>"), QStringLiteral("</B>"),
        };
        std::mt19937 rng(932);
        auto pick = [&](const QString& from) { return from[int(rng() % from.size())]; };

        QString line;
        QString text;
        text.reserve(kTargetSize);
        qsizetype approxBytes = 0;
        while (approxBytes < kTargetSize) {
            line.clear();
            line += tags[rng() % 10];
            const int words = 4 + int(rng() % 8);
            for (int w = 0; w < words; ++w) {
                const unsigned kind = rng() % 10;
                const int len = 1 + int(rng() % 5);
                for (int k = 0; k < len; ++k) {
                    if (kind < 4)
                        line += pick(kanji);
                    else if (kind < 7)
                        line += pick(hira);
                    else if (kind < 8)
                        line += pick(kata);
                    else if (kind < 9)
                        line += pick(hankaku);
                    else
                        line += pick(punct);
                }
                if (rng() % 4 == 0)
                    line += tags[rng() % 10];
            }
            line += tags[rng() % 10];
            text += line;
            text += u'\n';
            approxBytes += line.size() * 2;
        }
        return text;
    }();
    return source;
}

} // namespace benchpage
