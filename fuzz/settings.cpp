// Fuzzes the settings file reader: any bytes must read without a crash, and
// what is written from them must read back to the same file again (the
// writer's output is a fixed point of read-then-write).
#include "app/settings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Settings s = parseSettings(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    // Whatever was read can be written back: no value needs the old one.
    QStringList kept;
    const QByteArray once = formatSettings(s, {}, &kept);
    const QByteArray twice = formatSettings(parseSettings(once));
    if (once != twice || !kept.isEmpty())
        abort();
    (void)settingsColor(s.color);
    (void)settingsColor(s.bkColor);
    return 0;
}
