#include "custom/tagmenu.h"

#include <algorithm>

const std::array<TagEntry, kTagEntryCount> kTagEntries = {{
    {"<!-- -->", "コメントを入れる"},
    {"<!DOCTYPE HTML PUBLIC \"\">", "ドキュメントタイプを入れる"},
    {"<A HREF=\"\"></A>", "他のページにジャンプするリンク"},
    {"<ADDRESS></ADDRESS>", "文責となる情報を表記"},
    {"<APPLET></APPLET>", "JavaApplet を張り込む"},
    {"<AREA>", "クライアントサイドクリッカブルマップ"},
    {"<B></B>", "太字で表記"},
    {"<BASE HREF=\"\">", "基準ＵＲＬを設定する"},
    {"<BASEFONT SIZE=\"\"></FONT>", "基準フォントサイズを指定"},
    {"<BGSOUND SRC=\"\">", "サウンドファイルを再生"},
    {"<BIG></BIG>", "フォントサイズを大き目に表示"},
    {"<BLINK></BLINK>", "テキストを点滅させる"},
    {"<BLOCKQUOTE></BLOCKQUOTE>", "引用した文章を表示"},
    {"<BODY></BODY>", "本文を表示"},
    {"<BR>", "本文を改行させる"},
    {"<CAPTION></CAPTION>", "表のタイトルをつける"},
    {"<CENTER></CENTER>", "中央寄せする"},
    {"<CITE></CITE>", "テキストをイタリックで表示"},
    {"<CODE></CODE>", "テキストを等幅で表示"},
    {"<COL>", "表をグループ分けする"},
    {"<COLGROUP>", "表をグループ分けする"},
    {"<COMMENT></COMMENT>", "コメントなどを記述する"},
    {"<DFN></DFN>", "定義語句を表現（論理的指定）"},
    {"<DIR></DIR>", "リスト表示"},
    {"<DIV></DIV>", "配置設定をする"},
    {"<DD>", "インデント"},
    {"<DL></DL>", "リスト形式で表示する"},
    {"<DT>", "改行する"},
    {"<EM></EM>", "テキストをイタリックで表示"},
    {"<EMBED>", "プラグインデータ"},
    {"<FONT></FONT>", "文字設定"},
    {"<FONT SIZE=\"\"></FONT>", "文字サイズ設定"},
    {"<FONT COLOR=\"\"></FONT>", "文字色設定"},
    {"<FORM></FORM>", "入力フォーム領域を設定する"},
    {"<FRAME>", "表示フレームの設定"},
    {"<FRAMESET></FRAMESET>", "フレーム総合設定"},
    {"<H1></H1>", "見出し（最大サイズ）"},
    {"<H2></H2>", "見出し"},
    {"<H3></H3>", "見出し"},
    {"<H4></H4>", "見出し"},
    {"<H5></H5>", "見出し"},
    {"<H6></H6>", "見出し（最小サイズ）"},
    {"<HEAD></HEAD>", "ＨＴＭＬのドキュメント構造を表す"},
    {"<HR>", "水平線"},
    {"<HTML></HTML>", "ＨＴＭＬ文章宣言"},
    {"<I></I>", "イタリック文字の表示"},
    {"<IFRAME></IFRAME>", "フローティングフレーム"},
    {"<IMG>", "イメージデータ（ＣＧ）を張り込む"},
    {"<IMG SRC=\"\">", "イメージデータ（ＣＧ）を張り込む"},
    {"<INPUT></INPUT>", "フォーム領域の作成／表示"},
    {"<ISINDEX>", "キーワードを検索する"},
    {"<KBD></KBD>", "キーボード文字を表現する（論理的指定）"},
    {"<LAYER></LAYER>", "テキストを等幅で表示"},
    {"<LI>", "リストを作る"},
    {"<LISTING></LISTING>", "テキスト、改行をそのまま表示"},
    {"<LINK>", "スタイルシートの作成等に使用"},
    {"<MAP></MAP>", "クリッカブルマップの座標情報を示す"},
    {"<MARQUEE></MARQUEE>", "文字列をスクロールさせる"},
    {"<MENU></MENU>", "リストを作る"},
    {"<META>", "情報の設定"},
    {"<MULTICOL></MULTICOL>", "表の段組表示をする"},
    {"<NOBR></NOBR>", "改行禁止設定"},
    {"<NOEMBED></NOEMBED>", "<EMBED>未対応ブラウザへの設定"},
    {"<NOFRAME></NOFRAME>", "フレーム機能未対応ブラウザへの対策"},
    {"<NOSCRIPT></NOSCRIPT>", "スクリプト未対応ブラウザへの対策"},
    {"<OBJECT></OBJECT>", "ActiveＸコントロール"},
    {"<OL></OL>", "数字、アルファベットで始まるリスト"},
    {"<OPTION></OPTION>", "選択フォーム内選択肢"},
    {"<P>", "文章を改行する"},
    {"<P></P>", "文章を改行する"},
    {"<PARAM>", "JavaAppletのパラメータ設定"},
    {"<PLAINTEXT></PLAINTEXT>", "テキスト文章をそのまま表示する"},
    {"<PRE></PRE>", "テキスト文章をそのまま表示"},
    {"<S></S>", "取り消し線を引く"},
    {"<SAMP></SAMP>", "ディスプレイ文字を表示（論理的指定）"},
    {"<SCRIPT></SCRIPT>", "スクリプト言語を記述する"},
    {"<SELECT></SELECT>", "選択欄を作る"},
    {"<SMALL></SMALL>", "文字をより小さく表示する"},
    {"<SPACER>", "スペースを入れる"},
    {"<SPAN>", "スタイルをかける"},
    {"<STRIKE></STRIKE>", "取り消し線を引く"},
    {"<STRONG></STRONG>", "文字を強調する（論理的指定）"},
    {"<STYLE></STYLE>", "スタイルをかける"},
    {"<SUB></SUB>", "テキストを下付きで表示"},
    {"<SUP></SUP>", "テキストを上付きで表示"},
    {"<TABLE></TABLE>", "表作成"},
    {"<TD></TD>", "表内セルの作成"},
    {"<TH></TH>", "表内セルの作成（太字）"},
    {"<TEXTAREA></TEXTAREA>", "フォーム内文字入力領域の作成"},
    {"<THEAD></THEAD>", "表ヘッダ部を作る"},
    {"<TBODY></TBODY>", "表ボディ部を作る"},
    {"<TFOOT></TFOOT>", "表フッタ部を作る"},
    {"<TITLE></TITLE>", "タイトルを作成する"},
    {"<TR></TR>", "表内行の設定"},
    {"<TT></TT>", "等幅表示をする。"},
    {"<U></U>", "下線表示をする"},
    {"<UL></UL>", "標準リストを作る"},
    {"<VAR></VAR>", "変数表現（論理的表現）"},
    {"<WBR>", "改行禁止領域内改行指定"},
}};

QString tagEntryText(int entry)
{
    if (entry < 0 || entry >= kTagEntryCount)
        return {};
    return QString::fromUtf8(kTagEntries[size_t(entry)].tag);
}

QString tagEntryDescription(int entry)
{
    if (entry < 0 || entry >= kTagEntryCount)
        return {};
    return QString::fromUtf8(kTagEntries[size_t(entry)].description);
}

TagSlots slotsFromChecked(std::vector<int> checkedRows)
{
    TagSlots result;
    result.fill(kUnregistered);
    std::sort(checkedRows.begin(), checkedRows.end());
    checkedRows.erase(std::unique(checkedRows.begin(), checkedRows.end()), checkedRows.end());
    int next = 0;
    for (int row : checkedRows) {
        if (next == kTagSlotCount)
            break;
        if (row >= 0 && row < kTagEntryCount)
            result[size_t(next++)] = tagEntryText(row);
    }
    return result;
}
