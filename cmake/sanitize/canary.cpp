// Commits one fault of each kind the sanitizer run is for; its checks pass
// only when the sanitizers catch the fault and stop the program (so a build
// without them, or one that goes on after an error, fails).
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void* volatile g_kept = nullptr;

[[gnu::noinline]] void leak()
{
    g_kept = std::malloc(64);
    g_kept = nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    const char* what = argc > 1 ? argv[1] : "";
    volatile int past = 8;   // the compiler does not know it
    if (std::strcmp(what, "heap") == 0) {
        auto* bytes = static_cast<char*>(std::malloc(past));
        bytes[past] = 1;
        std::printf("%d\n", bytes[0]);
        std::free(bytes);
    } else if (std::strcmp(what, "signed") == 0) {
        volatile int big = INT_MAX;
        std::printf("%d\n", big + past);
    } else if (std::strcmp(what, "leak") == 0) {
        leak();
    }
    std::puts("survived");
    return 0;
}
