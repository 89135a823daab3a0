// The preview's decisions without the engine: addresses, the gate, links,
// the size that pauses it, refresh timing and the caret's marker.
#include "preview/previewrules.h"

#include <gtest/gtest.h>

using namespace preview;

TEST(PreviewRules, RelativeAddressesResolveToFilesBesideTheDocument)
{
    const QUrl doc = documentUrl(QStringLiteral("/home/u/site/page.htm"), {}, QStringLiteral("/tmp"));
    EXPECT_EQ(localFileOf(doc.resolved(QUrl(QStringLiteral("img/a b.png")))), QStringLiteral("/home/u/site/img/a b.png"));
    EXPECT_EQ(localFileOf(doc.resolved(QUrl(QStringLiteral("../style.css")))), QStringLiteral("/home/u/style.css"));
    // A document without a file counts from the file panel's folder.
    const QUrl unsaved = documentUrl({}, QStringLiteral("Page3"), QStringLiteral("/srv/www"));
    EXPECT_EQ(localFileOf(unsaved.resolved(QUrl(QStringLiteral("top.gif")))), QStringLiteral("/srv/www/top.gif"));
    EXPECT_FALSE(sameDocument(doc, unsaved));
    EXPECT_TRUE(sameDocument(doc, QUrl(doc.toString() + QStringLiteral("#part"))));
}

TEST(PreviewRules, OnlyLocalRequestsPassUnlessExternalIsAllowed)
{
    // A page's script may read what the pane serves: only a page's own kinds of file.
    for (const char* f : {"/d/a.HTM", "/d/s.css", "/d/p.JPG", "/d/m.mid", "/d/f.woff2"})
        EXPECT_TRUE(mayServe(QLatin1String(f))) << f;
    for (const char* f : {"/home/u/.ssh/id_rsa", "/home/u/.config/quillnest4/quillnest4.ini", "/etc/passwd",
                          "/d/notes.txt", "/d/.htm.bak"})
        EXPECT_FALSE(mayServe(QLatin1String(f))) << f;
    for (const char* local : {"qn4preview:/a/b.png", "file:///a/b.png", "file://localhost/a/b.png",
                              "data:image/png;base64,AAAA", "about:blank"})
        EXPECT_TRUE(mayLoad(QUrl(QLatin1String(local)), false)) << local;
    for (const char* remote : {"http://example.com/x.png", "https://example.com/x.css", "ftp://example.com/f",
                               "ws://example.com/", "file://server/share/x.png", "//example.com/x.png"}) {
        const QUrl url = QUrl(QStringLiteral("qn4preview:/d/p.htm")).resolved(QUrl(QLatin1String(remote)));
        EXPECT_FALSE(mayLoad(url, false)) << remote;
        EXPECT_TRUE(mayLoad(url, true)) << remote;
    }
}

TEST(PreviewRules, LinksGoToATabTheBrowserOrNowhere)
{
    const QUrl doc(QStringLiteral("qn4preview:/d/index.htm"));
    auto at = [&](const char* href) { return classifyLink(doc.resolved(QUrl(QLatin1String(href))), doc); };
    EXPECT_EQ(at("#top"), LinkTarget::InPage);
    EXPECT_EQ(at("other.htm"), LinkTarget::OpenTab);
    EXPECT_EQ(at("sub/OTHER.HTML#x"), LinkTarget::OpenTab);
    EXPECT_EQ(at("file:///d/x.html"), LinkTarget::OpenTab);
    EXPECT_EQ(at("photo.jpg"), LinkTarget::Shell);
    EXPECT_EQ(at("https://example.com/"), LinkTarget::Shell);
    EXPECT_EQ(at("mailto:a@example.com"), LinkTarget::Shell);
    EXPECT_EQ(at("javascript:alert(1)"), LinkTarget::Ignore);
    EXPECT_EQ(at("data:text/html,<b>x</b>"), LinkTarget::Ignore);
}

TEST(PreviewRules, PauseSizeCountsTheBytesHandedToTheEngine)
{
    EXPECT_FALSE(overPauseSize(QString(kPauseBytes, u'a')));
    EXPECT_TRUE(overPauseSize(QString(kPauseBytes + 1, u'a')));
    // Fewer characters than the limit, but three bytes each.
    EXPECT_TRUE(overPauseSize(QString(kPauseBytes / 3 + 1, QChar(0x65E5))));
    EXPECT_FALSE(overPauseSize(QString(kPauseBytes / 3, QChar(0x65E5))));
    EXPECT_EQ(overPauseSizeByLength(100), 0);
    EXPECT_EQ(overPauseSizeByLength(kPauseBytes + 1), 1);
    EXPECT_EQ(overPauseSizeByLength(kPauseBytes / 2), -1);
}

TEST(PreviewRules, RefreshComesSoonAfterTheLastChangeAndNeverWaitsLong)
{
    EXPECT_EQ(refreshDelayMs(0), kQuietMs);
    EXPECT_LE(kQuietMs, 300);
    EXPECT_EQ(refreshDelayMs(kLongestMs - 40), 40);
    EXPECT_EQ(refreshDelayMs(kLongestMs + 500), 0);
}

TEST(PreviewRules, MarkerStandsOutsideTagsCommentsAndScripts)
{
    const QString body = QStringLiteral("<html><body>\n<p>one <a href=\"a>b\">two</a>\n<script>x<y</script><!-- c -->end\n");
    const auto at = [&](const char* after) { return body.indexOf(QLatin1String(after)) + qsizetype(strlen(after)); };
    EXPECT_EQ(markerPosition(body, at("<p>on")), at("<p>on"));
    // Inside a tag (past a quoted '>'): the tag's start.
    EXPECT_EQ(markerPosition(body, at("<a href=\"a>b")), body.indexOf(QLatin1String("<a ")));
    EXPECT_EQ(markerPosition(body, at("<script>x<")), body.indexOf(QLatin1String("<script>")));
    EXPECT_EQ(markerPosition(body, at("<!-- ")), body.indexOf(QLatin1String("<!--")));
    EXPECT_EQ(markerPosition(body, at("-->en")), at("-->en"));
    // In the head or anywhere in a frame set, no marker.
    EXPECT_EQ(markerPosition(body, 3), -1);
    EXPECT_EQ(markerPosition(QStringLiteral("<html><frameset><frame src=a.htm></frameset>"), 40), -1);
    EXPECT_EQ(markerPosition(QStringLiteral("<head><title>t</title></head>text"), 31), 31);
    EXPECT_EQ(offsetOf(QStringLiteral("ab\ncde\nf"), 1, 2), 5);
    EXPECT_EQ(offsetOf(QStringLiteral("ab\ncde\nf"), 1, 99), 6);
    EXPECT_EQ(offsetOf(QStringLiteral("ab"), 5, 0), 2);
}
