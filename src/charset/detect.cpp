// Which encoding a file's bytes are in.  The rules and their order are in
// encodings.h; what "unmistakable" means is written beside each test below.
//
// Only a sample is examined: the first 4 KB for a declared charset, and up to
// 64 KB from the first byte that is not plain 7-bit text (over 0x7F, or the
// ESC of ISO-2022-JP).  Before that byte every encoding reads the same, so a
// big file costs a fast scan to it and one short look.

#include "charset/encodings.h"
#include "charset/encodingscore.h"
#include "charset/jis0208.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace charset {
namespace {

constexpr qsizetype kMetaWindow = 4 * 1024;
constexpr qsizetype kSampleSize = 64 * 1024;
constexpr uchar kEsc = 0x1B;

qsizetype firstSpecial(QByteArrayView bytes)
{
    const auto* const begin = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = begin + bytes.size();
    const uchar* p = begin;
#if defined(__SSE2__)
    const __m128i esc = _mm_set1_epi8(char(kEsc));
    while (end - p >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_or_si128(v, _mm_cmpeq_epi8(v, esc))));
        if (mask)
            return p - begin + std::countr_zero(mask);
        p += 16;
    }
#endif
    for (; p < end; ++p)
        if (*p >= 0x80 || *p == kEsc)
            return p - begin;
    return -1;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool startsWithNoCase(QByteArrayView s, qsizetype at, QByteArrayView what)
{
    if (s.size() - at < what.size())
        return false;
    for (qsizetype i = 0; i < what.size(); ++i)
        if (lower(s[at + i]) != what[i])
            return false;
    return true;
}

std::optional<Encoding> encodingOfLabel(QByteArrayView label)
{
    const QByteArray l = label.toByteArray().toLower();
    static const struct { const char* name; Encoding e; } kLabels[] = {
        {"utf-8", Encoding::Utf8}, {"utf8", Encoding::Utf8},
        {"unicode-1-1-utf-8", Encoding::Utf8},
        {"shift_jis", Encoding::ShiftJis}, {"shift-jis", Encoding::ShiftJis},
        {"sjis", Encoding::ShiftJis}, {"x-sjis", Encoding::ShiftJis},
        {"windows-31j", Encoding::ShiftJis}, {"cp932", Encoding::ShiftJis},
        {"ms932", Encoding::ShiftJis}, {"ms_kanji", Encoding::ShiftJis},
        {"csshiftjis", Encoding::ShiftJis}, {"x-ms-cp932", Encoding::ShiftJis},
        {"euc-jp", Encoding::EucJp}, {"eucjp", Encoding::EucJp}, {"x-euc-jp", Encoding::EucJp},
        {"cseucpkdfmtjapanese", Encoding::EucJp},
        {"iso-2022-jp", Encoding::Iso2022Jp}, {"csiso2022jp", Encoding::Iso2022Jp},
        {"iso2022jp", Encoding::Iso2022Jp}, {"jis", Encoding::Iso2022Jp},
    };
    for (const auto& k : kLabels)
        if (l == k.name)
            return k.e;
    return std::nullopt;
}

} // namespace

std::optional<std::pair<qsizetype, qsizetype>> declaredCharsetLabel(QByteArrayView bytes)
{
    const QByteArrayView w = bytes.first(std::min(bytes.size(), kMetaWindow));
    for (qsizetype at = 0; (at = w.indexOf('<', at)) >= 0; ++at) {
        if (!startsWithNoCase(w, at, "<meta"))
            continue;
        qsizetype close = w.indexOf('>', at);
        if (close < 0)
            close = w.size();
        for (qsizetype i = at + 5; i + 7 <= close; ++i) {
            if (!startsWithNoCase(w, i, "charset"))
                continue;
            qsizetype j = i + 7;
            while (j < close && (w[j] == ' ' || w[j] == '\t' || w[j] == '\r' || w[j] == '\n'))
                ++j;
            if (j >= close || w[j] != '=')
                continue;
            ++j;
            while (j < close && (w[j] == ' ' || w[j] == '\t' || w[j] == '"' || w[j] == '\''))
                ++j;
            qsizetype k = j;
            while (k < close
                   && ((w[k] >= 'a' && w[k] <= 'z') || (w[k] >= 'A' && w[k] <= 'Z')
                       || (w[k] >= '0' && w[k] <= '9') || w[k] == '-' || w[k] == '_'
                       || w[k] == '.' || w[k] == ':'))
                ++k;
            if (k > j)
                return std::pair{j, k - j};
        }
    }
    return std::nullopt;
}

namespace {

// The charset of the first <meta> in the window that declares one, either
// as <meta charset=...> or in http-equiv's content="...; charset=...".
std::optional<Encoding> declaredEncoding(QByteArrayView bytes)
{
    if (const auto label = declaredCharsetLabel(bytes))
        return encodingOfLabel(bytes.sliced(label->first, label->second));
    return std::nullopt;
}

bool hasHighByte(QByteArrayView s)
{
    for (const char c : s)
        if (uchar(c) >= 0x80)
            return true;
    return false;
}

// Valid code page 932: every byte over 0x7F reads as part of a character
// (a lead byte cut off by the sample's end excepted).
bool isValidShiftJis(QByteArrayView s, bool cut)
{
    const QString text = sjis::decode(s);
    const char16_t* c = QStringView(text).utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i)
        if (sjis::isRawByte(c[i]) && !(cut && i == n - 1))
            return false;
    return true;
}

struct EucReading {
    bool valid = true;     // every byte over 0x7F in a mapped sequence
    bool proseRows = false; // a pair in rows 1-5 (punctuation, kana)
};

EucReading readEucJp(QByteArrayView s, bool cut)
{
    EucReading r;
    const auto* p = reinterpret_cast<const uchar*>(s.data());
    const auto* const end = p + s.size();
    auto gr = [](uchar b) { return b >= 0xA1 && b <= 0xFE; };
    while (p < end) {
        const uchar b = *p;
        const qsizetype left = end - p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        if (!cut && left < (b == 0x8F ? 3 : 2)) {
            r.valid = false; // a sequence cut short by the file's own end
            break;
        }
        if (b == 0x8E) {
            if (left >= 2 && !(p[1] >= 0xA1 && p[1] <= 0xDF))
                r.valid = false;
            p += 2;
        } else if (b == 0x8F) {
            if ((left >= 2 && !gr(p[1])) || (left >= 3 && !gr(p[2])))
                r.valid = false;
            p += 3;
        } else if (gr(b)) {
            if (left >= 2) {
                if (!gr(p[1]) || !detail::jisToChar(b - 0x80, p[1] - 0x80))
                    r.valid = false;
                if (b <= 0xA5)
                    r.proseRows = true;
            }
            p += 2;
        } else {
            r.valid = false;
            ++p;
        }
        if (!r.valid)
            break;
    }
    return r;
}

bool hasIsoEscape(QByteArrayView s)
{
    for (qsizetype at = 0; (at = s.indexOf(char(kEsc), at)) >= 0; ++at) {
        if (s.size() - at >= 3
            && ((s[at + 1] == '$' && (s[at + 2] == 'B' || s[at + 2] == '@'))
                || (s[at + 1] == '(' && (s[at + 2] == 'B' || s[at + 2] == 'J'))))
            return true;
    }
    return false;
}

bool validIn(Encoding e, QByteArrayView sample, bool cut)
{
    switch (e) {
    case Encoding::Utf8:
    case Encoding::Utf8Bom: return detail::isValidUtf8(sample, cut);
    case Encoding::ShiftJis: return isValidShiftJis(sample, cut);
    case Encoding::EucJp: return readEucJp(sample, cut).valid;
    case Encoding::Iso2022Jp: return !hasHighByte(sample);
    }
    return false;
}

} // namespace

Encoding detectEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8Bom;

    const qsizetype start = firstSpecial(bytes);
    const QByteArrayView sample = start < 0
        ? QByteArrayView()
        : bytes.sliced(start, std::min(kSampleSize, bytes.size() - start));
    const bool cut = start >= 0 && start + sample.size() < bytes.size();

    if (const std::optional<Encoding> declared = declaredEncoding(bytes))
        if (validIn(*declared, sample, cut))
            return *declared;

    const bool high = hasHighByte(sample);
    if (high && detail::isValidUtf8(sample, cut))
        return Encoding::Utf8;
    // ISO-2022-JP: a designation escape and nothing over 0x7F.
    if (!high && hasIsoEscape(sample))
        return Encoding::Iso2022Jp;
    // EUC-JP, unmistakably: every byte over 0x7F in a mapped EUC-JP
    // sequence, and the Shift_JIS reading implausible: either not valid
    // code page 932 at all, or valid only as half-width katakana and
    // kanji while the EUC-JP reading holds punctuation or kana (rows 1-5),
    // which Japanese prose never lacks.  (EUC-JP has no byte 0x81-0x9F
    // other than its two prefixes, where Shift_JIS keeps its punctuation,
    // kana and commonest kanji.)
    if (high) {
        const EucReading euc = readEucJp(sample, cut);
        if (euc.valid && (euc.proseRows || !isValidShiftJis(sample, cut)))
            return Encoding::EucJp;
    }
    return Encoding::ShiftJis;
}

} // namespace charset
