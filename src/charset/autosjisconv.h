#pragma once
// Conversion of JIS (ISO-2022-JP) and EUC-JP text to Shift_JIS, one line of
// bytes at a time.  Each line's encoding is guessed on its own; the shift
// state (two-byte mode, kana mode) belongs to the converter and carries over
// from one line to the next, so a JIS text whose escape opened two-byte mode
// on one line goes on in two-byte mode on the following lines.
//
// Qt Core only: the fuzz target links this file alone.

#include <QByteArray>
#include <cstddef>

class TAutoSjisConv {
public:
    enum class Encoding { Jis, EucJp, ShiftJis };

    // The encoding of a line.  Only the bytes before the first CR, LF, NUL
    // or Ctrl-Z are looked at; a line of bytes below 0x80 counts as JIS.
    static Encoding detect(const char* data, std::size_t size);

    // Converts one line (without its line break).  Shift_JIS lines come back
    // as they are; the result is never longer than the line.
    QByteArray ConvertToSjis(QByteArray line);

    // The same in place: converts data[0, size) and returns the new length.
    std::size_t convertInPlace(char* data, std::size_t size);

    // A whole text in place: every line (lines end at '\n') is converted as
    // convertInPlace would, first to last, and the results are packed to the
    // front of `data`, each with its '\n'.  Returns the new length.
    std::size_t convertLines(char* data, std::size_t size);

    // Whether the 64-byte AVX-512 walks may be used (they are used only when
    // the processor has them).  Off, every line takes the 16-byte SSE2 walk;
    // the results are the same either way.
    static void setWideVectors(bool on);
    static bool wideVectors();

    // Shift state, off at first; only escape sequences and SO / SI change it.
    bool twoByteMode = false;
    bool kanaMode = false;

    // The Shift_JIS code of the JIS X 0208 pair (j1, j2), lead byte in the
    // high 8 bits.
    static constexpr unsigned jisToSjis(unsigned j1, unsigned j2)
    {
        const int d = (int(j1) - 0x21) * 94 + (int(j2) - 0x21);
        int lead = d / 188 + 0x81;
        if (lead > 0x9F)
            lead += 0x40;
        int trail = d % 188 + 0x40;
        if (trail > 0x7E)
            trail += 1;
        return (unsigned(lead & 0xFF) << 8) | unsigned(trail & 0xFF);
    }

private:
    // Convert p[r, n) to p[w, ...), w <= r, and return the end of the output.
    std::size_t convertJis(unsigned char* p, std::size_t n, std::size_t r, std::size_t w);
    std::size_t convertEuc(unsigned char* p, std::size_t n, std::size_t r, std::size_t w);
    static Encoding detectNarrow(const unsigned char* p, std::size_t n);
};
