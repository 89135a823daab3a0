#include "optioner/tagoptiontable.h"

#include <iterator>
#include <string>

namespace {

// Descriptions shared by several rows.
constexpr const char* kTargetChoices =
    "[_self(ﾘﾝｸｽﾎﾟｯﾄと同じ),_top(ｳｨﾝﾄﾞｳ全体),任意の名前(新ｳｨﾝﾄﾞｳが開く)]";
constexpr const char* kHeadAlign = "表示位置設定[right(右寄せ),left(左寄せ),center(中央)]";
constexpr const char* kFramesetCols = "ウィンドウを左右に分割し、その割合を決める。例：COLS=(40%,60%)";
constexpr const char* kMetaInfo = "付加情報を書き込む設定にする[Epires,Keyword,Reply-to,Index Type]";
constexpr const char* kCellAlign = "セル内テキストの位置を設定[left,right]";
constexpr const char* kCellValign = "セル内のテキスト位置の設定[top,middle,bottom]";
constexpr const char* kCellBackground = "セルの背景イメージを指定";
constexpr const char* kCellBgcolor = "セルの背景色を設定";
constexpr const char* kCellBordercolor = "セルの枠線の色を設定";
constexpr const char* kCellBordercolorDark = "セルの枠線の暗い部分の色を設定";
constexpr const char* kCellWidth = "セルの横幅を設定";

constexpr TagOptionRow kApplet[] = {
    {"ALIGN", "JavaAppretの配置を決めます"},
    {"ALT", "APPLETを表示できない時の代わりのテキストを指定"},
    {"CODE", "実行するJavaｱﾌﾟﾚｯﾄのｸﾗｽﾌｧｲﾙ名を指定"},
    {"CODEBASE", "ｸﾗｽﾌｧｲﾙのある場所(URL)を指定"},
    {"HEIGHT", "APPLETの縦幅を指定する"},
    {"WIDTH", "APPLETの横幅を指定する"},
    {"NAME", "APPLETに名前をつける"},
    {"HSPACE", "APPLETの横方向のｽﾍﾟｰｽ"},
    {"VSPACE", "APPLETの縦方向のｽﾍﾟｰｽ"},
};
constexpr TagOptionRow kArea[] = {
    {"COORDS", "領域の座標を指定"},
    {"HREF", "ｼﾞｬﾝﾌﾟ先(URL等)の指定"},
    {"SHAPE", "領域の形を指定[rect(長方形),circle(円),polygon(多角形),Default(領域無し)"},
    {"TARGET", "ｼﾞｬﾝﾌﾟ先HTMLのどこを表示するか指定[_self(ﾘﾝｸｽﾎﾟｯﾄと同じ),_top(ｳｨﾝﾄﾞｳ全体),任意の名前(新ｳｨﾝﾄﾞｳが開く)]"},
};
constexpr TagOptionRow kA[] = {
    {"HREF", "ｼﾞｬﾝﾌﾟ先(URL等)の指定"},
    {"NAME", "ｱﾝｶｰ(ﾘﾝｸ先の目印)の名前を設定"},
    {"TARGET", "HTMLﾌｧｲﾙの表示先を指定[_self(ﾘﾝｸｽﾎﾟｯﾄと同じ),_top(ｳｨﾝﾄﾞｳ全体),任意の名前(新ｳｨﾝﾄﾞｳが開く)]"},
    {"TITLE", "ﾏｳｽをﾘﾝｸｽﾎﾟｯﾄに乗せた時、宣言内容を表示する"},
};
constexpr TagOptionRow kBasefont[] = {
    {"SIZE", "基準となるフォントサイズを指定"},
};
constexpr TagOptionRow kBase[] = {
    {"HREF", "相対URLの基準となるURLを指定"},
    {"TARGET", "HTMLﾌｧｲﾙの表示先をまとめて指定[_self(ﾘﾝｸｽﾎﾟｯﾄと同じ),_top(ｳｨﾝﾄﾞｳ全体),任意の名前(新ｳｨﾝﾄﾞｳが開く)]"},
};
constexpr TagOptionRow kBgsound[] = {
    {"SRC", "再生するサウンドファイルの指定"},
    {"LOOP", "再生回数の指定(無限：INFINITE)"},
};
constexpr TagOptionRow kBody[] = {
    {"ALINK", "クリックしたリンクの色を設定"},
    {"BACKGROUND", "背景イメージファイルの指定"},
    {"BGCOLOR", "背景色を設定"},
    {"BGPROPERTIES", "FIXEDを挿入すると背景イメージを固定できる"},
    {"LEFTMARGIN", "左側の余白を設定"},
    {"LINK", "リンクの色を設定"},
    {"TEXT", "文字の色を設定"},
    {"TOPMARGIN", "上側の余白を設定"},
    {"VLINK", "訪問済みリンクの色を設定"},
};
constexpr TagOptionRow kBr[] = {
    {"CLEAR", "回り込みの解除[all,left,right(一般的にはallを使う)]"},
};
constexpr TagOptionRow kCaption[] = {
    {"ALIGN", "タイトル配置[top,bottom,left,right]"},
    {"VALIGN", "タイトル配置[top,bottom]"},
};
constexpr TagOptionRow kColgroup[] = {
    {"ALIGN", "列グループ内のテキストの位置を設定"},
    {"SPAN", "グループにする列の数を指定"},
    {"WIDTH", "列の横幅を設定"},
};
constexpr TagOptionRow kCol[] = {
    {"ALIGN", "列内のテキストの位置を設定"},
    {"SPAN", "設定を当てはめる列の数を指定"},
    {"WIDTH", "列の横幅を設定"},
};
constexpr TagOptionRow kDiv[] = {
    {"ALIGN", "ブロックの配置を設定"},
    {"CLASS", "スタイルを呼び出す"},
    {"STYLE", "逐次でスタイル設定をする"},
};
constexpr TagOptionRow kEmbed[] = {
    {"ALIGN", "埋め込むデータの配置を決める"},
    {"HEIGHT", "埋め込むデータの縦幅を設定"},
    {"WIDTH", "埋め込むデータの横幅を設定"},
    {"HSPACE", "横方向のスペースを設定"},
    {"VSPACE", "縦方向のスペースを設定"},
    {"SRC", "埋め込むファイルの指定"},
};
constexpr TagOptionRow kFont[] = {
    {"COLOR", "色指定"},
    {"FACE", "テキストのフォントの設定"},
    {"POINT-SIZE", "フォントのサイズをポイントで指定"},
    {"SIZE", "フォントサイズを指定"},
};
constexpr TagOptionRow kForm[] = {
    {"ACTION", "送信先(CGI等)のURLを指定"},
    {"ENCTYPE", "送信するデータの形式を指定"},
    {"METHOD", "フォーム機能で情報を送信する時に必要となるオプション。一般的には\"POST\"を指定"},
};
constexpr TagOptionRow kFrameset[] = {
    {"BORDER", "フレームの境界線の太さを設定"},
    {"BORDERCOLOR", "フレームの境界線の色を設定"},
    {"COLS", kFramesetCols},
    {"FRAMEBORDER", "バーの表示に変化をつける。[yes(初期設定),no(ブラウザ設定)]"},
    {"COLS", kFramesetCols},
    {"FRAMSPACING", "フレームとフレームの間隔を設定"},
    {"ROWS", "ウィンドウを上下に分割し、その割合を決める。例：ROWS=(40%,60%)"},
};
constexpr TagOptionRow kFrame[] = {
    {"SRC", "フレーム部に表示するファイルを指定"},
    {"MARGINHEIGHT", "フレーム内の上下の余白を設定"},
    {"MARGINWIDTH", "フレーム内の左右の余白を設定"},
    {"NAME", "フレーム部に名前をつける"},
    {"SCROLLING", "スクロールバーの表示・非表示[yes(表示),no(非表示)]"},
};
constexpr TagOptionRow kHeading[] = {
    {"ALIGN", kHeadAlign},
};
constexpr TagOptionRow kHr[] = {
    {"ALIGN", kHeadAlign},
    {"COLOR", "線の色を設定"},
    {"SIZE", "線の太さを設定"},
    {"WIDTH", "線の長さを設定"},
};
constexpr TagOptionRow kImg[] = {
    {"ALIGN", "イメージ表示位置設定[top,right,left,center,bottom,texttop,absmiddle,baseline,absbottom]"},
    {"ALT", "イメージを表示できない時の代わりのテキストを指定"},
    {"BORDER", "イメージの枠線の太さを設定"},
    {"HEIGHT", "イメージの縦幅を設定"},
    {"WIDTH", "イメージの横幅を設定"},
    {"SRC", "表示するイメージファイルの指定"},
    {"VSPACE", "イメージの上下のスペースを設定"},
    {"HSPACE", "イメージの左右のスペースを設定"},
};
constexpr TagOptionRow kInput[] = {
    {"ALIGN", "表示させるイメージデータの配置を決める[left,right]"},
    {"BORDER", "イメージデータの枠線の太さを決める"},
    {"HEIGHT", "イメージデータの縦幅を決める"},
    {"WIDTH", "イメージデータの横幅を決める"},
    {"MAXLENGTH", "入力できる最大の文字数を決める"},
    {"NAME", "入力欄に名前をつける"},
    {"SRC", "イメージファイルを設定"},
    {"SIZE", "入力欄の幅を決める"},
    {"SRC", "イメージを表示させ、そのイメージ上でクリックした位置の情報(座標の数値)を送信する)"},
    {"TYPE", "入力タイプを設定する[text(文字列入力),password(パスワード入力),checkbox(箱型の選択肢),image(イメージの座標情報),radio(丸型の選択肢),reset(取り消しボタン),submit(送信ボタン)]"},
    {"VALUE", "初期値(ボタンに表示する文字)を設定"},
};
constexpr TagOptionRow kIsindex[] = {
    {"PROMPT", "入力欄の前に表示する文字列を設定"},
    {"ACTION", "検索を行うCGIのURLを指定"},
};
constexpr TagOptionRow kLayer[] = {
    {"ABOVE", "このレイヤーの上に重ねるレイヤーの名前を指定"},
    {"BELOW", "このレイヤーの下に重ねるレイヤーの名前を指定"},
    {"BACKGROUND", "レイヤーの背景イメージを指定"},
    {"BGCOLOR", "レイヤーの背景色を設定"},
    {"CLIP", "レイヤーの中で指定した範囲だけ表示。例：CLIP=\"x1,x2,y1,y2\")"},
    {"HEIGHT", "レイヤーの縦幅を設定"},
    {"LEFT", "レイヤーの左端の位置を設定"},
    {"NAME", "レイヤーに名前をつける"},
    {"SRC", "レイヤーに表示するファイルを指定"},
    {"TOP", "レイヤーの上端の位置を設定"},
    {"WIDTH", "レイヤーの横幅を設定"},
    {"VISIBLITY", "レイヤーの表示・非表示を設定"},
};
constexpr TagOptionRow kLi[] = {
    {"TYPE", "マークの形を設定する[disk(楕円),circle(円),square(四角)]<OL>使用時は[A,a,1,i,I]を使用する事より番号指定できる"},
    {"VALUE", "リストの番号を指定"},
};
constexpr TagOptionRow kMap[] = {
    {"NAME", "イメージマップに名前をつける"},
};
constexpr TagOptionRow kMarquee[] = {
    {"ALIGN", "マーキーと他の文字列との並び方の指定[top,middle,bottom]"},
    {"BEHAVIOR", "マーキー動き方を指定する[scroll,slide,alternate]"},
    {"BGCOLOR", "マーキーの背景色を設定"},
    {"DIRECTION", "マーキーの移動方向を設定[left,right]"},
    {"HEIGHT", "マーキーの縦幅を設定"},
    {"HSPACE", "マーキーの左右のスペースを設定"},
    {"LOOP", "マーキーの移動回数を設定[infinite(無限)]"},
    {"SCROLLAMOUNT", "マーキーの移動量を設定"},
    {"VSPACE", "マーキーの上下のスペースを設定"},
    {"WIDTH", "マーキーの横幅を設定"},
};
constexpr TagOptionRow kMeta[] = {
    {"CONTENT", "付加情報の内容を指定"},
    {"HTTP-EQUIV", kMetaInfo},
    {"NAME", kMetaInfo},
};
constexpr TagOptionRow kMulticol[] = {
    {"COLS", "段組の列の数を設定"},
    {"GUTTER", "列と列の間隔を設定"},
    {"WIDTH", "段組全体の横幅を設定"},
};
constexpr TagOptionRow kOl[] = {
    {"START", "リストの開始番号を指定"},
    {"TYPE", "リストのアルファベット、数字を変える[A,a,I,i,1]"},
};
constexpr TagOptionRow kOption[] = {
    {"VALUE", "選択肢を選んだ時に送信する値を設定"},
};
constexpr TagOptionRow kP[] = {
    {"ALIGN", "段落の配置を設定"},
};
constexpr TagOptionRow kScript[] = {
    {"LANGUAGE", "スクリプトの言語を指定"},
};
constexpr TagOptionRow kSelect[] = {
    {"NAME", "選択欄に名前をつける"},
    {"SIZE", "一度に表示する選択肢の数を設定"},
};
constexpr TagOptionRow kSpacer[] = {
    {"ALIGN", "スペースの位置を指定する[left,right,top,middle,bottom]"},
    {"HEIGHT", "スペースの縦幅を設定"},
    {"SIZE", "スペースの大きさを設定"},
    {"TYPE", "スペースの形を決める[horizontal,vertical]"},
    {"WIDTH", "スペースの横幅を設定"},
};
constexpr TagOptionRow kStyle[] = {
    {"STYLE", "[text/css]を指定"},
};
constexpr TagOptionRow kTable[] = {
    {"ALIGN", "表の位置を設定[left,right]"},
    {"BACKGROUND", "表の背景イメージを指定"},
    {"BGCOLOR", "表の背景色を設定"},
    {"BORDER", "表の枠線の太さを設定"},
    {"BORDERCOLOR", "表の枠線の色を設定"},
    {"BORDERCOLORDARK", "表の枠線の暗い部分の色を設定"},
    {"BORDERCOLORLIGHT", "表の枠線の明るい部分の色を設定"},
    {"CELLPADDING", "セル内の余白を設定"},
    {"CELLSPACING", "セルとセルの間隔を設定"},
    {"FRAME", "外枠の罫線を部分的に表示[above,below,box,hsides,ihs,rhs,void,vsides]"},
    {"HEIGHT", "表の縦幅を設定"},
    {"HSPACE", "表の左右のスペースを設定"},
    {"VSPACE", "表の上下のスペースを設定"},
    {"RULES", "内部のの罫線を部分的に表示[all,cols,groups,none,rows]"},
    {"WIDTH", "表の横幅を設定"},
};
constexpr TagOptionRow kCell[] = {   // TD and TH
    {"ALIGN", kCellAlign},
    {"BACKGROUND", kCellBackground},
    {"BGCOLOR", kCellBgcolor},
    {"BORDERCOLOR", kCellBordercolor},
    {"BORDERCOLORDARK", kCellBordercolorDark},
    {"BORDERCOLORLIGHT", "セルの枠線の明るい部分の色を設定"},
    {"COLSPAN", "横方向に結合するセルの数を指定"},
    {"HEIGHT", "セルの縦幅を設定"},
    {"ROWSPAN", "縦方向に結合するセルの数を指定"},
    {"VALIGN", kCellValign},
    {"WIDTH", kCellWidth},
};
constexpr TagOptionRow kTextarea[] = {
    {"NAME", "入力欄に名前をつける"},
    {"COLS", "入力欄の横の文字数を設定"},
    {"ROWS", "入力欄の行数を設定"},
    {"WRAP", "自動改行の設定[hard,physical,soft,virtual,off ]"},
    {"WIDTH", "入力欄の横幅を設定"},
};
constexpr TagOptionRow kTr[] = {
    {"ALIGN", kCellAlign},
    {"BACKGROUND", kCellBackground},
    {"BGCOLOR", kCellBgcolor},
    {"BORDERCOLOR", kCellBordercolor},
    {"BORDERCOLORDARK", kCellBordercolorDark},
    {"VALIGN", kCellValign},
    {"WIDTH", kCellWidth},
};
constexpr TagOptionRow kUl[] = {
    {"TYPE", "リストのマークの形を設定[disk(楕円),circle(円),square(四角)]"},
};

// The entries in lookup order.  A name must be followed by a blank or ">",
// so "<APPLET " never matches A and "<COLGROUP " never matches COL.
constexpr TagOptionEntry kTable46[] = {
    {"APPLET", kApplet},     {"AREA", kArea},         {"A", kA},
    {"BASEFONT", kBasefont}, {"BASE", kBase},         {"BGSOUND", kBgsound},
    {"BODY", kBody},         {"BR", kBr},             {"CAPTION", kCaption},
    {"COLGROUP", kColgroup}, {"COL", kCol},           {"DIV", kDiv},
    {"EMBED", kEmbed},       {"FONT", kFont},         {"FORM", kForm},
    {"FRAMESET", kFrameset}, {"FRAME", kFrame},       {"H1", kHeading},
    {"H2", kHeading},        {"H3", kHeading},        {"H4", kHeading},
    {"H5", kHeading},        {"H6", kHeading},        {"HR", kHr},
    {"IMG", kImg},           {"INPUT", kInput},       {"ISINDEX", kIsindex},
    {"LAYER", kLayer},       {"LI", kLi},             {"MAP", kMap},
    {"MARQUEE", kMarquee},   {"META", kMeta},         {"MULTICOL", kMulticol},
    {"OL", kOl},             {"OPTION", kOption},     {"P", kP},
    {"SCRIPT", kScript},     {"SELECT", kSelect},     {"SPACER", kSpacer},
    {"STYLE", kStyle},       {"TABLE", kTable},       {"TD", kCell},
    {"TH", kCell},           {"TEXTAREA", kTextarea}, {"TR", kTr},
    {"UL", kUl},
};
static_assert(std::size(kTable46) == 46);

char16_t asciiUpper(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

} // namespace

QString TagOptionEntry::caption() const
{
    return QLatin1Char('<') + QLatin1String(name) + QLatin1Char('>');
}

std::span<const TagOptionEntry> TagOptionTable()
{
    return kTable46;
}

bool tagOptionEntryMatches(const TagOptionEntry& entry, QStringView tagText)
{
    // The first len + 2 characters must read "<NAME " or "<NAME>".
    const qsizetype len = qsizetype(std::char_traits<char>::length(entry.name));
    if (tagText.size() < len + 2 || tagText[0] != u'<')
        return false;
    for (qsizetype i = 0; i < len; ++i)
        if (asciiUpper(tagText[i + 1].unicode()) != char16_t(entry.name[i]))
            return false;
    const QChar after = tagText[len + 1];
    return after == u' ' || after == u'>';
}

const TagOptionEntry* FindTagOptions(QStringView tagText)
{
    for (const TagOptionEntry& entry : kTable46)
        if (tagOptionEntryMatches(entry, tagText))
            return &entry;
    return nullptr;
}
