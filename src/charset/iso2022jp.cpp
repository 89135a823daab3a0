// Lossless ISO-2022-JP.
//
// Writing follows fixed rules, a small state machine:
//  - a JIS X 0208 character outside the two-byte set is preceded by the
//    kanji escape (ESC $ B unless the text chose ESC $ @, see below);
//  - an ASCII character (line breaks included) after two-byte text is
//    preceded by the return escape (ESC ( B unless the text chose ESC ( J);
//    in JIS X 0201 Roman only '\' and '~' differ from ASCII and need ESC ( B;
//  - YEN SIGN and OVERLINE are written in JIS X 0201 Roman (ESC ( J), and
//    ASCII after them returns with ESC ( B;
//  - the text ends in a one-byte set (the return escape if need be).
// Reading runs the same machine.  An escape the rules would have written
// just there reads as nothing; any other known escape is kept as stand-ins
// (rawByte7Char) that write it again and that teach the writer: a kept
// ESC $ @ or ESC ( J makes it the kanji or return escape from there on, so a
// file that uses them throughout shows them kept only once.  Unknown
// escapes keep their ESC, bytes over 0x7F and two-byte codes that are not
// characters are kept too.  A two-byte segment that is never closed keeps
// its opening escape, so that no close is added on saving.
//
// So decode, then encode, gives the bytes back; decodeIso2022Jp() checks it
// and falls back to stand-ins for every byte should it ever not hold.

#include "charset/encodingscore.h"
#include "charset/jis0208.h"

#include <cstring>

namespace charset {
namespace {

constexpr uchar kEsc = 0x1B;

enum class Mode : uint8_t { Ascii, Roman, Kanji };

struct State {
    Mode mode = Mode::Ascii;
    char kanjiFinal = 'B';  // ESC $ kanjiFinal enters two-byte text
    char returnFinal = 'B'; // ESC ( returnFinal leaves it
    bool openedByRule = false; // the set was entered by the rules for a character
};

// The four escapes: ESC ( B, ESC ( J, ESC $ B, ESC $ @.
bool isKnownEscape(uchar i, uchar f)
{
    return (i == '(' && (f == 'B' || f == 'J')) || (i == '$' && (f == 'B' || f == '@'));
}

// A kept escape: the set it designates, and the writer learns it.
void applyKeptEscape(State& st, uchar i, uchar f)
{
    if (i == '$') {
        st.mode = Mode::Kanji;
        st.kanjiFinal = char(f);
        st.openedByRule = false;
    } else {
        st.mode = f == 'B' ? Mode::Ascii : Mode::Roman;
        st.returnFinal = char(f);
        st.openedByRule = false;
    }
}

// Up to two escapes and a two-byte character.
struct Bytes {
    uchar b[8];
    int n = 0;
    void add(uchar x) { b[n++] = x; }
    void escape(uchar i, uchar f)
    {
        add(kEsc);
        add(i);
        add(f);
    }
};

// The rules: the bytes for character c in state st (st follows).  False
// when ISO-2022-JP cannot hold c.
bool writeChar(State& st, char16_t c, Bytes& out)
{
    if (c < 0x80) {
        if (c == kEsc)
            return false;
        if (st.mode == Mode::Kanji) {
            out.escape('(', uchar(st.returnFinal));
            st.mode = st.returnFinal == 'B' ? Mode::Ascii : Mode::Roman;
            st.openedByRule = false;
        }
        if (st.mode == Mode::Roman && (st.openedByRule || c == '\\' || c == '~')) {
            out.escape('(', 'B');
            st.mode = Mode::Ascii;
        }
        out.add(uchar(c));
        return true;
    }
    if (c == 0x00A5 || c == 0x203E) {
        if (st.mode != Mode::Roman) {
            out.escape('(', 'J');
            st.mode = Mode::Roman;
            st.openedByRule = true;
        }
        out.add(c == 0x00A5 ? '\\' : '~');
        return true;
    }
    const uint16_t jis = detail::charToJis(c);
    if (!jis)
        return false;
    if (st.mode != Mode::Kanji) {
        out.escape('$', uchar(st.kanjiFinal));
        st.mode = Mode::Kanji;
        st.openedByRule = true;
    }
    out.add(uchar(jis >> 8));
    out.add(uchar(jis));
    return true;
}

// The character the bytes at p read as in `mode` (no escape there), with
// its length; 0 when they read as none.
char16_t readChar(Mode mode, const uchar* p, const uchar* end, int* len)
{
    const uchar b = *p;
    if (b == kEsc || b >= 0x80)
        return 0;
    if (mode == Mode::Kanji) {
        if (b < 0x21 || b > 0x7E || end - p < 2 || p[1] < 0x21 || p[1] > 0x7E)
            return 0;
        *len = 2;
        return detail::jisToChar(b, p[1]);
    }
    *len = 1;
    if (mode == Mode::Roman && (b == '\\' || b == '~'))
        return b == '\\' ? char16_t(0x00A5) : char16_t(0x203E);
    return b;
}

// One reading.  `keep` is the position of an escape to keep whatever the
// rules say (or -1); *lastRuleOpen receives where the last two-byte segment
// opened by the rules began, *closed whether the text ends as the rules
// end it.
QString decodeWith(QByteArrayView bytes, qsizetype keep, qsizetype* lastRuleOpen, bool* closed)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto* const out = reinterpret_cast<char16_t*>(text.data());
    char16_t* o = out;
    const auto* const begin = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = begin + bytes.size();
    const uchar* p = begin;
    State st;
    *lastRuleOpen = -1;

    auto matches = [&](const Bytes& w, const uchar* at) {
        return end - at >= w.n && std::memcmp(w.b, at, size_t(w.n)) == 0;
    };

    while (p < end) {
        const uchar b = *p;
        if (b == kEsc) {
            if (end - p < 3 || !isKnownEscape(p[1], p[2])) {
                *o++ = rawByte7Char(kEsc);
                ++p;
                continue;
            }
            if (p - begin != keep) {
                // Would the rules have written this escape here?
                State designated = st;
                applyKeptEscape(designated, p[1], p[2]);
                if (p + 3 == end) {
                    if (st.mode == Mode::Kanji && st.openedByRule && p[1] == '('
                        && p[2] == uchar(st.returnFinal)) {
                        st.mode = designated.mode;
                        p = end;
                        break;
                    }
                } else {
                    int len = 0;
                    const char16_t c = readChar(designated.mode, p + 3, end, &len);
                    State next = st;
                    Bytes w;
                    if (c && writeChar(next, c, w) && w.n == 3 + len && matches(w, p)) {
                        if (next.mode == Mode::Kanji && st.mode != Mode::Kanji)
                            *lastRuleOpen = p - begin;
                        st = next;
                        *o++ = c;
                        p += w.n;
                        continue;
                    }
                }
            }
            o[0] = rawByte7Char(kEsc);
            o[1] = rawByte7Char(p[1]);
            o[2] = rawByte7Char(p[2]);
            o += 3;
            applyKeptEscape(st, p[1], p[2]);
            p += 3;
            continue;
        }
        int len = 0;
        const char16_t c = readChar(st.mode, p, end, &len);
        if (c) {
            State next = st;
            Bytes w;
            if (writeChar(next, c, w) && w.n == len && matches(w, p)) {
                st = next;
                *o++ = c;
                p += len;
                continue;
            }
        }
        if (b >= 0x80) {
            *o++ = sjis::rawByteChar(b);
            ++p;
        } else if (st.mode == Mode::Kanji && b >= 0x21 && b <= 0x7E && end - p >= 2
                   && p[1] >= 0x21 && p[1] <= 0x7E) {
            o[0] = rawByte7Char(b);
            o[1] = rawByte7Char(p[1]);
            o += 2;
            p += 2;
        } else {
            *o++ = rawByte7Char(b);
            ++p;
        }
    }
    *closed = !(st.mode == Mode::Kanji && st.openedByRule);
    text.resize(o - out);
    return text;
}

QString allRaw(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    auto* o = reinterpret_cast<char16_t*>(text.data());
    for (const char ch : bytes) {
        const uchar b = uchar(ch);
        *o++ = b >= 0x80 ? sjis::rawByteChar(b) : rawByte7Char(b);
    }
    return text;
}

} // namespace

namespace detail {

QString decodeIso2022JpUnchecked(QByteArrayView bytes)
{
    qsizetype lastRuleOpen = -1;
    bool closed = true;
    QString text = decodeWith(bytes, -1, &lastRuleOpen, &closed);
    if (!closed) {
        // The last segment the rules opened is never closed: keep its
        // escape, so that saving adds no close either.
        text = decodeWith(bytes, lastRuleOpen, &lastRuleOpen, &closed);
    }
    return text;
}

QString decodeIso2022Jp(QByteArrayView bytes)
{
    QString text = decodeIso2022JpUnchecked(bytes);
    const std::optional<QByteArray> back = encodeIso2022Jp(text, Breaks{}, nullptr);
    if (!back || *back != bytes)
        return allRaw(bytes);
    return text;
}

std::optional<QByteArray> encodeIso2022Jp(QStringView text, const Breaks& breaks,
                                          EncodeError* error)
{
    const qsizetype size = text.size();
    QByteArray result;
    result.reserve(size * 2 + 16);
    const char16_t* const s = text.utf16();
    State st;
    size_t line = 0;
    auto put = [&](const Bytes& w) { result.append(reinterpret_cast<const char*>(w.b), w.n); };

    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = s[i];
        if (sjis::isRawByte(c)) {
            result.append(char(c - sjis::kRawByteBase));
            continue;
        }
        if (isRawByte7(c)) {
            const uchar b = uchar(c - 0xF700);
            result.append(char(b));
            // A kept escape: written as it stands, and it sets the state.
            if (b == kEsc && i + 2 < size && isRawByte7(s[i + 1]) && isRawByte7(s[i + 2])) {
                const uchar in = uchar(s[i + 1] - 0xF700);
                const uchar fin = uchar(s[i + 2] - 0xF700);
                if (isKnownEscape(in, fin)) {
                    result.append(char(in));
                    result.append(char(fin));
                    applyKeptEscape(st, in, fin);
                    i += 2;
                }
            }
            continue;
        }
        Bytes w;
        if (breaks.translate && (c == u'\n' || c == 0x2029)) {
            const LineBreak lb = breaks.at(line++);
            if (lb != LineBreak::Lf)
                writeChar(st, u'\r', w);
            if (lb != LineBreak::Cr)
                writeChar(st, u'\n', w);
            put(w);
            continue;
        }
        if (!writeChar(st, c, w)) {
            locateError(text, i, error);
            return std::nullopt;
        }
        put(w);
    }
    if (st.mode == Mode::Kanji && st.openedByRule) {
        Bytes w;
        w.escape('(', uchar(st.returnFinal));
        put(w);
    }
    return result;
}

} // namespace detail
} // namespace charset
