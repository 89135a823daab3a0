#pragma once
// The logic of the file panel beside the documents: the file-type filter and
// its patterns, the listing of a folder through it, the tag offered for the
// selected file, what opening a file means for its type, and the line
// breaks of a duplicated HTML file.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

namespace filelist {

struct FilterEntry {
    QString name;       // as the filter list shows it
    QString patterns;   // ";"-separated wildcards
};
// The nine entries of the filter list, in order.
const std::vector<FilterEntry>& filterEntries();

// Wildcards separated by ";" ("*" any run, "?" one character), matched
// against the whole name without regard to letter case.  "*.*" matches
// every name, also one without a dot; empty pieces are ignored.
class NameFilter {
public:
    explicit NameFilter(const QString& patterns);
    bool matches(const QString& name) const;

private:
    bool m_all = false;
    std::vector<QString> m_patterns;   // lower-cased
};

// The names of the plain files (hidden ones left out) of `dir` that match,
// sorted without regard to letter case.
QStringList matchingFiles(const QString& dir, const NameFilter& filter);

// The extension with its dot, lower-cased ("" when none).
QString lowerExtension(const QString& fileName);

// The tag the panel offers for a file (by its bare name):
// `<IMG SRC="n" ALT="n">`, `<BGSOUND SRC="n" LOOP=INFINITE>` or `<A HREF="n"></A>`.
QString tagFor(const QString& fileName);
// ".htm" or ".html": the file may be duplicated.
bool isHtml(const QString& fileName);

enum class OpenAs { Image, Sound, Document };
OpenAs openAsFor(const QString& fileName);

// The text's lines, each ended by CR LF (CR LF, lone CR and lone LF all end
// a line; a last line without a break gets one).  Bytes are kept as they are.
QByteArray withCrLfLines(QByteArrayView text);

} // namespace filelist
