#pragma once
// The preview's decisions, apart from the engine: which address stands for
// the document and which for a file beside it, what may be loaded, where a
// clicked link goes, when a big document pauses the preview, when to
// refresh after typing, and where the caret's marker may go in the page.

#include <QString>
#include <QStringView>
#include <QUrl>

namespace preview {

// The document and the files beside it are served under this scheme, so a
// relative address in the page resolves against the document's folder.
inline constexpr char kScheme[] = "qn4preview";

// The address the document is shown at: its file's path, or its name in the
// fallback folder when it has no file yet.
QUrl documentUrl(const QString& path, const QString& name, const QString& fallbackFolder);
// The local file an address stands for (the scheme's or file:), else empty.
QString localFileOf(const QUrl& url);
// Whether the pane may hand a local file to the page: only the kinds a web
// page is made of (pages, style sheets, scripts, pictures, sounds, fonts),
// so a page's script cannot read the user's keys or settings through it.
bool mayServe(const QString& file);
// Addresses that never leave the machine: the pane's own, files, data.
bool isLocal(const QUrl& url);
// Whether a request may go out: local ones always, others when allowed.
bool mayLoad(const QUrl& url, bool allowExternal);
// The same document, whatever its query or fragment.
bool sameDocument(const QUrl& a, const QUrl& b);

enum class LinkTarget {
    InPage,   // an anchor in the document itself
    OpenTab,  // a local .htm/.html file, opened in the editor
    Shell,    // the user's browser (or the program the desktop has for it)
    Ignore,   // script addresses and anything else not worth handing out
};
LinkTarget classifyLink(const QUrl& link, const QUrl& document);

// Documents over this many bytes (as the UTF-8 handed to the engine) pause
// the preview.
inline constexpr qsizetype kPauseBytes = qsizetype(4) << 20;
bool overPauseSize(QStringView text);
// The same from the length alone where it decides (every character takes
// one to three bytes); -1 when only the text can tell.
int overPauseSizeByLength(qsizetype length);

// A refresh comes kQuietMs after the last change, and no later than
// kLongestMs after the first change not yet shown while the typing goes on.
inline constexpr int kQuietMs = 50;
inline constexpr int kLongestMs = 1000;
int refreshDelayMs(qint64 sinceFirstPendingMs);

// The offset of (line, column) in text whose lines end in '\n'.
qsizetype offsetOf(QStringView text, int line, int column);
// Where a marker element can stand for `caret`: the start of the tag,
// comment or script/style/title/textarea element the caret is in, or the
// caret itself; -1 where a marker would change the page (a frame set, or
// the head).
qsizetype markerPosition(QStringView text, qsizetype caret);
inline constexpr char kMarkerId[] = "qn4-caret";
QString withMarker(const QString& text, qsizetype position);

// The pane's lines.
QString blockedLine(int count);

} // namespace preview
